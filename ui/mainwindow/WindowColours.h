#pragma once

#include <QColor>

class QWidget;

namespace quarmel {

// The colour rules of the window's own colours, so that what it sets reads under any palette.

// The relative luminance of a colour (0 black to 1 white), and the contrast of two colours as
// the ratio of their luminances each plus 0.05 (1 for equal ones up to 21 for black on white).
double RelativeLuminance(const QColor& colour);
double ContrastRatio(const QColor& a, const QColor& b);

// The text colour `wanted` when it has at least `minimum` contrast with `background`; otherwise
// the first shade of it on the way to white or black (whichever contrasts more with the
// background) that has.
QColor ReadableOn(const QColor& wanted, const QColor& background, double minimum = 4.5);

// Gives a field (an edit) its own light background and the text colours that go with it:
// black, and a grey that reads as disabled.
void SetLightFieldColours(QWidget* field, const QColor& background);

}  // namespace quarmel
