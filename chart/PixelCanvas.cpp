#include "PixelCanvas.h"

#include <algorithm>
#include <cmath>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#endif

namespace quarmel {

namespace {

// The first and last integer i with i + 0.5 in [from, to), clamped to [0, size - 1]; the
// bounds are clamped as doubles first, so positions far off the viewport cost nothing.
void Columns(double from, double to, int size, int& first, int& last) {
    from = std::clamp(from, -2.0, size + 2.0);
    to = std::clamp(to, -2.0, size + 2.0);
    first = std::max(0, static_cast<int>(-FloorOf(0.5 - from)));
    last = std::min(size - 1, static_cast<int>(-FloorOf(0.5 - to)) - 1);
}

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

// The rows of a sphere, a few at a time (see Sphere): per row the ray coefficients alpha,
// gamma, delta and qg, the columns first to last whose centres see the sphere, and whether any
// does.
constexpr int kSpanRows = 16;
struct Spans {
    std::array<double, kSpanRows> Alpha, Gamma, Delta, Qg;
    std::array<int, kSpanRows> First, Last, Any;
};
// What the rows' spans are worked out from: the sphere's centre c and its k = c.c - r^2, the
// rays' origin and steps, the depth's row q of the projection, beta = c.u, qa, and the box's
// columns and the viewport's width.
struct SpanInput {
    std::array<double, 3> C, Origin, U, V, Q;
    double Beta, K, Qa;
    int Left, Right, Width;
};

inline double Dot(const std::array<double, 3>& a, const std::array<double, 3>& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

void SpanOf(const SpanInput& in, int row, Spans& out, int at) {
    const double v = row + 0.5;
    const std::array<double, 3> g = {in.Origin[0] + v * in.V[0], in.Origin[1] + v * in.V[1],
                                     in.Origin[2] + v * in.V[2]};
    const double alpha = Dot(in.C, g), gamma = Dot(g, g), delta = Dot(g, in.U);
    const double qb = alpha * in.Beta - in.K * delta;
    const double qc = alpha * alpha - in.K * gamma;
    const double disc = qb * qb - in.Qa * qc;
    const bool any = disc > 0.0;
    const double root = std::sqrt(any ? disc : 0.0);
    // Centres strictly between the roots (none for a row that misses the sphere).
    const double u1 = any ? std::clamp((-qb + root) / in.Qa, -2.0, in.Width + 2.0) : 0.0;
    const double u2 = any ? std::clamp((-qb - root) / in.Qa, -2.0, in.Width + 2.0) : 0.0;
    // Within the box marked painted, whatever the rounding.
    out.First[at] = std::max(in.Left, static_cast<int>(FloorOf(u1 - 0.5)) + 1);
    out.Last[at] = std::min(in.Right, static_cast<int>(-FloorOf(0.5 - u2)) - 1);
    out.Alpha[at] = alpha;
    out.Gamma[at] = gamma;
    out.Delta[at] = delta;
    out.Qg[at] = Dot(in.Q, g);
    out.Any[at] = any;
}

void SpansPlain(const SpanInput& in, int from, int count, Spans& out) {
    for (int k = 0; k < count; ++k) SpanOf(in, from + k, out, k);
}

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define QUARMEL_WIDE __attribute__((target("avx2"), always_inline)) inline
QUARMEL_WIDE __m256d DotWide(const std::array<double, 3>& a, __m256d x, __m256d y, __m256d z) {
    return _mm256_add_pd(_mm256_add_pd(_mm256_mul_pd(_mm256_set1_pd(a[0]), x),
                                       _mm256_mul_pd(_mm256_set1_pd(a[1]), y)),
                         _mm256_mul_pd(_mm256_set1_pd(a[2]), z));
}
// std::clamp(x, low, high), not a number included.
QUARMEL_WIDE __m256d ClampWide(__m256d x, __m256d low, __m256d high) {
    const __m256d upper = _mm256_blendv_pd(x, high, _mm256_cmp_pd(high, x, _CMP_LT_OQ));
    return _mm256_blendv_pd(upper, low, _mm256_cmp_pd(x, low, _CMP_LT_OQ));
}
#undef QUARMEL_WIDE

// Four rows at a time, by the same arithmetic in the same order as SpanOf, so to the same bits.
__attribute__((target("avx2"))) void SpansWide(const SpanInput& in, int from, int count,
                                               Spans& out) {
    const __m256d half = _mm256_set1_pd(0.5), zero = _mm256_setzero_pd();
    const __m256d beta = _mm256_set1_pd(in.Beta), k = _mm256_set1_pd(in.K);
    const __m256d qa = _mm256_set1_pd(in.Qa);
    const __m256d low = _mm256_set1_pd(-2.0), high = _mm256_set1_pd(in.Width + 2.0);
    const __m256d one = _mm256_set1_pd(1.0), signs = _mm256_set1_pd(-0.0);
    int at = 0;
    for (; at + 4 <= count; at += 4) {
        const __m256d v = _mm256_add_pd(
            _mm256_setr_pd(from + at, from + at + 1, from + at + 2, from + at + 3), half);
        const __m256d gx =
            _mm256_add_pd(_mm256_set1_pd(in.Origin[0]), _mm256_mul_pd(v, _mm256_set1_pd(in.V[0])));
        const __m256d gy =
            _mm256_add_pd(_mm256_set1_pd(in.Origin[1]), _mm256_mul_pd(v, _mm256_set1_pd(in.V[1])));
        const __m256d gz =
            _mm256_add_pd(_mm256_set1_pd(in.Origin[2]), _mm256_mul_pd(v, _mm256_set1_pd(in.V[2])));
        const __m256d alpha = DotWide(in.C, gx, gy, gz);
        const __m256d gamma = _mm256_add_pd(
            _mm256_add_pd(_mm256_mul_pd(gx, gx), _mm256_mul_pd(gy, gy)), _mm256_mul_pd(gz, gz));
        const __m256d delta = DotWide(in.U, gx, gy, gz);
        const __m256d qb = _mm256_sub_pd(_mm256_mul_pd(alpha, beta), _mm256_mul_pd(k, delta));
        const __m256d qc = _mm256_sub_pd(_mm256_mul_pd(alpha, alpha), _mm256_mul_pd(k, gamma));
        const __m256d disc = _mm256_sub_pd(_mm256_mul_pd(qb, qb), _mm256_mul_pd(qa, qc));
        const __m256d any = _mm256_cmp_pd(disc, zero, _CMP_GT_OQ);
        const __m256d root = _mm256_sqrt_pd(_mm256_and_pd(disc, any));
        const __m256d minusQb = _mm256_xor_pd(qb, signs);
        const __m256d u1 = _mm256_and_pd(
            ClampWide(_mm256_div_pd(_mm256_add_pd(minusQb, root), qa), low, high), any);
        const __m256d u2 = _mm256_and_pd(
            ClampWide(_mm256_div_pd(_mm256_sub_pd(minusQb, root), qa), low, high), any);
        const __m128i first = _mm_max_epi32(
            _mm_set1_epi32(in.Left),
            _mm_add_epi32(_mm256_cvttpd_epi32(_mm256_floor_pd(_mm256_sub_pd(u1, half))),
                          _mm_set1_epi32(1)));
        const __m128i last = _mm_min_epi32(
            _mm_set1_epi32(in.Right),
            _mm_sub_epi32(
                _mm256_cvttpd_epi32(_mm256_xor_pd(_mm256_floor_pd(_mm256_sub_pd(half, u2)), signs)),
                _mm_set1_epi32(1)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(&out.First[at]), first);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(&out.Last[at]), last);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(&out.Any[at]),
                         _mm256_cvtpd_epi32(_mm256_and_pd(any, one)));
        _mm256_storeu_pd(&out.Alpha[at], alpha);
        _mm256_storeu_pd(&out.Gamma[at], gamma);
        _mm256_storeu_pd(&out.Delta[at], delta);
        _mm256_storeu_pd(&out.Qg[at], DotWide(in.Q, gx, gy, gz));
    }
    for (; at < count; ++at) SpanOf(in, from + at, out, at);
}

using SpansFunction = void (*)(const SpanInput&, int, int, Spans&);
const SpansFunction kSpans = __builtin_cpu_supports("avx2") ? SpansWide : SpansPlain;
#else
constexpr auto kSpans = SpansPlain;
#endif

}  // namespace

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

void PixelCanvas::Segments(const std::vector<WindowPoint>& pairs, int rowFrom, int rowTo) {
    if (blocksStale_) Settle();
    LinePixels found;
    SegmentPixels(pairs.data(), pairs.size(), found, rowFrom, rowTo);
    Paint(found);
}

void PixelCanvas::SegmentPixels(const WindowPoint* pairs, std::size_t count, LinePixels& out,
                                int rowFrom, int rowTo) const {
    const int rowFirst = std::max(0, rowFrom), rowLast = std::min(height_ - 1, rowTo);
    for (std::size_t j = 0; j + 1 < count; j += 2) {
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
    Columns(low, high, majorSize, first, last);
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

void PixelCanvas::Sphere(const std::array<double, 3>& c, double radius, double boundPixels,
                         int rowFrom, int rowTo) {
    if (!perspective_) return;
    const double k = Dot(c, c) - radius * radius;
    if (!(k > 0.0)) return;  // the eye inside the sphere
    const double* p = projection_.data();
    const double cw = p[11] * c[2];
    const double sy = ((p[1] * c[0] + p[5] * c[1] + p[9] * c[2]) / cw + 1.0) * 0.5 * height_;
    const double reach = 1.25 * boundPixels + 1.0;
    int top = 0, bottom = -1;
    Columns(sy - reach, sy + reach, height_, top, bottom);
    top = std::max(top, rowFrom);
    bottom = std::min(bottom, rowTo);
    if (top > bottom) return;
    // The sphere's nearest window depth, where its clip w is least: window depth is
    // 0.5 + 0.5 (p[10] / p[11] + p[14] / w) when depth does not lean with x or y.
    int left = 0, right = -1;
    const double sx = ((p[0] * c[0] + p[4] * c[1] + p[8] * c[2]) / cw + 1.0) * 0.5 * width_;
    Columns(sx - reach, sx + reach, width_, left, right);
    if (left > right) return;
    // Tiles whose farthest depth lies before the sphere's nearest are passed over, whole
    // spheres and parts of them.
    float hidden = -kEmpty;
    const double wLeast = cw - std::fabs(p[11]) * radius, wMost = cw + std::fabs(p[11]) * radius;
    if (p[2] == 0.0 && p[6] == 0.0 && wLeast > 0.0) {
        const double zAt = 0.5 + 0.5 * p[10] / p[11];
        const double nearest = std::min(zAt + 0.5 * p[14] / wLeast, zAt + 0.5 * p[14] / wMost);
        // A margin for the rounding of the painted depths to float.
        hidden = static_cast<float>(nearest - 1e-6 * std::fabs(nearest));
        if (HiddenBehindTiles(top, bottom, left, right, hidden)) return;
    }
    // The ray through window position (u, v) is d = g + u * rayU_ with g = rayOrigin_ +
    // v * rayV_; it meets the sphere where (c.d)^2 - |d|^2 k > 0, a quadratic in u along a row.
    const double beta = Dot(c, rayU_), eps = Dot(rayU_, rayU_);
    const double qa = beta * beta - k * eps;
    if (!(qa < 0.0)) return;
    MarkPainted(top, bottom, left, right);
    // The nearer meeting is at t d with 1 / t = (c.d + root) / k, and there clip w is t (d has
    // clip w 1) and clip z is t q.d + p[14].
    const std::array<double, 3> q = {p[2], p[6], p[10]};
    const double qu = Dot(q, rayU_), invK = 1.0 / k;
    // The columns painted in the current row of tiles, brought up to date when it is done.
    int paintedFrom = width_, paintedTo = -1;
    auto tileRowDone = [&](int row) {
        if (paintedFrom <= paintedTo) UpdateTiles(row >> 2, paintedFrom >> 2, paintedTo >> 2);
        paintedFrom = width_;
        paintedTo = -1;
    };
    // Paints the columns first to last of a row whose ray coefficients are alpha, gamma, delta
    // and qg.
    auto PaintRow = [&](int row, double alpha, double gamma, double delta, double qg, int first,
                        int last) {
        const float* tiles = &tileFar_[static_cast<std::size_t>(row >> 2) * tilesAcross_];
#if defined(__SSE2__)
        // The four pixels of a tile's row at a time: their depths worked out two by two, by
        // the same arithmetic in the same order as one at a time, so to the same bits.
        const __m128d vAlpha = _mm_set1_pd(alpha), vBeta = _mm_set1_pd(beta);
        const __m128d vGamma = _mm_set1_pd(gamma), vTwoDelta = _mm_set1_pd(2.0 * delta);
        const __m128d vEps = _mm_set1_pd(eps), vK = _mm_set1_pd(k), vInvK = _mm_set1_pd(invK);
        const __m128d vQg = _mm_set1_pd(qg), vQu = _mm_set1_pd(qu), vP14 = _mm_set1_pd(p[14]);
        const __m128d half = _mm_set1_pd(0.5), zero = _mm_setzero_pd();
        auto depths = [&](__m128d u, double* out) {
            const __m128d cd = _mm_add_pd(vAlpha, _mm_mul_pd(vBeta, u));
            const __m128d dd =
                _mm_add_pd(vGamma, _mm_mul_pd(_mm_add_pd(vTwoDelta, _mm_mul_pd(vEps, u)), u));
            // max(x, 0) gives 0 for a number that is none, as std::max(0.0, x) does.
            const __m128d square =
                _mm_max_pd(_mm_sub_pd(_mm_mul_pd(cd, cd), _mm_mul_pd(dd, vK)), zero);
            const __m128d inverseT = _mm_mul_pd(_mm_add_pd(cd, _mm_sqrt_pd(square)), vInvK);
            const __m128d clip =
                _mm_add_pd(_mm_add_pd(vQg, _mm_mul_pd(vQu, u)), _mm_mul_pd(vP14, inverseT));
            _mm_storeu_pd(out, _mm_add_pd(half, _mm_mul_pd(half, clip)));
        };
        for (int tile = first >> 2; tile <= last >> 2; ++tile) {
            if (tiles[tile] < hidden) continue;
            const int from = std::max(first, tile * 4) - tile * 4;
            const int to = std::min(last, tile * 4 + 3) - tile * 4;
            paintedFrom = std::min(paintedFrom, tile * 4 + from);
            paintedTo = tile * 4 + to;
            float* cells = &depth_[Cell(tile * 4, row)];
            bool shows = false;
            for (int l = from; l <= to; ++l) shows = shows || !(cells[l] < hidden);
            if (!shows) continue;
            alignas(16) double z[4];
            const double u = tile * 4 + 0.5;
            depths(_mm_set_pd(u + 1.0, u), z);
            depths(_mm_set_pd(u + 3.0, u + 2.0), z + 2);
            for (int l = from; l <= to; ++l) {
                if (cells[l] < hidden) continue;
                if (z[l] >= 0.0 && z[l] <= 1.0)
                    cells[l] = std::min(cells[l], static_cast<float>(z[l]));
            }
        }
#else
        for (int col = first; col <= last; ++col) {
            if (tiles[col >> 2] < hidden) {
                col |= 3;
                continue;
            }
            paintedFrom = std::min(paintedFrom, col);
            paintedTo = col;
            // A pixel already nearer than all of the sphere: most of a sphere painted after
            // those before it, at no cost of a root.
            const std::size_t cell = Cell(col, row);
            if (depth_[cell] < hidden) continue;
            const double u = col + 0.5;
            const double cd = alpha + beta * u;
            const double dd = gamma + (2.0 * delta + eps * u) * u;
            const double inverseT = (cd + std::sqrt(std::max(0.0, cd * cd - dd * k))) * invK;
            const double z = 0.5 + 0.5 * (qg + qu * u + p[14] * inverseT);
            if (z >= 0.0 && z <= 1.0) Paint(cell, static_cast<float>(z));
        }
#endif
    };
    // Each row's span and coefficients first, a few rows at a time: with no branch between
    // rows, the square roots and divisions of one overlap those of the next.
    const SpanInput input{c, rayOrigin_, rayU_, rayV_, q, beta, k, qa, left, right, width_};
    Spans spans;
    for (int from = top; from <= bottom; from += kSpanRows) {
        const int count = std::min(bottom - from + 1, kSpanRows);
        kSpans(input, from, count, spans);
        for (int at = 0; at < count; ++at) {
            const int row = from + at;
            if (row > top && (row & 3) == 0) tileRowDone(row - 1);
            if (spans.Any[at] != 0) {
                PaintRow(row, spans.Alpha[at], spans.Gamma[at], spans.Delta[at], spans.Qg[at],
                         spans.First[at], spans.Last[at]);
            }
        }
    }
    tileRowDone(bottom);
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
    for (std::size_t level = 0; level < windowFar_.size(); ++level) {
        const std::vector<float>& from = level == 0 ? halfFar_ : windowFar_[level - 1];
        std::vector<float>& to = windowFar_[level];
        to.resize(halfFar_.size());
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
    other.ForDirtyTiles([&](std::size_t tile, int, int) {
        tileFar_[tile] = std::min(tileFar_[tile], other.tileFar_[tile]);
        for (std::size_t c = tile * 16; c < tile * 16 + 16; ++c) {
            depth_[c] = std::min(depth_[c], other.depth_[c]);
            other.depth_[c] = kEmpty;
        }
    });
    const auto& box = other.dirty_;
    MarkPainted(box[0] << 2, box[1] << 2, box[2] << 2, box[3] << 2);
    blocksStale_ = true;
    other.painted_ = false;
}

void PixelCanvas::SizeImage(DepthImage& out) const {
    if (!painted_) {
        out.Left = out.Bottom = out.Width = out.Height = 0;
        out.Depths.clear();
        return;
    }
    out.Bottom = dirty_[0] * 4;
    out.Left = dirty_[2] * 4;
    out.Height = std::min(height_, dirty_[1] * 4 + 4) - out.Bottom;
    out.Width = std::min(width_, dirty_[3] * 4 + 4) - out.Left;
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

void PixelCanvas::EndCollect() {
    painted_ = false;
}

}  // namespace quarmel
