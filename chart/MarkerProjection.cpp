#include "chart/MarkerProjection.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define QUARMEL_WIDE_PROJECTION
#endif

namespace quarmel {

namespace {

// The pixel of a window position: its floor, for positions within 1e7 of the viewport.
int PixelOf(double v) {
    // Not a number goes to -1e7.
    return static_cast<int>(FloorOf(std::min(1e7, std::max(-1e7, v))));
}

void ProjectOne(const ScenePoint& p, const Projection& v, ProjectedBlock& out, std::size_t e) {
    const double* m = v.Clip;
    const double x = p.X, y = p.Y, z = p.Z;
    const double cx = m[0] * x + m[4] * y + m[8] * z + m[12];
    const double cy = m[1] * x + m[5] * y + m[9] * z + m[13];
    const double cz = m[2] * x + m[6] * y + m[10] * z + m[14];
    const double cw = m[3] * x + m[7] * y + m[11] * z + m[15];
    const double inverseW = 1.0 / cw;
    const double sx = (cx * inverseW + 1.0) * v.HalfW;
    const double sy = (cy * inverseW + 1.0) * v.HalfH;
    const double sz = 0.5 * cz * inverseW + 0.5;
    out.X[e] = sx;
    out.Y[e] = sy;
    out.W[e] = cw;
    out.InverseW[e] = inverseW;
    const float ax = static_cast<float>(sx), ay = static_cast<float>(sy);
    out.AtX[e] = ax;
    out.AtY[e] = ay;
    out.AtZ[e] = static_cast<float>(sz);
    // Not a number fails every comparison.
    out.OnScreen[e] =
        cw > 0.0 && sz >= 0.0 && sz <= 1.0 && std::fabs(sx) < 1e7 && std::fabs(sy) < 1e7;
    out.PixelX[e] = PixelOf(sx);
    out.PixelY[e] = PixelOf(sy);
    out.AtPixelX[e] = PixelOf(ax);
    out.AtPixelY[e] = PixelOf(ay);
    out.SceneX[e] = p.X;
    out.SceneY[e] = p.Y;
    out.SceneZ[e] = p.Z;
    out.Kind[e] = SphereKind::None;
    out.Cell[e] = 0;
    if (!std::isfinite(cw) || cw + v.Radius <= v.NearW) return;  // before the eye
    if (!(cw > v.NearW + v.Radius) || !(cw > 0.0)) {
        out.Kind[e] = SphereKind::Full;
        return;
    }
    const double r = v.Radius * v.Scale * inverseW;
    if (!(sx > -r - 1.0 && sx < v.Width + r + 1.0 && sy > -r - 1.0 && sy < v.Height + r + 1.0))
        return;  // entirely off the viewport (or not a number)
    const int px = out.PixelX[e], py = out.PixelY[e];
    if (px < 0 || py < 0 || px >= v.Width || py >= v.Height) {
        out.Kind[e] = SphereKind::Alone;
        return;
    }
    out.Kind[e] = SphereKind::InCell;
    out.Cell[e] = static_cast<int>(TiledCell(px >> v.CellShift, py >> v.CellShift, v.TilesAcross));
}

// The same bits: a repeated marker, not one that merely compares equal.
bool Same(float a, float b) {
    std::uint32_t ab = 0, bb = 0;
    std::memcpy(&ab, &a, 4);
    std::memcpy(&bb, &b, 4);
    return ab == bb;
}

void CutOne(ProjectedBlock& out, std::size_t e, float radius) {
    out.Repeat[e] = Same(out.SceneX[e], out.SceneX[e - 1]) &&
                    Same(out.SceneY[e], out.SceneY[e - 1]) &&
                    Same(out.SceneZ[e], out.SceneZ[e - 1]);
    WindowPoint from, to;
    out.Long[e] = CutSegment({out.SceneX[e - 1], out.SceneY[e - 1], out.SceneZ[e - 1]},
                             {out.SceneX[e], out.SceneY[e], out.SceneZ[e]},
                             {out.AtX[e - 1], out.AtY[e - 1], out.AtZ[e - 1]},
                             {out.AtX[e], out.AtY[e], out.AtZ[e]}, radius, from, to);
    out.FromX[e] = from.X;
    out.FromY[e] = from.Y;
    out.FromZ[e] = from.Z;
    out.ToX[e] = to.X;
    out.ToY[e] = to.Y;
    out.ToZ[e] = to.Z;
}

void ProjectPlain(const ScenePoint* points, std::size_t count, const Projection& v,
                  ProjectedBlock& out) {
    for (std::size_t e = 0; e <= count; ++e) ProjectOne(points[e], v, out, e);
    out.Repeat[0] = 0;
    for (std::size_t e = 1; e <= count; ++e) CutOne(out, e, v.Radius);
}

#if defined(QUARMEL_WIDE_PROJECTION)
#define QUARMEL_WIDE __attribute__((target("avx2"), always_inline)) inline
// Row k of the clip matrix times (x, y, z, 1), added up in the order of ProjectOne.
QUARMEL_WIDE __m256d ClipRow(const double* m, int k, __m256d x, __m256d y, __m256d z) {
    const __m256d sum = _mm256_add_pd(_mm256_mul_pd(_mm256_set1_pd(m[k]), x),
                                      _mm256_mul_pd(_mm256_set1_pd(m[k + 4]), y));
    return _mm256_add_pd(_mm256_add_pd(sum, _mm256_mul_pd(_mm256_set1_pd(m[k + 8]), z)),
                         _mm256_set1_pd(m[k + 12]));
}
QUARMEL_WIDE __m128i FloorsOf(__m256d value) {
    return _mm256_cvttpd_epi32(_mm256_round_pd(value, _MM_FROUND_TO_NEG_INF | _MM_FROUND_NO_EXC));
}
QUARMEL_WIDE __m256d Below(__m256d value, __m256d limit) {
    const __m256d magnitude = _mm256_castsi256_pd(_mm256_set1_epi64x(0x7fffffffffffffff));
    return _mm256_cmp_pd(_mm256_and_pd(value, magnitude), limit, _CMP_LT_OQ);
}
QUARMEL_WIDE __m256i Bits(const float* at) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
}
// A mask of four doubles as four ints, all ones where set.
QUARMEL_WIDE __m128i Narrow(__m256d mask) {
    return _mm256_cvtpd_epi32(_mm256_and_pd(mask, _mm256_set1_pd(-1.0)));
}
QUARMEL_WIDE void Store(int* to, __m128i v) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to), v);
}
// a + ft (b - a), as CutSegment takes it.
QUARMEL_WIDE __m256 Along(__m256 a, __m256 b, __m256 ft) {
    return _mm256_add_ps(a, _mm256_mul_ps(ft, _mm256_sub_ps(b, a)));
}
#undef QUARMEL_WIDE

// Four markers at a time, then eight segments, by the same arithmetic in the same order as
// one at a time (no fused multiply-adds), so to the same bits.
__attribute__((target("avx2"))) void ProjectWide(const ScenePoint* points, std::size_t count,
                                                 const Projection& v, ProjectedBlock& out) {
    const double* m = v.Clip;
    const __m256d one = _mm256_set1_pd(1.0), half = _mm256_set1_pd(0.5);
    const __m256d halfW = _mm256_set1_pd(v.HalfW), halfH = _mm256_set1_pd(v.HalfH);
    const __m256d zero = _mm256_setzero_pd(), limit = _mm256_set1_pd(1e7);
    const __m256d magnitude = _mm256_castsi256_pd(_mm256_set1_epi64x(0x7fffffffffffffff));
    const __m256d infinity = _mm256_set1_pd(std::numeric_limits<double>::infinity());
    const __m256d radius = _mm256_set1_pd(v.Radius), nearW = _mm256_set1_pd(v.NearW);
    const __m256d nearPlusRadius = _mm256_set1_pd(v.NearW + v.Radius);
    const __m256d radiusScale = _mm256_set1_pd(v.Radius * v.Scale);
    const __m256d width = _mm256_set1_pd(v.Width), height = _mm256_set1_pd(v.Height);
    const __m128i widthInts = _mm_set1_epi32(v.Width), heightInts = _mm_set1_epi32(v.Height);
    const __m128i minusOne = _mm_set1_epi32(-1), three = _mm_set1_epi32(3);
    const __m128i shift = _mm_cvtsi32_si128(v.CellShift);
    const __m128i tilesAcross = _mm_set1_epi32(static_cast<int>(v.TilesAcross));
    std::size_t e = 0;
    for (; e + 4 <= count + 1; e += 4) {
        const ScenePoint* p = points + e;
        const __m128 fx = _mm_setr_ps(p[0].X, p[1].X, p[2].X, p[3].X);
        const __m128 fy = _mm_setr_ps(p[0].Y, p[1].Y, p[2].Y, p[3].Y);
        const __m128 fz = _mm_setr_ps(p[0].Z, p[1].Z, p[2].Z, p[3].Z);
        _mm_storeu_ps(&out.SceneX[e], fx);
        _mm_storeu_ps(&out.SceneY[e], fy);
        _mm_storeu_ps(&out.SceneZ[e], fz);
        const __m256d x = _mm256_cvtps_pd(fx), y = _mm256_cvtps_pd(fy), z = _mm256_cvtps_pd(fz);
        const __m256d cx = ClipRow(m, 0, x, y, z), cy = ClipRow(m, 1, x, y, z);
        const __m256d cz = ClipRow(m, 2, x, y, z), cw = ClipRow(m, 3, x, y, z);
        const __m256d inverseW = _mm256_div_pd(one, cw);
        const __m256d sx = _mm256_mul_pd(_mm256_add_pd(_mm256_mul_pd(cx, inverseW), one), halfW);
        const __m256d sy = _mm256_mul_pd(_mm256_add_pd(_mm256_mul_pd(cy, inverseW), one), halfH);
        const __m256d sz = _mm256_add_pd(_mm256_mul_pd(_mm256_mul_pd(half, cz), inverseW), half);
        _mm256_storeu_pd(&out.X[e], sx);
        _mm256_storeu_pd(&out.Y[e], sy);
        _mm256_storeu_pd(&out.W[e], cw);
        _mm256_storeu_pd(&out.InverseW[e], inverseW);
        const __m128 ax = _mm256_cvtpd_ps(sx), ay = _mm256_cvtpd_ps(sy);
        _mm_storeu_ps(&out.AtX[e], ax);
        _mm_storeu_ps(&out.AtY[e], ay);
        _mm_storeu_ps(&out.AtZ[e], _mm256_cvtpd_ps(sz));
        __m256d useful = _mm256_cmp_pd(cw, zero, _CMP_GT_OQ);
        useful = _mm256_and_pd(useful, _mm256_cmp_pd(sz, zero, _CMP_GE_OQ));
        useful = _mm256_and_pd(useful, _mm256_cmp_pd(sz, one, _CMP_LE_OQ));
        useful = _mm256_and_pd(useful, Below(sx, limit));
        useful = _mm256_and_pd(useful, Below(sy, limit));
        // All ones (-1) per useful lane, narrowed to 32 bits, then made 1.
        const __m128i usefulInts = _mm256_cvtpd_epi32(_mm256_and_pd(useful, one));
        Store(&out.OnScreen[e], usefulInts);
        Store(&out.PixelX[e], FloorsOf(sx));
        Store(&out.PixelY[e], FloorsOf(sy));
        Store(&out.AtPixelX[e], FloorsOf(_mm256_cvtps_pd(ax)));
        Store(&out.AtPixelY[e], FloorsOf(_mm256_cvtps_pd(ay)));
        // The sphere, as ProjectOne decides it.
        const __m256d before =
            _mm256_or_pd(_mm256_cmp_pd(_mm256_and_pd(cw, magnitude), infinity, _CMP_NLT_UQ),
                         _mm256_cmp_pd(_mm256_add_pd(cw, radius), nearW, _CMP_LE_OQ));
        const __m256d full = _mm256_or_pd(_mm256_cmp_pd(cw, nearPlusRadius, _CMP_NGT_UQ),
                                          _mm256_cmp_pd(cw, zero, _CMP_NGT_UQ));
        const __m256d r = _mm256_mul_pd(radiusScale, inverseW);
        const __m256d minusR = _mm256_sub_pd(_mm256_sub_pd(zero, r), one);
        __m256d near = _mm256_cmp_pd(sx, minusR, _CMP_GT_OQ);
        near = _mm256_and_pd(
            near, _mm256_cmp_pd(sx, _mm256_add_pd(_mm256_add_pd(width, r), one), _CMP_LT_OQ));
        near = _mm256_and_pd(near, _mm256_cmp_pd(sy, minusR, _CMP_GT_OQ));
        near = _mm256_and_pd(
            near, _mm256_cmp_pd(sy, _mm256_add_pd(_mm256_add_pd(height, r), one), _CMP_LT_OQ));
        const __m128i px = FloorsOf(sx), py = FloorsOf(sy);
        const __m128i inside = _mm_and_si128(
            _mm_and_si128(_mm_cmpgt_epi32(px, minusOne), _mm_cmpgt_epi32(py, minusOne)),
            _mm_and_si128(_mm_cmpgt_epi32(widthInts, px), _mm_cmpgt_epi32(heightInts, py)));
        // Narrowed to 32 bits: all ones per lane where true.
        const __m128i isBefore = Narrow(before), isFull = Narrow(full), isNear = Narrow(near);
        // None 0, Full 1, Alone 2, InCell 3.
        const __m128i kind = _mm_andnot_si128(
            isBefore,
            _mm_or_si128(
                _mm_and_si128(isFull, _mm_set1_epi32(1)),
                _mm_andnot_si128(isFull,
                                 _mm_and_si128(isNear, _mm_sub_epi32(_mm_set1_epi32(2), inside)))));
        Store(reinterpret_cast<int*>(&out.Kind[e]), kind);
        const __m128i cellX = _mm_sra_epi32(px, shift), cellY = _mm_sra_epi32(py, shift);
        const __m128i cell = _mm_or_si128(
            _mm_slli_epi32(_mm_add_epi32(_mm_mullo_epi32(_mm_srai_epi32(cellY, 2), tilesAcross),
                                         _mm_srai_epi32(cellX, 2)),
                           4),
            _mm_or_si128(_mm_slli_epi32(_mm_and_si128(cellY, three), 2),
                         _mm_and_si128(cellX, three)));
        Store(&out.Cell[e], _mm_and_si128(cell, _mm_cmpeq_epi32(kind, _mm_set1_epi32(3))));
    }
    for (; e <= count; ++e) ProjectOne(points[e], v, out, e);

    const __m256 cut = _mm256_set1_ps(v.Radius);
    const __m256 diameterSquared = _mm256_set1_ps(4.0f * v.Radius * v.Radius);
    std::size_t s = 1;
    for (; s + 8 <= count + 1; s += 8) {
        const __m256 dx =
            _mm256_sub_ps(_mm256_loadu_ps(&out.SceneX[s]), _mm256_loadu_ps(&out.SceneX[s - 1]));
        const __m256 dy =
            _mm256_sub_ps(_mm256_loadu_ps(&out.SceneY[s]), _mm256_loadu_ps(&out.SceneY[s - 1]));
        const __m256 dz =
            _mm256_sub_ps(_mm256_loadu_ps(&out.SceneZ[s]), _mm256_loadu_ps(&out.SceneZ[s - 1]));
        const __m256 squared = _mm256_add_ps(
            _mm256_add_ps(_mm256_mul_ps(dx, dx), _mm256_mul_ps(dy, dy)), _mm256_mul_ps(dz, dz));
        const __m256 isLong = _mm256_cmp_ps(squared, diameterSquared, _CMP_GT_OQ);
        const __m256 ft = _mm256_div_ps(cut, _mm256_sqrt_ps(squared));
        const __m256 ax = _mm256_loadu_ps(&out.AtX[s - 1]), bx = _mm256_loadu_ps(&out.AtX[s]);
        const __m256 ay = _mm256_loadu_ps(&out.AtY[s - 1]), by = _mm256_loadu_ps(&out.AtY[s]);
        const __m256 az = _mm256_loadu_ps(&out.AtZ[s - 1]), bz = _mm256_loadu_ps(&out.AtZ[s]);
        _mm256_storeu_ps(&out.FromX[s], Along(ax, bx, ft));
        _mm256_storeu_ps(&out.FromY[s], Along(ay, by, ft));
        _mm256_storeu_ps(&out.FromZ[s], Along(az, bz, ft));
        _mm256_storeu_ps(&out.ToX[s], Along(bx, ax, ft));
        _mm256_storeu_ps(&out.ToY[s], Along(by, ay, ft));
        _mm256_storeu_ps(&out.ToZ[s], Along(bz, az, ft));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(&out.Long[s]),
                            _mm256_srli_epi32(_mm256_castps_si256(isLong), 31));
        const __m256i sameX = _mm256_cmpeq_epi32(Bits(&out.SceneX[s]), Bits(&out.SceneX[s - 1]));
        const __m256i sameY = _mm256_cmpeq_epi32(Bits(&out.SceneY[s]), Bits(&out.SceneY[s - 1]));
        const __m256i sameZ = _mm256_cmpeq_epi32(Bits(&out.SceneZ[s]), Bits(&out.SceneZ[s - 1]));
        _mm256_storeu_si256(
            reinterpret_cast<__m256i*>(&out.Repeat[s]),
            _mm256_srli_epi32(_mm256_and_si256(_mm256_and_si256(sameX, sameY), sameZ), 31));
    }
    for (; s <= count; ++s) CutOne(out, s, v.Radius);
    out.Repeat[0] = 0;
}

using ProjectFunction = void (*)(const ScenePoint*, std::size_t, const Projection&,
                                 ProjectedBlock&);
const ProjectFunction kProject = __builtin_cpu_supports("avx2") ? ProjectWide : ProjectPlain;
#else
constexpr auto kProject = ProjectPlain;
#endif

}  // namespace

void ProjectMarkers(const ScenePoint* points, std::size_t count, const Projection& view,
                    ProjectedBlock& out) {
    kProject(points, std::min(count, ProjectedBlock::kEntries - 1), view, out);
}

}  // namespace quarmel
