#pragma once

#include <vector>

#include "chart/PixelCanvas.h"

namespace quarmel::testing {

// The painted pixels of an image of depths, at their centres (those nearer than the far plane).
inline std::vector<WindowPoint> PaintedPixels(const DepthImage& image) {
    std::vector<WindowPoint> out;
    for (int y = 0; y < image.Height; ++y) {
        for (int x = 0; x < image.Width; ++x) {
            const float z = image.Depths[static_cast<std::size_t>(y) * image.Width + x];
            if (z < 1.0f) out.push_back({image.Left + x + 0.5f, image.Bottom + y + 0.5f, z});
        }
    }
    return out;
}

}  // namespace quarmel::testing
