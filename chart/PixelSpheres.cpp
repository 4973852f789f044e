// The canvas's spheres: their rows' spans and ray coefficients worked out a few rows at a time
// (four at once with AVX2, to the same bits), then painted.
#include "chart/PixelCanvas.h"
#include "chart/PixelRange.h"

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
    PixelRange(sy - reach, sy + reach, height_, top, bottom);
    top = std::max(top, rowFrom);
    bottom = std::min(bottom, rowTo);
    if (top > bottom) return;
    // The sphere's nearest window depth, where its clip w is least: window depth is
    // 0.5 + 0.5 (p[10] / p[11] + p[14] / w) when depth does not lean with x or y.
    int left = 0, right = -1;
    const double sx = ((p[0] * c[0] + p[4] * c[1] + p[8] * c[2]) / cw + 1.0) * 0.5 * width_;
    PixelRange(sx - reach, sx + reach, width_, left, right);
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
            std::uint16_t* owners = owned_ ? &owners_[Cell(tile * 4, row)] : nullptr;
            bool shows = false;
            for (int l = from; l <= to; ++l) shows = shows || !(cells[l] < hidden);
            if (!shows) continue;
            alignas(16) double z[4];
            const double u = tile * 4 + 0.5;
            depths(_mm_set_pd(u + 1.0, u), z);
            depths(_mm_set_pd(u + 3.0, u + 2.0), z + 2);
            for (int l = from; l <= to; ++l) {
                if (cells[l] < hidden) continue;
                if (!(z[l] >= 0.0 && z[l] <= 1.0)) continue;
                const auto depth = static_cast<float>(z[l]);
                if (owners == nullptr) {
                    cells[l] = std::min(cells[l], depth);
                } else if (depth < cells[l]) {
                    cells[l] = depth;
                    owners[l] = owner_;
                }
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

}  // namespace quarmel
