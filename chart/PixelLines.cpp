// The canvas's lines: each segment found by the rule for lines, pixel by pixel, then painted.
#include <algorithm>
#include <cmath>
#include <limits>

#include "chart/PixelCanvas.h"
#include "chart/PixelRange.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define QUARMEL_WIDE_LINES
#endif

namespace quarmel {

namespace {

#if defined(QUARMEL_WIDE_LINES)
const bool kWideLines = __builtin_cpu_supports("avx2");
#else
constexpr bool kWideLines = false;
#endif

// Where an end of a segment lies for the rule for lines. The rule moves both ends by a vanishing
// (-e, -e^2), so that no end lies on a diamond's edge: a point on a pixel's left side belongs to
// the pixel left of it, and a point on an edge of a diamond is inside it only on the edge's
// right-hand half (x above the centre's). A point on a lower side is inside no diamond either
// way, so its row needs no such care.
struct LineEnd {
    bool InDiamond;
    double CentreX, CentreY;  // of the pixel the moved point lies in
};

LineEnd Locate(double x, double y) {
    double px = FloorOf(x);
    const double py = FloorOf(y);
    if (px == x) px -= 1.0;
    const double dx = x - px - 0.5, dy = y - py - 0.5;
    const double d = std::fabs(dx) + std::fabs(dy);
    return {d < 0.5 || (d == 0.5 && dx > 0.0), px + 0.5, py + 0.5};
}

}  // namespace

void PixelCanvas::Segments(const std::vector<WindowPoint>& pairs, int rowFrom, int rowTo) {
    if (blocksStale_) Settle();
    LinePixels found;
    SegmentPixels(pairs.data(), pairs.size(), found, rowFrom, rowTo);
    Paint(found);
}

#if defined(QUARMEL_WIDE_LINES)
// The box and the windows' test of Hidden, eight segments at a time, to the same bits.
__attribute__((target("avx2"))) unsigned PixelCanvas::HiddenOfEight(const WindowPoint* pairs,
                                                                    int rowFirst,
                                                                    int rowLast) const {
    static_assert(sizeof(WindowPoint) == 3 * sizeof(float), "points are packed");
    const float* base = &pairs[0].X;
    const __m256i stride = _mm256_setr_epi32(0, 6, 12, 18, 24, 30, 36, 42);
    const __m256 ax = _mm256_i32gather_ps(base, stride, 4);
    const __m256 ay = _mm256_i32gather_ps(base + 1, stride, 4);
    const __m256 az = _mm256_i32gather_ps(base + 2, stride, 4);
    const __m256 bx = _mm256_i32gather_ps(base + 3, stride, 4);
    const __m256 by = _mm256_i32gather_ps(base + 4, stride, 4);
    const __m256 bz = _mm256_i32gather_ps(base + 5, stride, 4);
    // std::min(a, b) is b < a ? b : a, as minps(b, a); std::max(a, b) is maxps(b, a).
    const __m256i two = _mm256_set1_epi32(2);
    const __m256i rowLow =
        _mm256_max_epi32(_mm256_set1_epi32(rowFirst),
                         _mm256_sub_epi32(_mm256_cvttps_epi32(_mm256_min_ps(by, ay)), two));
    const __m256i rowHigh =
        _mm256_min_epi32(_mm256_set1_epi32(rowLast),
                         _mm256_add_epi32(_mm256_cvttps_epi32(_mm256_max_ps(by, ay)), two));
    const __m256i left = _mm256_max_epi32(
        _mm256_setzero_si256(), _mm256_sub_epi32(_mm256_cvttps_epi32(_mm256_min_ps(bx, ax)), two));
    const __m256i right =
        _mm256_min_epi32(_mm256_set1_epi32(width_ - 1),
                         _mm256_add_epi32(_mm256_cvttps_epi32(_mm256_max_ps(bx, ax)), two));
    const __m256 nearest = _mm256_min_ps(bz, az);
    const __m256i firstRow = _mm256_srai_epi32(rowLow, 3), lastRow = _mm256_srai_epi32(rowHigh, 3);
    const __m256i first = _mm256_srai_epi32(left, 3), last = _mm256_srai_epi32(right, 3);
    // A lane is decided here when its box is not empty, lies within the current half blocks
    // and is covered by windows of one of the prepared sizes.
    __m256i open =
        _mm256_or_si256(_mm256_cmpgt_epi32(rowLow, rowHigh), _mm256_cmpgt_epi32(left, right));
    open = _mm256_or_si256(open, _mm256_cmpgt_epi32(_mm256_set1_epi32(halves_[0]), firstRow));
    open = _mm256_or_si256(open, _mm256_cmpgt_epi32(lastRow, _mm256_set1_epi32(halves_[1])));
    open = _mm256_or_si256(open, _mm256_cmpgt_epi32(_mm256_set1_epi32(halves_[2]), first));
    open = _mm256_or_si256(open, _mm256_cmpgt_epi32(last, _mm256_set1_epi32(halves_[3])));
    const __m256i span = _mm256_add_epi32(
        _mm256_max_epi32(_mm256_sub_epi32(lastRow, firstRow), _mm256_sub_epi32(last, first)),
        _mm256_set1_epi32(1));
    open = _mm256_or_si256(open,
                           _mm256_cmpgt_epi32(span, _mm256_set1_epi32(4 << (kWindowLevels - 1))));
    const __m256i level = _mm256_sub_epi32(
        _mm256_setzero_si256(),
        _mm256_add_epi32(_mm256_cmpgt_epi32(span, _mm256_set1_epi32(4)),
                         _mm256_cmpgt_epi32(span, _mm256_set1_epi32(8))));  // 0, 1 or 2
    const __m256i sizeLess1 = _mm256_sub_epi32(_mm256_sllv_epi32(two, level), _mm256_set1_epi32(1));
    const __m256i lowerRow = _mm256_max_epi32(firstRow, _mm256_sub_epi32(lastRow, sizeLess1));
    const __m256i second = _mm256_max_epi32(first, _mm256_sub_epi32(last, sizeLess1));
    const __m256i across = _mm256_set1_epi32(static_cast<int>(halvesAcross_));
    const __m256i levelStart =
        _mm256_mullo_epi32(level, _mm256_set1_epi32(static_cast<int>(halfFar_.size())));
    const __m256i upper = _mm256_add_epi32(levelStart, _mm256_mullo_epi32(firstRow, across));
    const __m256i lower = _mm256_add_epi32(levelStart, _mm256_mullo_epi32(lowerRow, across));
    const __m256 decided = _mm256_castsi256_ps(_mm256_xor_si256(open, _mm256_set1_epi32(-1)));
    const float* windows = windowFar_.data();
    const __m256 none = _mm256_set1_ps(kEmpty);
#define QUARMEL_WINDOW(index) _mm256_mask_i32gather_ps(none, windows, index, decided, 4)
    const __m256 far =
        _mm256_max_ps(_mm256_max_ps(QUARMEL_WINDOW(_mm256_add_epi32(upper, first)),
                                    QUARMEL_WINDOW(_mm256_add_epi32(upper, second))),
                      _mm256_max_ps(QUARMEL_WINDOW(_mm256_add_epi32(lower, first)),
                                    QUARMEL_WINDOW(_mm256_add_epi32(lower, second))));
#undef QUARMEL_WINDOW
    const __m256 hidden = _mm256_and_ps(decided, _mm256_cmp_ps(far, nearest, _CMP_LT_OQ));
    return static_cast<unsigned>(_mm256_movemask_ps(hidden));
}
#else
unsigned PixelCanvas::HiddenOfEight(const WindowPoint*, int, int) const {
    return 0;
}
#endif

void PixelCanvas::SegmentPixels(const WindowPoint* pairs, std::size_t count, LinePixels& out,
                                int rowFrom, int rowTo) const {
    const int rowFirst = std::max(0, rowFrom), rowLast = std::min(height_ - 1, rowTo);
    // Most segments of a long path lie behind its spheres: eight at a time are tested first.
    const bool byEights = kWideLines && painted_ && !blocksStale_ && height_ > 0 && width_ > 0;
    unsigned hiddenOfEight = 0;
    for (std::size_t j = 0; j + 1 < count; j += 2) {
        if (byEights && j % 16 == 0) {
            hiddenOfEight = j + 16 <= count ? HiddenOfEight(pairs + j, rowFirst, rowLast) : 0;
        }
        if ((hiddenOfEight >> (j % 16 / 2) & 1) != 0) continue;
        const WindowPoint &a = pairs[j], &b = pairs[j + 1];
        // The rows and columns it may paint: a column centre is taken up to half a pixel past
        // an end, which moves the row crossed by at most half a pixel.
        const int rowLow = std::max(rowFirst, static_cast<int>(std::min(a.Y, b.Y)) - 2);
        const int rowHigh = std::min(rowLast, static_cast<int>(std::max(a.Y, b.Y)) + 2);
        if (rowLow > rowHigh) continue;
        const int left = std::max(0, static_cast<int>(std::min(a.X, b.X)) - 2);
        const int right = std::min(width_ - 1, static_cast<int>(std::max(a.X, b.X)) + 2);
        if (left > right) continue;
        // Every depth painted lies between the ends'.
        if (Hidden(rowLow, rowHigh, left, right, std::min(a.Z, b.Z))) continue;
        const std::array<int, 4> box{rowLow, rowHigh, left, right};
        // The depth stays between the ends' (an end counted as its pixel's centre lies a little
        // outside the segment).
        const float nearest = std::min(a.Z, b.Z);
        const double zLow = nearest, zHigh = std::max(a.Z, b.Z);
        const bool any = Rasterise(a, b, box, [&](std::size_t cell, double at) {
            // The tile's bound first: it is a sixteenth the size of the depths, and a tile
            // nearer than all of the segment needs no depth of it.
            const float bound = tileFar_[cell >> 4];
            if (bound < nearest) return;
            const float z = static_cast<float>(std::clamp(at, zLow, zHigh));
            if (bound < z || !(z < depth_[cell])) return;
            out.Pixels.push_back({static_cast<std::uint32_t>(cell), z});
        });
        if (!any) continue;
        if (out.Box[0] > out.Box[1]) {
            out.Box = box;
        } else {
            out.Box = {std::min(out.Box[0], box[0]), std::max(out.Box[1], box[1]),
                       std::min(out.Box[2], box[2]), std::max(out.Box[3], box[3])};
        }
    }
}

void PixelCanvas::Paint(const LinePixels& pixels) {
    if (pixels.Pixels.empty()) return;
    for (const LinePixels::Pixel& p : pixels.Pixels) Paint(p.Cell, p.Z);
    MarkPainted(pixels.Box[0], pixels.Box[1], pixels.Box[2], pixels.Box[3]);
}

template <typename Sink>
bool PixelCanvas::Rasterise(const WindowPoint& a, const WindowPoint& b,
                            const std::array<int, 4>& box, Sink paint) const {
    const int rowLow = box[0], rowHigh = box[1];
    const bool xMajor = std::fabs(b.X - a.X) >= std::fabs(b.Y - a.Y);
    // Along the major axis u, across it v.
    const double ua = xMajor ? a.X : a.Y, va = xMajor ? a.Y : a.X;
    const double ub = xMajor ? b.X : b.Y, vb = xMajor ? b.Y : b.X;
    const double du = ub - ua;
    if (du == 0.0) return false;  // no length: it leaves no diamond
    // The columns whose centre the moved segment passes. Moved, each end lies just below its
    // position along u, so a centre at an end's position is passed going down and not going
    // up: centres in [ua, ub) up, in [ub, ua) down. An end inside its pixel's diamond counts
    // as the pixel's centre: the segment leaves the start's diamond, and not the end's.
    const LineEnd start = Locate(a.X, a.Y), end = Locate(b.X, b.Y);
    const double startCentre = xMajor ? start.CentreX : start.CentreY;
    const double endCentre = xMajor ? end.CentreX : end.CentreY;
    double low = 0.0, high = 0.0;
    if (du > 0) {
        low = start.InDiamond ? startCentre : ua;
        high = end.InDiamond ? endCentre : ub;
    } else {
        low = end.InDiamond ? endCentre + 0.5 : ub;
        high = start.InDiamond ? startCentre + 0.5 : ua;
    }
    const int majorSize = xMajor ? width_ : height_;
    const int minorSize = xMajor ? height_ : width_;
    int first = 0, last = -1;
    PixelRange(low, high, majorSize, first, last);
    if (!xMajor) {
        first = std::max(first, rowLow);
        last = std::min(last, rowHigh);
    }
    if (first > last) return false;
    // Stepping from centre to centre along the major axis.
    const double slope = (vb - va) / du;
    const double zSlope = (static_cast<double>(b.Z) - a.Z) / du;
    const double s = first + 0.5 - ua;
    double v = va + s * slope;
    double z = a.Z + s * zSlope;
    // A crossing exactly on a pixel boundary across the axis: the moved segment passes it just
    // below (y - e^2 + slope e) or just left (x - e), except on a line rising to the right.
    const bool tieUp = xMajor && slope > 0.0;
    const double rows = minorSize;
    auto row = [tieUp](double at) {
        const int r = static_cast<int>(at);
        return !tieUp && r == at ? r - 1 : r;
    };
    if (xMajor) {
        for (int i = first; i <= last; ++i, v += slope, z += zSlope) {
            if (!(v >= 0.0 && v <= rows)) continue;
            const int r = row(v);
            if (r >= rowLow && r <= rowHigh) paint(Cell(i, r), z);
        }
    } else {
        for (int i = first; i <= last; ++i, v += slope, z += zSlope) {
            if (!(v >= 0.0 && v <= rows)) continue;
            const int r = row(v);
            if (r >= 0 && r < minorSize) paint(Cell(r, i), z);
        }
    }
    return true;
}

}  // namespace quarmel
