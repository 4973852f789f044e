#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

namespace quarmel {

// floor(v) for the finite values a frame's positions take, without a library call.
inline double FloorOf(double v) {
    if (!(std::fabs(v) < 1e15)) return std::floor(v);
    const auto t = static_cast<double>(static_cast<long long>(v));
    return t > v ? t - 1.0 : t;
}

// The index of pixel (x, y) in a buffer that holds a viewport in tiles of 4 x 4 pixels,
// tilesAcross of them to a row of tiles: 16 floats are a cache line, so a steep line or a small
// disc touches a new line only every fourth row.
inline std::size_t TiledCell(int x, int y, std::size_t tilesAcross) {
    return (((static_cast<std::size_t>(y) >> 2) * tilesAcross + (static_cast<std::size_t>(x) >> 2))
            << 4) |
           static_cast<std::size_t>(((y & 3) << 2) | (x & 3));
}

// A position in window coordinates: pixels from the viewport's lower-left corner, and the
// depth buffer's value, 0 at the near plane and 1 at the far one.
struct WindowPoint {
    float X = 0.0f;
    float Y = 0.0f;
    float Z = 0.0f;
};

// The painted pixels of a frame as an image of window depths: Width x Height pixels, row by row
// from the one at Bottom, column Left first; 1, the far plane's depth, where nothing is
// painted.
struct DepthImage {
    int Left = 0;
    int Bottom = 0;
    int Width = 0;
    int Height = 0;
    std::vector<float> Depths;
};

// Pixels of a line found in front of a canvas: cells as TiledCell lays them out, their depths,
// and the box of pixels (rows, then columns) they lie in.
struct LinePixels {
    struct Pixel {
        std::uint32_t Cell;
        float Z;
    };
    std::vector<Pixel> Pixels;
    std::array<int, 4> Box{0, -1, 0, -1};
    void Clear() {
        Pixels.clear();
        Box = {0, -1, 0, -1};
    }
};

// Everything that the CPU rasterises for a frame: per pixel, the nearest window depth painted
// there (and, for several colours, whose it is). However much is painted (a line of a million
// segments, thousands of spheres over one another), the frame then draws at most one fragment per
// viewport pixel, each at its own depth, so the graphics library's depth test against the rest of
// the scene still decides what shows. No graphics call.
class PixelCanvas {
  public:
    // Starts an empty canvas for a viewport of the given size and a projection (column-major,
    // as the graphics library reports it). The buffers keep their storage from frame to frame.
    void Begin(int width, int height, const std::array<double, 16>& projection);

    // The pixels a line of width 1 covers by the graphics library's rule for lines, for each
    // pair of points in turn: a pixel is painted where the segment leaves the diamond
    // inscribed in it, so the pixel of a point shared by two segments of a strip is painted
    // once, by the segment starting there. The depth is interpolated linearly in window
    // coordinates, as for any line. Only rows rowFrom to rowTo are painted, as for spheres. A
    // segment that lies behind what spheres painted over its screen box changes nothing and
    // costs only that test: a line painted after the spheres costs about what shows of it.
    void Segments(const std::vector<WindowPoint>& pairs, int rowFrom = 0,
                  int rowTo = std::numeric_limits<int>::max());
    // What Segments would paint of count points, in pairs, in front of what this canvas
    // holds, appended to out; nothing is painted, so that several threads can test the parts
    // of a long line against one canvas of spheres side by side. Settle first.
    void SegmentPixels(const WindowPoint* pairs, std::size_t count, LinePixels& out,
                       int rowFrom = 0, int rowTo = std::numeric_limits<int>::max()) const;
    // Paints the pixels SegmentPixels found.
    void Paint(const LinePixels& pixels);
    // Brings up to date what SegmentPixels reads of this canvas, after spheres were painted.
    void Settle();

    // Whether spheres can be painted: the projection is a perspective one with the eye at the
    // origin of eye space, as every frustum is.
    bool PaintsSpheres() const { return perspective_; }
    // The pixels whose centre sees a sphere (centre in eye coordinates), at the depth of the
    // sphere's front surface there. Only when PaintsSpheres(); boundPixels bounds the
    // sphere's radius on screen. A sphere that lies behind what is painted over all of its
    // screen box changes nothing and costs only that test: spheres handed in from near to far
    // cost about what shows of them, however many hide behind one another.
    // Only rows rowFrom to rowTo are painted: canvases that paint the bands of one viewport side
    // by side each see every sphere that hides another in their band.
    void Sphere(const std::array<double, 3>& centre, double radius, double boundPixels,
                int rowFrom = 0, int rowTo = std::numeric_limits<int>::max());

    // Takes over what another canvas of the same size has painted, leaving it empty.
    void Absorb(PixelCanvas& other);

    // From now until the next Begin, what is painted is marked as the given owner's (the path
    // it belongs to) where it is the nearest, so that paths of several colours painted on one
    // canvas hide one another as they will on screen. Until then nothing is marked.
    void SetOwner(std::uint16_t owner);
    // Sizes an image for what the owner painted (a box of whole tiles about it).
    void SizeOwnedImage(std::uint16_t owner, DepthImage& out) const;
    // As CollectRows, but each painted pixel goes to its owner's image (out[owner]), sized by
    // SizeOwnedImage, which has the far plane's depth wherever it has no pixel of its own.
    void CollectOwnedRows(const std::vector<DepthImage*>& out, int rowFrom, int rowTo);

    // The painted pixels as an image, leaving the canvas empty, in three steps so that threads
    // can copy bands of rows side by side: SizeImage, then CollectRows for bands starting on a
    // multiple of 4 rows, which together cover the viewport, then EndCollect.
    void SizeImage(DepthImage& out) const;
    void CollectRows(DepthImage& out, int rowFrom, int rowTo);
    void EndCollect();

  private:
    std::size_t Cell(int x, int y) const { return TiledCell(x, y, tilesAcross_); }
    void Paint(std::size_t cell, float z) {
        if (!owned_) {
            depth_[cell] = std::min(depth_[cell], z);
        } else if (z < depth_[cell]) {
            depth_[cell] = z;
            owners_[cell] = owner_;
        }
    }

    int width_ = 0;
    int height_ = 0;
    std::array<double, 16> projection_{};
    // Sizes an image for a box of whole tiles (rows [0] to [1], columns [2] to [3]); empty for
    // an empty box or a canvas with nothing painted.
    void SizeToTiles(const std::array<int, 4>& box, DepthImage& out) const;

    bool perspective_ = false;
    // The direction, in eye coordinates, of the ray from the eye through window position
    // (u, v): rayOrigin_ + u * rayU_ + v * rayV_.
    std::array<double, 3> rayOrigin_{}, rayU_{}, rayV_{};
    static constexpr float kEmpty = std::numeric_limits<float>::infinity();
    static constexpr std::array<int, 4> kNoBox{std::numeric_limits<int>::max(), -1,
                                               std::numeric_limits<int>::max(), -1};
    std::size_t tilesAcross_ = 0;
    std::vector<float> depth_;  // kEmpty where nothing is painted
    // Per pixel its owner where painted, once owned_ (as depth_).
    bool owned_ = false;
    std::uint16_t owner_ = 0;
    std::vector<std::uint16_t> owners_;
    // Per owner, the tiles it painted in: rows, then columns (first > last for none).
    std::vector<std::array<int, 4>> ownerBoxes_;
    // Per tile of 4 x 4 pixels, at least the farthest depth painted in it (kEmpty while any of
    // its pixels is empty). Painting only lowers depths, so a value left from earlier is still
    // a safe bound; only spheres bring it up to date.
    std::vector<float> tileFar_;
    bool HiddenBehindTiles(int top, int bottom, int left, int right, float nearest) const;
    // Per half block of 2 x 2 tiles, the farthest of its tiles' bounds, and per half block the
    // farthest over the windows of 2, 4 and 8 half blocks square from it on, brought up to date
    // by Settle when a line is painted after spheres: a segment's box is then four lookups
    // rather than dozens of tiles. Half blocks within halves_ (rows, then columns) are
    // current; a window ends at its edge. The three sizes of windows lie one after the other in
    // one buffer (kWindowLevels of halfFar_.size() each), so that eight segments can look
    // theirs up at once.
    static constexpr std::size_t kWindowLevels = 3;
    std::vector<float> halfFar_;
    std::vector<float> windowFar_;
    const float* Windows(std::size_t level) const {
        return windowFar_.data() + level * halfFar_.size();
    }
    // Of the eight segments from pairs[0] (16 points), those the windows alone show to lie
    // behind the spheres (bit s for segment s), as Hidden would find: the others are tested
    // one by one. Only while the windows are current.
    unsigned HiddenOfEight(const WindowPoint* pairs, int rowFirst, int rowLast) const;
    std::size_t halvesAcross_ = 0;
    std::array<int, 4> halves_{};
    bool HiddenBehindHalves(int top, int bottom, int left, int right, float nearest) const;
    bool blocksStale_ = true;
    // Whether everything painted over the box of pixels (rows top to bottom, columns left to
    // right, within the viewport) lies nearer than the window depth nearest, as far as the
    // spheres painted before the last Settle tell: a segment there would change nothing.
    bool Hidden(int top, int bottom, int left, int right, float nearest) const {
        if (!painted_ || blocksStale_) return false;
        const int firstRow = top >> 3, lastRow = bottom >> 3, first = left >> 3, last = right >> 3;
        if (firstRow < halves_[0] || lastRow > halves_[1] || first < halves_[2] ||
            last > halves_[3]) {
            return false;
        }
        // The smallest windows of which four, from the box's corners, cover it.
        const int span = std::max(lastRow - firstRow, last - first) + 1;
        std::size_t level = 0;
        while (level < kWindowLevels && span > 4 << level) ++level;
        if (level == kWindowLevels) return HiddenBehindHalves(top, bottom, left, right, nearest);
        const int size = 2 << level;
        const float* windows = Windows(level);
        const float* upper = &windows[static_cast<std::size_t>(firstRow) * halvesAcross_];
        const float* lower =
            &windows[static_cast<std::size_t>(std::max(firstRow, lastRow - size + 1)) *
                     halvesAcross_];
        const int second = std::max(first, last - size + 1);
        const float far =
            std::max(std::max(upper[first], upper[second]), std::max(lower[first], lower[second]));
        return far < nearest || HiddenBehindTiles(top, bottom, left, right, nearest);
    }
    // paint(cell, depth) for each pixel of the segment by the rule for lines, the depth
    // interpolated linearly; false when there is none.
    template <typename Sink>
    bool Rasterise(const WindowPoint& a, const WindowPoint& b, const std::array<int, 4>& box,
                   Sink paint) const;
    void UpdateTiles(int tileRow, int fromTile, int toTile);
    bool painted_ = false;  // anything since the buffer was last all kEmpty
    // The tiles painted since then lie in rows dirty_[0] to [1], columns [2] to [3]: a frame
    // that painted little clears little.
    std::array<int, 4> dirty_{};
    void MarkPainted(int top, int bottom, int left, int right);
    // visit(tile, column, row) for each tile of the painted box, whose farthest depth is then
    // reset.
    template <typename Visit>
    void ForDirtyTiles(Visit visit);
};

}  // namespace quarmel
