#pragma once

#include <string>

namespace quarmel {

// How many pixels a PNG export gives each pixel of the plot on screen: the picture stays the
// same, only sharper. Twice by default, enough for a slide or a printed page; a file name that
// ends in "@<n>x" before its extension ("band@4x.png") asks for n, from 1 to 8.
constexpr int kDefaultPictureScale = 2;
constexpr int kMostPictureScale = 8;
int PictureScale(const std::string& path);

}  // namespace quarmel
