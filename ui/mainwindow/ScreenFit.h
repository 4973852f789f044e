#pragma once

#include <QSize>

class QWidget;

namespace quarmel {

// Gives a top-level window the size it wants, or less where the screen it opens on has less room
// (a large scale factor on a small screen), title bar included, and centres it on that screen.
void FitToScreen(QWidget* window, QSize wanted);

}  // namespace quarmel
