#pragma once

#include <string>
#include <vector>

namespace quarmel {

// One selected cell of a table and its text.
struct SelectedCell {
    int Row = 0;
    int Column = 0;
    std::string Text;
};

// Selected cells as the clipboard takes them: the rows and columns of the cells' bounding
// rectangle in order, cells separated by tabs and rows ended by a line break; cells inside the
// rectangle that are not selected stay empty. Nothing for no cells.
std::string TabSeparated(const std::vector<SelectedCell>& cells);

}  // namespace quarmel
