// The canvas itself: its viewport and rays, the tiles that tell painted pixels and the nearest
// depths, the merging of canvases painted side by side and the image they make. Lines are
// painted in PixelLines.cpp, spheres in PixelSpheres.cpp.
#include "chart/PixelCanvas.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quarmel {

void PixelCanvas::Begin(int width, int height, const std::array<double, 16>& p) {
    tilesAcross_ = (static_cast<std::size_t>(std::max(0, width)) + 3) / 4;
    const std::size_t cells =
        tilesAcross_ * ((static_cast<std::size_t>(std::max(0, height)) + 3) / 4) * 16;
    if (depth_.size() != cells || painted_) {
        depth_.assign(cells, kEmpty);
        tileFar_.assign(cells / 16, kEmpty);
    }
    painted_ = false;
    blocksStale_ = true;
    owned_ = false;
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    projection_ = p;
    // Clip w proportional to eye z and no shift of x or y: every ray meets the eye.
    const double det = p[0] * p[5] - p[4] * p[1];
    perspective_ = p[3] == 0.0 && p[7] == 0.0 && p[15] == 0.0 && p[12] == 0.0 && p[13] == 0.0 &&
                   p[11] != 0.0 && det != 0.0 && width_ > 0 && height_ > 0;
    if (!perspective_) return;
    // The eye point with clip w = 1 on the ray through normalised position (nx, ny) has
    // z = 1 / p[11] and (x, y) solving p[0] x + p[4] y = nx - p[8] z and
    // p[1] x + p[5] y = ny - p[9] z: linear in (nx, ny), so in the window position.
    const double z = 1.0 / p[11];
    auto solve = [&](double bx, double by, std::array<double, 3>& out, double outZ) {
        out = {(p[5] * bx - p[4] * by) / det, (p[0] * by - p[1] * bx) / det, outZ};
    };
    solve(-1.0 - p[8] * z, -1.0 - p[9] * z, rayOrigin_, z);
    solve(2.0 / width_, 0.0, rayU_, 0.0);
    solve(0.0, 2.0 / height_, rayV_, 0.0);
}

bool PixelCanvas::HiddenBehindTiles(int top, int bottom, int left, int right, float nearest) const {
    for (int ty = top >> 2; ty <= bottom >> 2; ++ty) {
        const float* row = &tileFar_[static_cast<std::size_t>(ty) * tilesAcross_];
        for (int tx = left >> 2; tx <= right >> 2; ++tx) {
            if (!(row[tx] < nearest)) return false;
        }
    }
    return true;
}

void PixelCanvas::Settle() {
    if (!painted_) return;
    // The half blocks over the tiles painted so far; the others are not looked at.
    const int tilesDown =
        static_cast<int>(tileFar_.size() / std::max<std::size_t>(1, tilesAcross_));
    halvesAcross_ = (tilesAcross_ + 1) / 2;
    halfFar_.resize(halvesAcross_ * static_cast<std::size_t>((tilesDown + 1) / 2));
    halves_ = {dirty_[0] >> 1, dirty_[1] >> 1, dirty_[2] >> 1, dirty_[3] >> 1};
    for (int hy = halves_[0]; hy <= halves_[1]; ++hy) {
        for (int hx = halves_[2]; hx <= halves_[3]; ++hx) {
            float far = -kEmpty;
            for (int y = hy * 2; y < std::min(hy * 2 + 2, tilesDown); ++y) {
                const float* row = &tileFar_[static_cast<std::size_t>(y) * tilesAcross_];
                for (int x = hx * 2; x < std::min<int>(hx * 2 + 2, static_cast<int>(tilesAcross_));
                     ++x) {
                    far = std::max(far, row[x]);
                }
            }
            halfFar_[static_cast<std::size_t>(hy) * halvesAcross_ + hx] = far;
        }
    }
    // The windows of each size from those of half the size: four of them, from the corners,
    // each cut short at the edge of halves_.
    windowFar_.resize(kWindowLevels * halfFar_.size());
    for (std::size_t level = 0; level < kWindowLevels; ++level) {
        const float* from = level == 0 ? halfFar_.data() : Windows(level - 1);
        float* to = windowFar_.data() + level * halfFar_.size();
        const int step = 1 << level;
        for (int y = halves_[0]; y <= halves_[1]; ++y) {
            const float* row = &from[static_cast<std::size_t>(y) * halvesAcross_];
            const float* next =
                &from[static_cast<std::size_t>(std::min(y + step, halves_[1])) * halvesAcross_];
            float* out = &to[static_cast<std::size_t>(y) * halvesAcross_];
            for (int x = halves_[2]; x <= halves_[3]; ++x) {
                const int right = std::min(x + step, halves_[3]);
                out[x] = std::max({row[x], row[right], next[x], next[right]});
            }
        }
    }
    blocksStale_ = false;
}

bool PixelCanvas::HiddenBehindHalves(int top, int bottom, int left, int right,
                                     float nearest) const {
    // A box of more half blocks either way than the largest windows cover.
    float far = -kEmpty;
    for (int y = top >> 3; y <= bottom >> 3; ++y) {
        const float* row = &halfFar_[static_cast<std::size_t>(y) * halvesAcross_];
        for (int x = left >> 3; x <= right >> 3; ++x) far = std::max(far, row[x]);
    }
    return far < nearest || HiddenBehindTiles(top, bottom, left, right, nearest);
}

void PixelCanvas::UpdateTiles(int tileRow, int fromTile, int toTile) {
    blocksStale_ = true;
    for (int tx = fromTile; tx <= toTile; ++tx) {
        const std::size_t tile = static_cast<std::size_t>(tileRow) * tilesAcross_ + tx;
        const float* cells = &depth_[tile * 16];
        float far = cells[0];
        for (int k = 1; k < 16; ++k) far = std::max(far, cells[k]);
        tileFar_[tile] = far;
    }
}

void PixelCanvas::MarkPainted(int top, int bottom, int left, int right) {
    if (owned_) {
        std::array<int, 4>& box = ownerBoxes_[owner_];
        box = {std::min(box[0], top >> 2), std::max(box[1], bottom >> 2),
               std::min(box[2], left >> 2), std::max(box[3], right >> 2)};
    }
    if (!painted_) {
        painted_ = true;
        dirty_ = {top >> 2, bottom >> 2, left >> 2, right >> 2};
        return;
    }
    dirty_ = {std::min(dirty_[0], top >> 2), std::max(dirty_[1], bottom >> 2),
              std::min(dirty_[2], left >> 2), std::max(dirty_[3], right >> 2)};
}

template <typename Visit>
void PixelCanvas::ForDirtyTiles(Visit visit) {
    for (int ty = dirty_[0]; ty <= dirty_[1]; ++ty) {
        for (int tx = dirty_[2]; tx <= dirty_[3]; ++tx) {
            const std::size_t tile = static_cast<std::size_t>(ty) * tilesAcross_ + tx;
            visit(tile, tx, ty);
            tileFar_[tile] = kEmpty;
        }
    }
}

void PixelCanvas::Absorb(PixelCanvas& other) {
    if (!other.painted_ || other.depth_.size() != depth_.size()) return;
    // Each tile's bound stays a bound: no pixel of the two lies farther than the lesser.
    if (other.owned_) {
        if (!owned_) SetOwner(other.owner_);
        if (ownerBoxes_.size() < other.ownerBoxes_.size())
            ownerBoxes_.resize(other.ownerBoxes_.size(), kNoBox);
        for (std::size_t o = 0; o < other.ownerBoxes_.size(); ++o) {
            std::array<int, 4>& box = ownerBoxes_[o];
            const std::array<int, 4>& with = other.ownerBoxes_[o];
            box = {std::min(box[0], with[0]), std::max(box[1], with[1]), std::min(box[2], with[2]),
                   std::max(box[3], with[3])};
        }
    }
    other.ForDirtyTiles([&](std::size_t tile, int, int) {
        tileFar_[tile] = std::min(tileFar_[tile], other.tileFar_[tile]);
        for (std::size_t c = tile * 16; c < tile * 16 + 16; ++c) {
            if (!other.owned_) {
                depth_[c] = std::min(depth_[c], other.depth_[c]);
            } else if (other.depth_[c] < depth_[c]) {
                depth_[c] = other.depth_[c];
                owners_[c] = other.owners_[c];
            }
            other.depth_[c] = kEmpty;
        }
    });
    const auto& box = other.dirty_;
    MarkPainted(box[0] << 2, box[1] << 2, box[2] << 2, box[3] << 2);
    blocksStale_ = true;
    other.painted_ = false;
}

void PixelCanvas::SizeImage(DepthImage& out) const {
    SizeToTiles(dirty_, out);
}

void PixelCanvas::SizeToTiles(const std::array<int, 4>& box, DepthImage& out) const {
    if (!painted_ || box[0] > box[1] || box[2] > box[3]) {
        out.Left = out.Bottom = out.Width = out.Height = 0;
        out.Depths.clear();
        return;
    }
    out.Bottom = box[0] * 4;
    out.Left = box[2] * 4;
    out.Height = std::min(height_, box[1] * 4 + 4) - out.Bottom;
    out.Width = std::min(width_, box[3] * 4 + 4) - out.Left;
    out.Depths.resize(static_cast<std::size_t>(out.Width) * out.Height);
}

void PixelCanvas::CollectRows(DepthImage& out, int rowFrom, int rowTo) {
    if (out.Width <= 0) return;
    // Whole tiles: the caller's bands start on a row of tiles.
    const int firstTile = std::max(dirty_[0], rowFrom >> 2);
    const int lastTile = std::min(dirty_[1], rowTo >> 2);
    for (int ty = firstTile; ty <= lastTile; ++ty) {
        for (int tx = dirty_[2]; tx <= dirty_[3]; ++tx) {
            const std::size_t tile = static_cast<std::size_t>(ty) * tilesAcross_ + tx;
            float* cells = &depth_[tile * 16];
            for (int r = 0; r < 4; ++r) {
                const int y = ty * 4 + r - out.Bottom;
                if (y >= out.Height) break;
                float* row = &out.Depths[static_cast<std::size_t>(y) * out.Width];
                for (int c = 0; c < 4; ++c) {
                    const int x = tx * 4 + c - out.Left;
                    float& z = cells[r * 4 + c];
                    if (x < out.Width) row[x] = z == kEmpty ? 1.0f : z;
                    z = kEmpty;
                }
            }
            tileFar_[tile] = kEmpty;
        }
    }
}

void PixelCanvas::SetOwner(std::uint16_t owner) {
    if (!owned_) {
        owners_.resize(depth_.size());
        ownerBoxes_.assign(ownerBoxes_.size(), kNoBox);
    }
    if (ownerBoxes_.size() <= owner) ownerBoxes_.resize(owner + std::size_t{1}, kNoBox);
    owned_ = true;
    owner_ = owner;
}

void PixelCanvas::SizeOwnedImage(std::uint16_t owner, DepthImage& out) const {
    SizeToTiles(owned_ && owner < ownerBoxes_.size() ? ownerBoxes_[owner] : kNoBox, out);
}

void PixelCanvas::CollectOwnedRows(const std::vector<DepthImage*>& out, int rowFrom, int rowTo) {
    if (!painted_) return;
    const int firstTile = std::max(dirty_[0], rowFrom >> 2);
    const int lastTile = std::min(dirty_[1], rowTo >> 2);
    for (DepthImage* image : out) {
        const int from = std::max(firstTile * 4, image->Bottom);
        const int to = std::min(lastTile * 4 + 4, image->Bottom + image->Height);
        for (int y = from; y < to; ++y) {
            float* row = &image->Depths[static_cast<std::size_t>(y - image->Bottom) * image->Width];
            std::fill(row, row + image->Width, 1.0f);
        }
    }
    for (int ty = firstTile; ty <= lastTile; ++ty) {
        for (int tx = dirty_[2]; tx <= dirty_[3]; ++tx) {
            const std::size_t tile = static_cast<std::size_t>(ty) * tilesAcross_ + tx;
            for (std::size_t cell = tile * 16; cell < tile * 16 + 16; ++cell) {
                const float z = depth_[cell];
                if (z == kEmpty) continue;
                depth_[cell] = kEmpty;
                if (owners_[cell] >= out.size()) continue;
                DepthImage& image = *out[owners_[cell]];
                const int y = ty * 4 + static_cast<int>((cell >> 2) & 3) - image.Bottom;
                const int x = tx * 4 + static_cast<int>(cell & 3) - image.Left;
                if (y >= 0 && y < image.Height && x >= 0 && x < image.Width)
                    image.Depths[static_cast<std::size_t>(y) * image.Width + x] = z;
            }
            tileFar_[tile] = kEmpty;
        }
    }
}

void PixelCanvas::EndCollect() {
    painted_ = false;
}

}  // namespace quarmel
