#include "app/plot/PictureScale.h"

namespace quarmel {

int PictureScale(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    const std::string stem = name.substr(0, dot);
    const std::size_t at = stem.find_last_of('@');
    if (at == std::string::npos || stem.size() < at + 3 || stem.back() != 'x') {
        return kDefaultPictureScale;
    }
    const std::string digits = stem.substr(at + 1, stem.size() - at - 2);
    if (digits.size() != 1 || digits[0] < '1' || digits[0] > '0' + kMostPictureScale) {
        return kDefaultPictureScale;
    }
    return digits[0] - '0';
}

}  // namespace quarmel
