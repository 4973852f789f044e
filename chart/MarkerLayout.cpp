#include "MarkerLayout.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <exception>
#include <limits>
#include <thread>

namespace quarmel {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();
// A path is shared out only in pieces of at least this many markers, and among at most this
// many processors: below that, starting threads costs more than it saves.
constexpr std::size_t kPointsPerShare = 50000;
constexpr std::size_t kMaxShares = 8;
// A frame paints in bands of rows side by side from this many markers on.
constexpr std::size_t kPointsPerBand = 2000;

// The same bits: a repeated marker, not one that merely compares equal.
bool Same(const ScenePoint& a, const ScenePoint& b) {
    static_assert(sizeof(ScenePoint) == 12, "three floats");
    std::uint64_t ab = 0, bb = 0;
    std::uint32_t az = 0, bz = 0;
    std::memcpy(&ab, &a, 8);
    std::memcpy(&bb, &b, 8);
    std::memcpy(&az, &a.Z, 4);
    std::memcpy(&bz, &b.Z, 4);
    return ab == bb && az == bz;
}

}  // namespace

std::size_t MarkerPlan::Count() const {
    std::size_t n = Painted.size() + Full.size();
    for (const auto& level : ByLevel) n += level.size();
    return n;
}

int MarkerLayout::LevelFor(double radiusPixels) {
    for (std::size_t k = 0; k < kMarkerStyle.LevelSlices.size(); ++k) {
        const double gap = radiusPixels * (1.0 - std::cos(kPi / kMarkerStyle.LevelSlices[k]));
        if (gap <= kOutlineTolerance) return static_cast<int>(k);
    }
    return -1;
}

// The view's numbers every share reads.
struct MarkerLayout::Frame {
    const double* Modelview;
    const double* Projection;
    // Projection times modelview: scene to clip coordinates in one step.
    std::array<double, 16> Clip;
    int Width, Height;
    std::size_t TilesAcross;
    // Markers are kept one per cell of 2^CellShift pixels square, the nearest.
    int CellShift;
    // Pixels per unit of normalised device coordinates, and the projection's scale of a length
    // at unit distance: a sphere's radius on screen is radius * scale / w.
    double HalfW, HalfH, Scale;
    // The clip-space w of a point at the near plane, for a perspective projection.
    double NearW;
    MarkerParts Parts;

    std::array<double, 3> Eye(const ScenePoint& p) const {
        const double* mv = Modelview;
        const double x = p.X, y = p.Y, z = p.Z;
        return {mv[0] * x + mv[4] * y + mv[8] * z + mv[12],
                mv[1] * x + mv[5] * y + mv[9] * z + mv[13],
                mv[2] * x + mv[6] * y + mv[10] * z + mv[14]};
    }
};

void MarkerLayout::AddSphere(const ScenePoint& p, double radiusPixels, const Frame& f,
                             Share& share) {
    if (share.Canvas.PaintsSpheres()) {
        share.Canvas.Sphere(f.Eye(p), kMarkerStyle.Radius, radiusPixels);
        share.Lists.Painted.push_back(p);
        return;
    }
    const int level = LevelFor(radiusPixels);
    if (level < 0) {
        share.Lists.Full.push_back(p);
    } else {
        share.Lists.ByLevel[level].push_back(p);
    }
}

void MarkerLayout::Plan(const std::vector<ScenePoint>& path, const MarkerView& view,
                        MarkerPlan& plan, MarkerParts parts) {
    plan.Painted.clear();
    for (auto& level : plan.ByLevel) level.clear();
    plan.Full.clear();
    plan.Pixels.Width = plan.Pixels.Height = 0;
    plan.Segments.clear();
    const double* pr = view.Projection.data();
    const int width = view.Viewport[2], height = view.Viewport[3];
    if (width <= 0 || height <= 0) return;
    Frame f{};
    f.Modelview = view.Modelview.data();
    f.Projection = pr;
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k) sum += pr[k * 4 + row] * view.Modelview[column * 4 + k];
            f.Clip[column * 4 + row] = sum;
        }
    }
    f.Width = width;
    f.Height = height;
    // The cells grow with the spheres: a sphere of radius r pixels at the distance of the
    // scene's centre gets cells of at most r (a power of two, up to 8), so that the number of
    // spheres kept, and the memory the cells take, follow the picture rather than the window's
    // size. Two centres in one cell lie within 1.4 r of one another, and the one kept is the
    // nearer: it covers most of the other, and where a path crowds, the other's neighbours
    // cover the rest.
    const double* mv = view.Modelview.data();
    const double centreDistance = std::sqrt(mv[12] * mv[12] + mv[13] * mv[13] + mv[14] * mv[14]);
    f.CellShift = 0;
    if (centreDistance > 0.0) {
        const double typical =
            kMarkerStyle.Radius *
            std::max(std::fabs(pr[0]) * 0.5 * width, std::fabs(pr[5]) * 0.5 * height) /
            centreDistance;
        while (f.CellShift < 3 && typical >= 2 << f.CellShift) ++f.CellShift;
    }
    const int cellsAcross = ((width - 1) >> f.CellShift) + 1;
    const int cellsDown = ((height - 1) >> f.CellShift) + 1;
    f.TilesAcross = (static_cast<std::size_t>(cellsAcross) + 3) / 4;
    f.HalfW = 0.5 * width;
    f.HalfH = 0.5 * height;
    f.Scale = std::max(std::fabs(pr[0]) * f.HalfW, std::fabs(pr[5]) * f.HalfH);
    f.NearW = pr[11] != 0.0 && pr[10] != 1.0 ? pr[14] / (pr[10] - 1.0) : 0.0;
    f.Parts = parts;
    const std::size_t cells = f.TilesAcross * ((static_cast<std::size_t>(cellsDown) + 3) / 4) * 16;

    const std::size_t n = path.size();
    const std::size_t limit =
        shareLimit_ > 0
            ? shareLimit_
            : std::min<std::size_t>(kMaxShares, std::max(1u, std::thread::hardware_concurrency()));
    const std::size_t count = std::max<std::size_t>(1, std::min(limit, n / kPointsPerShare));
    // Painting is worth sharing out long before planning is: a few thousand spheres the size of
    // a large window's take milliseconds each band.
    const std::size_t bands = n >= kPointsPerBand ? std::max<std::size_t>(count, limit) : count;
    if (shares_.size() < bands) shares_.resize(bands);
    for (std::size_t k = 0; k < bands; ++k) {
        Share& share = shares_[k];
        if (k < count && share.Cells.size() != cells) {
            share.Cells.assign(cells, Nearest{0.0f, kNone});
            share.Touched.clear();
        }
        share.Canvas.Begin(width, height, view.Projection);
        share.Lists.Painted.clear();
        for (auto& level : share.Lists.ByLevel) level.clear();
        share.Lists.Full.clear();
        share.Lists.Segments.clear();
        share.Lines.clear();
    }
    // Each share runs its work on a thread of its own, the first on this one, and so does any
    // share that gets no thread (none to be had).
    auto inShares = [&](std::size_t tasks, auto work) {
        std::vector<std::thread> others;
        std::size_t k = 1;
        try {
            others.reserve(tasks);
            for (; k < tasks; ++k) others.emplace_back(work, k);
        } catch (const std::exception&) {
        }
        for (std::size_t rest = k; rest < tasks; ++rest) work(rest);
        work(std::size_t{0});
        for (std::thread& t : others) t.join();
    };

    inShares(count, [&](std::size_t k) {
        PlanShare(path, n * k / count, n * (k + 1) / count, f, shares_[k]);
    });

    // The nearest centre per cell over all shares; on equal depth the earlier marker, as
    // one share alone keeps it.
    Share& first = shares_[0];
    for (std::size_t k = 1; k < count; ++k) {
        for (std::uint32_t c : shares_[k].Touched) {
            Nearest& mine = first.Cells[c];
            Nearest& other = shares_[k].Cells[c];
            if (mine.Owner == kNone) {
                mine = other;
                first.Touched.push_back(c);
            } else if (other.Depth < mine.Depth) {
                mine = other;
            }
            other.Owner = kNone;
        }
        shares_[k].Touched.clear();
    }
    // The kept spheres from near to far, so that a canvas passes over those hidden behind what
    // it has painted. Each share paints every sphere within its own band of rows, so that it
    // sees all that hide one another there, and lists every bands-th sphere.
    const std::vector<std::uint32_t>& owners = first.Touched;
    OrderNearToFar(first.Cells, owners);
    const std::size_t m = order_.size();
    auto bandStart = [&](std::size_t k) {
        return k == bands ? height : static_cast<int>(height * k / bands) & ~3;
    };
    inShares(bands, [&](std::size_t k) {
        Share& share = shares_[k];
        const int from = bandStart(k), to = bandStart(k + 1) - 1;
        for (std::size_t j = 0; j < m; ++j) {
            const Nearest& cell = first.Cells[order_[j]];
            const ScenePoint& p = path[cell.Owner];
            const double r = kMarkerStyle.Radius * f.Scale / cell.Depth;
            const bool listed = j % bands == k;
            if (share.Canvas.PaintsSpheres()) {
                share.Canvas.Sphere(f.Eye(p), kMarkerStyle.Radius, r, from, to);
                if (listed) share.Lists.Painted.push_back(p);
            } else if (listed) {
                AddSphere(p, r, f, share);
            }
        }
    });
    for (std::size_t k = 1; k < bands; ++k) first.Canvas.Absorb(shares_[k].Canvas);
    // Then the line, over what the spheres hide: the shares find the pixels of equal parts of
    // it side by side, all against the spheres in the first canvas, which then paints them.
    first.Canvas.Settle();
    inShares(bands, [&](std::size_t k) {
        LinePixels& found = shares_[k].Shown;
        found.Clear();
        for (std::size_t s = 0; s < count; ++s) {
            const std::vector<WindowPoint>& lines = shares_[s].Lines;
            const std::size_t pairs = lines.size() / 2;
            const std::size_t begin = pairs * k / bands, end = pairs * (k + 1) / bands;
            first.Canvas.SegmentPixels(lines.data() + 2 * begin, 2 * (end - begin), found);
        }
    });
    for (std::size_t k = 0; k < bands; ++k) first.Canvas.Paint(shares_[k].Shown);
    for (std::uint32_t c : owners) first.Cells[c].Owner = kNone;
    first.Touched.clear();

    for (std::size_t k = 0; k < bands; ++k) {
        const MarkerPlan& lists = shares_[k].Lists;
        auto append = [](std::vector<ScenePoint>& to, const std::vector<ScenePoint>& from) {
            to.insert(to.end(), from.begin(), from.end());
        };
        append(plan.Painted, lists.Painted);
        for (std::size_t level = 0; level < plan.ByLevel.size(); ++level)
            append(plan.ByLevel[level], lists.ByLevel[level]);
        append(plan.Full, lists.Full);
        append(plan.Segments, lists.Segments);
    }
    first.Canvas.SizeImage(plan.Pixels);
    inShares(bands, [&](std::size_t k) {
        first.Canvas.CollectRows(plan.Pixels, bandStart(k), bandStart(k + 1) - 1);
    });
    first.Canvas.EndCollect();
}

void MarkerLayout::OrderNearToFar(const std::vector<Nearest>& cells,
                                  const std::vector<std::uint32_t>& owners) {
    // By a counting sort on depth in buckets: the order needs to be only about right, and a
    // full sort of a million cells would cost more than the painting it saves.
    constexpr std::size_t kBuckets = 1024;
    order_.resize(owners.size());
    if (owners.empty()) return;
    float least = cells[owners[0]].Depth, most = least;
    for (std::uint32_t c : owners) {
        least = std::min(least, cells[c].Depth);
        most = std::max(most, cells[c].Depth);
    }
    const double scale = most > least ? (kBuckets - 1) / (static_cast<double>(most) - least) : 0.0;
    auto bucket = [&](std::uint32_t c) {
        return static_cast<std::size_t>((cells[c].Depth - least) * scale);
    };
    std::array<std::size_t, kBuckets + 1> start{};
    for (std::uint32_t c : owners) ++start[bucket(c) + 1];
    for (std::size_t b = 1; b <= kBuckets; ++b) start[b] += start[b - 1];
    for (std::uint32_t c : owners) order_[start[bucket(c)]++] = c;
}

void MarkerLayout::PlanShare(const std::vector<ScenePoint>& path, std::size_t begin,
                             std::size_t end, const Frame& f, Share& share) const {
    const double* m = f.Clip.data();
    const MarkerParts parts = f.Parts;
    struct Projected {
        double X, Y, W, InverseW;
        WindowPoint At;
        bool OnScreen;
    };
    auto project = [&](const ScenePoint& p) {
        const double x = p.X, y = p.Y, z = p.Z;
        const double cx = m[0] * x + m[4] * y + m[8] * z + m[12];
        const double cy = m[1] * x + m[5] * y + m[9] * z + m[13];
        const double cz = m[2] * x + m[6] * y + m[10] * z + m[14];
        const double cw = m[3] * x + m[7] * y + m[11] * z + m[15];
        const double inverseW = 1.0 / cw;
        const double sx = (cx * inverseW + 1.0) * f.HalfW;
        const double sy = (cy * inverseW + 1.0) * f.HalfH;
        const double sz = 0.5 * cz * inverseW + 0.5;
        // Between the near and the far plane, at a position of useful size (not a number fails).
        const bool onScreen =
            cw > 0.0 && sz >= 0.0 && sz <= 1.0 && std::fabs(sx) < 1e7 && std::fabs(sy) < 1e7;
        return Projected{sx,
                         sy,
                         cw,
                         inverseW,
                         {static_cast<float>(sx), static_cast<float>(sy), static_cast<float>(sz)},
                         onScreen};
    };

    // The line: the last vertex kept (its index, window position and whether it has a useful
    // one), and the vertex left out since, if any. A share after the first starts from the
    // vertex before its own.
    constexpr std::size_t kNoVertex = std::numeric_limits<std::size_t>::max();
    std::size_t kept = kNoVertex, leftOut = kNoVertex;
    bool keptOnScreen = false;
    WindowPoint keptAt, leftOutAt;
    if (begin > 0 && begin < end) {
        const Projected q = project(path[begin - 1]);
        kept = begin - 1;
        keptAt = q.At;
        keptOnScreen = q.OnScreen;
    }
    // The line between two markers shows only outside their spheres: a point inside a sphere
    // lies behind its surface, which has the line's colour. So the part of a segment within
    // either end's sphere is left out, and a segment no longer than a diameter goes entirely:
    // a path of steps smaller than its spheres costs next to nothing. (The modelview keeps
    // lengths, as the spheres' radius in eye space assumes.)
    auto addLine = [&](const WindowPoint& a, const WindowPoint& b) {
        share.Lines.push_back(a);
        share.Lines.push_back(b);
    };
    auto PaintSegment = [&](const ScenePoint& a, const ScenePoint& b, const WindowPoint& wa,
                            const WindowPoint& wb) {
        if (!parts.Spheres) {
            addLine(wa, wb);
            return;
        }
        const float dx = b.X - a.X, dy = b.Y - a.Y, dz = b.Z - a.Z;
        const float squared = dx * dx + dy * dy + dz * dz;
        if (!(squared > 4.0f * kMarkerStyle.Radius * kMarkerStyle.Radius)) return;
        // The cut ends taken along the segment on screen, where perspective moves them by a
        // small part of the sphere's radius: they stay within the end spheres' discs.
        const float ft = kMarkerStyle.Radius / std::sqrt(squared);
        auto at = [ft](const WindowPoint& p, const WindowPoint& q) {
            return WindowPoint{p.X + ft * (q.X - p.X), p.Y + ft * (q.Y - p.Y),
                               p.Z + ft * (q.Z - p.Z)};
        };
        addLine(at(wa, wb), at(wb, wa));
    };
    // The pixel of a position on screen (within 1e7 of the viewport).
    auto pixelOf = [](double v) {
        const int t = static_cast<int>(v);
        return t - (t > v ? 1 : 0);
    };
    int keptColumn = 0, keptRow = 0;
    auto lineTo = [&](std::size_t i, bool onScreen, const WindowPoint& w) {
        if (!parts.Line) return;
        const int column = onScreen ? pixelOf(w.X) : 0, row = onScreen ? pixelOf(w.Y) : 0;
        if (onScreen && keptOnScreen && i + 1 < end && column == keptColumn && row == keptRow) {
            leftOut = i;
            leftOutAt = w;
            return;
        }
        if (kept != kNoVertex) {
            if (onScreen && keptOnScreen) {
                PaintSegment(path[kept], path[i], keptAt, w);
            } else {
                // Cut by the near plane: from where the line really was.
                std::size_t from = kept;
                if (leftOut != kNoVertex) {
                    addLine(keptAt, leftOutAt);
                    from = leftOut;
                }
                share.Lists.Segments.push_back(path[from]);
                share.Lists.Segments.push_back(path[i]);
            }
        }
        kept = i;
        keptAt = w;
        keptOnScreen = onScreen;
        keptColumn = column;
        keptRow = row;
        leftOut = kNoVertex;
    };

    // The markers go in blocks: a block is projected first and the cells its centres fall on
    // are fetched ahead, so that the walk through the cells waits for memory once a block
    // rather than once a marker.
    constexpr std::size_t kBlock = 64;
    std::array<Projected, kBlock> block;
    const Nearest* cells = share.Cells.data();
    for (std::size_t i = begin; i < end; ++i) {
        const std::size_t inBlock = (i - begin) % kBlock;
        if (inBlock == 0) {
            for (std::size_t j = i; j < std::min(end, i + kBlock); ++j) {
                const Projected& q = block[j - i] = project(path[j]);
                if (q.X >= 0.0 && q.Y >= 0.0 && q.X < f.Width && q.Y < f.Height) {
                    const int cx = static_cast<int>(q.X) >> f.CellShift;
                    const int cy = static_cast<int>(q.Y) >> f.CellShift;
                    __builtin_prefetch(&cells[TiledCell(cx, cy, f.TilesAcross)], 1);
                }
            }
        }
        const ScenePoint& p = path[i];
        if (i > 0 && Same(p, path[i - 1])) continue;  // the same sphere again, a line of no length
        const Projected& q = block[inBlock];
        lineTo(i, q.OnScreen, q.At);
        if (!parts.Spheres) continue;
        const double cw = q.W, sx = q.X, sy = q.Y;
        if (!std::isfinite(cw) || cw + kMarkerStyle.Radius <= f.NearW) continue;  // before the eye
        // Across the near plane the projection of the centre says little: draw in full.
        if (!(cw > f.NearW + kMarkerStyle.Radius) || !(cw > 0.0)) {
            share.Lists.Full.push_back(p);
            continue;
        }
        const double r = kMarkerStyle.Radius * f.Scale * q.InverseW;
        if (!(sx > -r - 1.0 && sx < f.Width + r + 1.0 && sy > -r - 1.0 &&
              sy < f.Height + r + 1.0)) {
            continue;  // entirely off the viewport (or not a number)
        }
        const int px = pixelOf(sx), py = pixelOf(sy);
        if (px < 0 || py < 0 || px >= f.Width || py >= f.Height) {
            AddSphere(p, r, f, share);  // centre off the viewport, some of the sphere on it
            continue;
        }
        Nearest& cell = share.Cells[TiledCell(px >> f.CellShift, py >> f.CellShift, f.TilesAcross)];
        const float depth = static_cast<float>(cw);
        if (cell.Owner == kNone) {
            cell = {depth, static_cast<std::uint32_t>(i)};
            share.Touched.push_back(static_cast<std::uint32_t>(&cell - share.Cells.data()));
        } else if (depth < cell.Depth) {
            cell = {depth, static_cast<std::uint32_t>(i)};
        }
    }
}

SphereMesh MakeSphereMesh(int slices, int stacks, float radius) {
    SphereMesh mesh;
    // Rings from the top (+z) to the bottom; each ring repeats no vertex.
    for (int j = 0; j <= stacks; ++j) {
        const double phi = kPi * j / stacks;
        for (int i = 0; i < slices; ++i) {
            const double theta = 2.0 * kPi * i / slices;
            mesh.Positions.push_back(static_cast<float>(radius * std::sin(phi) * std::cos(theta)));
            mesh.Positions.push_back(static_cast<float>(radius * std::sin(phi) * std::sin(theta)));
            mesh.Positions.push_back(static_cast<float>(radius * std::cos(phi)));
        }
    }
    auto at = [slices](int j, int i) {
        return static_cast<std::uint32_t>(j * slices + i % slices);
    };
    for (int j = 0; j < stacks; ++j) {
        for (int i = 0; i < slices; ++i) {
            // Seen from outside, going round with theta runs counter-clockwise about +z.
            const std::uint32_t a = at(j, i), b = at(j + 1, i), c = at(j + 1, i + 1),
                                d = at(j, i + 1);
            if (j > 0) mesh.Indices.insert(mesh.Indices.end(), {a, b, d});
            if (j < stacks - 1) mesh.Indices.insert(mesh.Indices.end(), {b, c, d});
        }
    }
    return mesh;
}

}  // namespace quarmel
