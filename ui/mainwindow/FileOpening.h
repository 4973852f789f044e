#pragma once

#include <functional>
#include <string>

class QAction;
class QMenu;
class QWidget;

namespace quarmel {

using OpenPath = std::function<void(const std::string& path)>;

// Adds the Examples submenu to `file` before `before`: a submenu per number of variables
// ("2 variables", ...) with one item per problem of the catalogue in `folder` that has that many
// (its name, with its description as the hint), in the catalogue's order; choosing one calls
// open with the problem file's path. The submenu is enabled while `open` (File > Open)
// is, and left out when there is no catalogue to list. Returns the submenu or nullptr.
QMenu* AddExamplesMenu(QMenu* file, QAction* before, QAction* openItem, const std::string& folder,
                       const OpenPath& open);

// Lets `window` take a file dropped on it: a drag of exactly one local file is accepted, and its
// drop calls open with the file's path.
void AcceptFileDrops(QWidget* window, const OpenPath& open);

}  // namespace quarmel
