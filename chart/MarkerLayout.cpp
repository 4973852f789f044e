#include "chart/MarkerLayout.h"

#include "chart/MarkerProjection.h"

#include <algorithm>
#include <cmath>
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
// A path longer than this has its line found in parts of this many markers, after the spheres:
// the segments of millions of markers would otherwise be held all at once (24 bytes each).
constexpr std::size_t kLineChunk = 1 << 20;
constexpr std::size_t kMaxPaths = 1 << 16;

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
    // Only the line's segments are collected: the spheres were planned before.
    bool LineOnly = false;
    // Spheres are painted on canvases (rather than drawn as meshes).
    bool Paints = false;

    std::array<double, 3> Eye(const ScenePoint& p) const {
        const double* mv = Modelview;
        const double x = p.X, y = p.Y, z = p.Z;
        return {mv[0] * x + mv[4] * y + mv[8] * z + mv[12],
                mv[1] * x + mv[5] * y + mv[9] * z + mv[13],
                mv[2] * x + mv[6] * y + mv[10] * z + mv[14]};
    }
};

void MarkerLayout::ListSphere(const ScenePoint& p, double radiusPixels, MarkerPlan& lists) {
    const int level = LevelFor(radiusPixels);
    if (level < 0) {
        lists.Full.push_back(p);
    } else {
        lists.ByLevel[level].push_back(p);
    }
}

void MarkerLayout::Plan(const std::vector<ScenePoint>& path, const MarkerView& view,
                        MarkerPlan& plan, MarkerParts parts) {
    Plan(std::vector<const std::vector<ScenePoint>*>{&path}, view, std::vector<MarkerPlan*>{&plan},
         parts);
}

void MarkerLayout::Plan(const std::vector<const std::vector<ScenePoint>*>& paths,
                        const MarkerView& view, const std::vector<MarkerPlan*>& plans,
                        MarkerParts parts) {
    // A pixel's path is marked in 16 bits: more paths than that are not planned.
    const std::size_t lanes = std::min({paths.size(), plans.size(), kMaxPaths});
    for (MarkerPlan* plan : plans) {
        plan->Painted.clear();
        for (auto& level : plan->ByLevel) level.clear();
        plan->Full.clear();
        plan->Pixels.Width = plan->Pixels.Height = 0;
        plan->Segments.clear();
    }
    const double* pr = view.Projection.data();
    const int width = view.Viewport[2], height = view.Viewport[3];
    if (width <= 0 || height <= 0 || lanes == 0) return;
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
    auto inChunks = [&](std::size_t p) {
        return parts.Line && parts.Spheres && paths[p]->size() > kLineChunk;
    };
    Frame noLine = f;
    noLine.Parts.Line = false;
    const std::size_t cells = f.TilesAcross * ((static_cast<std::size_t>(cellsDown) + 3) / 4) * 16;

    // The owners of path p's markers start at starts_[p].
    starts_.assign(1, 0);
    for (std::size_t p = 0; p < lanes; ++p) {
        starts_.push_back(starts_.back() + static_cast<std::uint32_t>(paths[p]->size()));
    }
    const std::size_t n = starts_.back();
    const std::size_t limit =
        shareLimit_ > 0
            ? shareLimit_
            : std::min<std::size_t>(kMaxShares, std::max(1u, std::thread::hardware_concurrency()));
    const std::size_t count = std::max<std::size_t>(1, std::min(limit, n / kPointsPerShare));
    // Painting is worth sharing out long before planning is: a few thousand spheres the size of
    // a large window's take milliseconds each band. The bands are dealt out among the paths.
    const std::size_t bands = n >= kPointsPerBand ? std::max<std::size_t>(count, limit) : count;
    if (shares_.size() < bands) shares_.resize(bands);
    for (std::size_t k = 0; k < bands; ++k) {
        Share& share = shares_[k];
        if (k < count && share.Cells.size() != cells) {
            share.Cells.assign(cells, Nearest{0.0f, kNone});
            share.Touched.clear();
        }
        share.Canvas.Begin(width, height, view.Projection);
        // Several paths share the canvases, each pixel marked with its path.
        if (lanes > 1) share.Canvas.SetOwner(0);
    }
    f.Paints = noLine.Paints = shares_[0].Canvas.PaintsSpheres();
    // What share k found of path p, and what band k painted of it, is partOf(p, k).
    if (parts_.size() < lanes * bands) parts_.resize(lanes * bands);
    for (std::size_t j = 0; j < lanes * bands; ++j) {
        Part& part = parts_[j];
        part.Lists.Painted.clear();
        for (auto& level : part.Lists.ByLevel) level.clear();
        part.Lists.Full.clear();
        part.Lists.Segments.clear();
        part.Lines.clear();
        part.Alone.clear();
        part.Shown.Clear();
    }
    auto partOf = [&](std::size_t p, std::size_t k) -> Part& { return parts_[p * bands + k]; };
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
        for (std::size_t p = 0; p < lanes; ++p) {
            const std::size_t size = paths[p]->size();
            // At most a segment per marker: room for all at once rather than growing as they
            // come.
            if (f.Parts.Line && !inChunks(p))
                partOf(p, k).Lines.reserve(2 * (size * (k + 1) / count - size * k / count));
            PlanShare(*paths[p], size * k / count, size * (k + 1) / count, starts_[p],
                      inChunks(p) ? noLine : f, shares_[k], partOf(p, k));
        }
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
            } else if (other.Depth < mine.Depth ||
                       (other.Depth == mine.Depth && other.Owner < mine.Owner)) {
                mine = other;
            }
            other.Owner = kNone;
        }
        shares_[k].Touched.clear();
    }
    // The kept spheres from near to far, so that a canvas passes over those hidden behind what
    // it has painted, whichever path they belong to. Each share paints every sphere within its
    // own band of rows, so that it sees all that hide one another there, and lists every
    // bands-th sphere.
    const std::vector<std::uint32_t>& owners = first.Touched;
    OrderNearToFar(first.Cells, owners);
    const std::size_t m = order_.size();
    auto bandStart = [&](std::size_t k) {
        return k == bands ? height : static_cast<int>(height * k / bands) & ~3;
    };
    inShares(bands, [&](std::size_t k) {
        PixelCanvas& canvas = shares_[k].Canvas;
        const int from = bandStart(k), to = bandStart(k + 1) - 1;
        // The spheres planned on their own first, listed by the band of the share that found
        // them.
        for (std::size_t p = 0; p < lanes; ++p) {
            if (lanes > 1) canvas.SetOwner(static_cast<std::uint16_t>(p));
            for (std::size_t s = 0; s < count; ++s) {
                for (const auto& [i, r] : partOf(p, s).Alone) {
                    canvas.Sphere(f.Eye((*paths[p])[i]), kMarkerStyle.Radius, r, from, to);
                    if (s == k) partOf(p, k).Lists.Painted.push_back((*paths[p])[i]);
                }
            }
        }
        std::size_t p = 0;
        for (std::size_t j = 0; j < m; ++j) {
            const Nearest& cell = first.Cells[order_[j]];
            if (lanes > 1) {
                p = 0;
                while (cell.Owner >= starts_[p + 1]) ++p;
                canvas.SetOwner(static_cast<std::uint16_t>(p));
            }
            const ScenePoint& point = (*paths[p])[cell.Owner - starts_[p]];
            const double r = kMarkerStyle.Radius * f.Scale / cell.Depth;
            const bool listed = j % bands == k;
            if (canvas.PaintsSpheres()) {
                canvas.Sphere(f.Eye(point), kMarkerStyle.Radius, r, from, to);
                if (listed) partOf(p, k).Lists.Painted.push_back(point);
            } else if (listed) {
                ListSphere(point, r, partOf(p, k).Lists);
            }
        }
    });
    for (std::size_t k = 1; k < bands; ++k) first.Canvas.Absorb(shares_[k].Canvas);
    // Then each path's line, over what the spheres of all hide: the shares find the pixels of
    // equal parts of it side by side, all against the spheres in the first canvas, which then
    // paints them.
    first.Canvas.Settle();
    // The lines of paths from to to - 1.
    auto findLine = [&](std::size_t from, std::size_t to) {
        inShares(bands, [&](std::size_t k) {
            for (std::size_t p = from; p < to; ++p) {
                for (std::size_t s = 0; s < count; ++s) {
                    const std::vector<WindowPoint>& lines = partOf(p, s).Lines;
                    const std::size_t pairs = lines.size() / 2;
                    const std::size_t begin = pairs * k / bands, end = pairs * (k + 1) / bands;
                    first.Canvas.SegmentPixels(lines.data() + 2 * begin, 2 * (end - begin),
                                               partOf(p, k).Shown);
                }
            }
        });
    };
    bool allInChunks = true;
    for (std::size_t p = 0; p < lanes; ++p) allInChunks = allInChunks && inChunks(p);
    if (!allInChunks) findLine(0, lanes);
    Frame lineFrame = f;
    lineFrame.LineOnly = true;
    for (std::size_t p = 0; p < lanes; ++p) {
        const std::vector<ScenePoint>& path = *paths[p];
        for (std::size_t from = 0; inChunks(p) && from < path.size(); from += kLineChunk) {
            const std::size_t to = std::min(path.size(), from + kLineChunk), size = to - from;
            inShares(count, [&](std::size_t k) {
                partOf(p, k).Lines.clear();
                partOf(p, k).Lines.reserve(2 * (size * (k + 1) / count - size * k / count));
                PlanShare(path, from + size * k / count, from + size * (k + 1) / count, starts_[p],
                          lineFrame, shares_[k], partOf(p, k));
            });
            findLine(p, p + 1);
        }
    }
    for (std::size_t p = 0; p < lanes; ++p) {
        if (lanes > 1) first.Canvas.SetOwner(static_cast<std::uint16_t>(p));
        for (std::size_t k = 0; k < bands; ++k) first.Canvas.Paint(partOf(p, k).Shown);
    }
    for (std::uint32_t c : owners) first.Cells[c].Owner = kNone;
    first.Touched.clear();

    auto append = [](std::vector<ScenePoint>& to, const std::vector<ScenePoint>& from) {
        to.insert(to.end(), from.begin(), from.end());
    };
    for (std::size_t p = 0; p < lanes; ++p) {
        MarkerPlan& plan = *plans[p];
        for (std::size_t k = 0; k < bands; ++k) {
            const MarkerPlan& lists = partOf(p, k).Lists;
            append(plan.Painted, lists.Painted);
            for (std::size_t level = 0; level < plan.ByLevel.size(); ++level)
                append(plan.ByLevel[level], lists.ByLevel[level]);
            append(plan.Full, lists.Full);
            append(plan.Segments, lists.Segments);
        }
        if (lanes > 1) {
            first.Canvas.SizeOwnedImage(static_cast<std::uint16_t>(p), plan.Pixels);
        } else {
            first.Canvas.SizeImage(plan.Pixels);
        }
    }
    images_.clear();
    for (std::size_t p = 0; p < lanes; ++p) images_.push_back(&plans[p]->Pixels);
    inShares(bands, [&](std::size_t k) {
        if (lanes > 1) {
            first.Canvas.CollectOwnedRows(images_, bandStart(k), bandStart(k + 1) - 1);
        } else {
            first.Canvas.CollectRows(plans[0]->Pixels, bandStart(k), bandStart(k + 1) - 1);
        }
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
                             std::size_t end, std::uint32_t offset, const Frame& f, Share& share,
                             Part& out) const {
    const MarkerParts parts = f.Parts;
    const Projection projection{f.Clip.data(),       f.Width, f.Height, f.HalfW,     f.HalfH,
                                kMarkerStyle.Radius, f.Scale, f.NearW,  f.CellShift, f.TilesAcross};
    ProjectedBlock block;
    auto at = [&block](std::size_t e) {
        return WindowPoint{block.AtX[e], block.AtY[e], block.AtZ[e]};
    };

    // The line: the last vertex kept (its index, window position and whether it has a useful
    // one), and the vertex left out since, if any. A share after the first starts from the
    // vertex before its own.
    constexpr std::size_t kNoVertex = std::numeric_limits<std::size_t>::max();
    std::size_t kept = kNoVertex, leftOut = kNoVertex;
    bool keptOnScreen = false;
    WindowPoint keptAt, leftOutAt;
    int keptColumn = 0, keptRow = 0;
    auto addLine = [&](const WindowPoint& a, const WindowPoint& b) {
        out.Lines.push_back(a);
        out.Lines.push_back(b);
    };
    // The line between two markers shows only outside their spheres: a point inside a sphere
    // lies behind its surface, which has the line's colour. So the part of a segment within
    // either end's sphere is left out, and a segment no longer than a diameter goes entirely:
    // a path of steps smaller than its spheres costs next to nothing. (The modelview keeps
    // lengths, as the spheres' radius in eye space assumes.) Entry e of the block is marker i.
    auto lineTo = [&](std::size_t i, std::size_t e) {
        const bool onScreen = block.OnScreen[e] != 0;
        const int column = onScreen ? block.AtPixelX[e] : 0, row = onScreen ? block.AtPixelY[e] : 0;
        if (onScreen && keptOnScreen && i + 1 < end && column == keptColumn && row == keptRow) {
            leftOut = i;
            leftOutAt = at(e);
            return;
        }
        if (kept != kNoVertex) {
            if (onScreen && keptOnScreen) {
                WindowPoint from, to;
                if (!parts.Spheres) {
                    addLine(keptAt, at(e));
                } else if (kept + 1 == i && e > 0) {
                    // The segment from the marker before, already cut.
                    if (block.Long[e] != 0) {
                        addLine({block.FromX[e], block.FromY[e], block.FromZ[e]},
                                {block.ToX[e], block.ToY[e], block.ToZ[e]});
                    }
                } else if (CutSegment(path[kept], path[i], keptAt, at(e), kMarkerStyle.Radius, from,
                                      to)) {
                    addLine(from, to);
                }
            } else {
                // Cut by the near plane: from where the line really was.
                std::size_t from = kept;
                if (leftOut != kNoVertex) {
                    addLine(keptAt, leftOutAt);
                    from = leftOut;
                }
                out.Lists.Segments.push_back(path[from]);
                out.Lists.Segments.push_back(path[i]);
            }
        }
        kept = i;
        keptAt = at(e);
        keptOnScreen = onScreen;
        keptColumn = column;
        keptRow = row;
        leftOut = kNoVertex;
    };

    // The markers go in blocks: a block is projected first and the cells its centres fall on
    // are fetched ahead, so that the walk through the cells waits for memory once a block
    // rather than once a marker. A block starts from the marker before its first.
    const Nearest* cells = share.Cells.data();
    for (std::size_t first = begin; first < end; first += kBlockMarkers) {
        const std::size_t last = std::min(end, first + kBlockMarkers) - 1;
        const std::size_t base = first > 0 ? first - 1 : 0;
        ProjectMarkers(&path[base], last - base, projection, block);
        if (first == begin && begin > 0) {
            kept = begin - 1;
            keptAt = at(0);
            keptOnScreen = block.OnScreen[0] != 0;
        }
        for (std::size_t e = first - base; e <= last - base; ++e) {
            if (block.Kind[e] == SphereKind::InCell) __builtin_prefetch(&cells[block.Cell[e]], 1);
        }
        // The line, then the spheres: each loop small enough for the processor to run ahead.
        // A marker repeating the one before is the same sphere again, and a line of no length.
        if (parts.Line) {
            for (std::size_t i = first; i <= last; ++i) {
                if (block.Repeat[i - base] == 0) lineTo(i, i - base);
            }
        }
        if (!parts.Spheres || f.LineOnly) continue;
        for (std::size_t i = first; i <= last; ++i) {
            const std::size_t e = i - base;
            if (block.Repeat[e] != 0) continue;
            const ScenePoint& p = path[i];
            switch (block.Kind[e]) {
                case SphereKind::None:
                    break;
                case SphereKind::Full:
                    out.Lists.Full.push_back(p);
                    break;
                case SphereKind::Alone: {
                    const double r = kMarkerStyle.Radius * f.Scale * block.InverseW[e];
                    if (f.Paints) {
                        out.Alone.emplace_back(static_cast<std::uint32_t>(i), r);
                    } else {
                        ListSphere(p, r, out.Lists);
                    }
                    break;
                }
                case SphereKind::InCell: {
                    Nearest& cell = share.Cells[static_cast<std::size_t>(block.Cell[e])];
                    const float depth = static_cast<float>(block.W[e]);
                    const auto owner = offset + static_cast<std::uint32_t>(i);
                    if (cell.Owner == kNone) {
                        cell = {depth, owner};
                        share.Touched.push_back(static_cast<std::uint32_t>(block.Cell[e]));
                    } else if (depth < cell.Depth) {
                        cell = {depth, owner};
                    }
                    break;
                }
            }
        }
    }
}

}  // namespace quarmel
