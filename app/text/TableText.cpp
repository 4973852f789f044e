#include "app/text/TableText.h"

#include <algorithm>
#include <map>

namespace quarmel {

std::string TabSeparated(const std::vector<SelectedCell>& cells) {
    if (cells.empty()) return {};
    int top = cells[0].Row, bottom = top, left = cells[0].Column, right = left;
    std::map<std::pair<int, int>, const std::string*> at;
    for (const SelectedCell& c : cells) {
        top = std::min(top, c.Row);
        bottom = std::max(bottom, c.Row);
        left = std::min(left, c.Column);
        right = std::max(right, c.Column);
        at[{c.Row, c.Column}] = &c.Text;
    }
    std::string text;
    for (int r = top; r <= bottom; ++r) {
        for (int c = left; c <= right; ++c) {
            if (c > left) text += '\t';
            const auto found = at.find({r, c});
            if (found != at.end()) text += *found->second;
        }
        text += '\n';
    }
    return text;
}

}  // namespace quarmel
