#include "MarkerLayout.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace quarmel {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();

bool Same(const ScenePoint& a, const ScenePoint& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

std::size_t MarkerPlan::Count() const {
    std::size_t n = Painted.size() + Full.size();
    for (const auto& level : ByLevel) n += level.size();
    return n;
}

int MarkerLayout::LevelFor(double radiusPixels) {
    for (std::size_t k = 0; k < kSphereLevels.size(); ++k) {
        const double gap = radiusPixels * (1.0 - std::cos(kPi / kSphereLevels[k]));
        if (gap <= kOutlineTolerance) return static_cast<int>(k);
    }
    return -1;
}

void MarkerLayout::Plan(const std::vector<ScenePoint>& path, const MarkerView& view,
                        MarkerPlan& plan, MarkerParts parts) {
    plan.Painted.clear();
    for (auto& level : plan.ByLevel) level.clear();
    plan.Full.clear();
    plan.Pixels.clear();
    plan.Segments.clear();
    const double* mv = view.Modelview.data();
    const double* pr = view.Projection.data();
    const int width = view.Viewport[2], height = view.Viewport[3];
    if (width <= 0 || height <= 0) return;
    const std::size_t tilesAcross = (static_cast<std::size_t>(width) + 3) / 4;
    const std::size_t cells = tilesAcross * ((static_cast<std::size_t>(height) + 3) / 4) * 16;
    if (nearest_.size() != cells) {
        nearest_.assign(cells, Nearest{0.0f, kNone});
        touched_.clear();
    }
    canvas_.Begin(width, height, view.Projection);
    // Pixels per unit of normalised device coordinates, and the projection's scale of a length
    // at unit distance: a sphere's radius on screen is radius * scale / w.
    const double halfW = 0.5 * width, halfH = 0.5 * height;
    const double scale = std::max(std::fabs(pr[0]) * halfW, std::fabs(pr[5]) * halfH);
    // The clip-space w of a point at the near plane, for a perspective projection.
    const double nearW = pr[11] != 0.0 && pr[10] != 1.0 ? pr[14] / (pr[10] - 1.0) : 0.0;

    auto eye = [mv](const ScenePoint& p) {
        const double x = p.X, y = p.Y, z = p.Z;
        return std::array<double, 3>{mv[0] * x + mv[4] * y + mv[8] * z + mv[12],
                                     mv[1] * x + mv[5] * y + mv[9] * z + mv[13],
                                     mv[2] * x + mv[6] * y + mv[10] * z + mv[14]};
    };
    auto add = [&](const ScenePoint& p, double radiusPixels) {
        if (radiusPixels <= kPaintedSphereRadius && canvas_.PaintsSpheres()) {
            canvas_.Sphere(eye(p), kMarkerRadius, radiusPixels);
            plan.Painted.push_back(p);
            return;
        }
        const int level = MarkerLayout::LevelFor(radiusPixels);
        if (level < 0) {
            plan.Full.push_back(p);
        } else {
            plan.ByLevel[level].push_back(p);
        }
    };

    // The line: the last vertex kept (its index, window position and whether it has a useful
    // one), and the vertex left out since, if any.
    const std::size_t n = path.size();
    constexpr std::size_t kNoVertex = std::numeric_limits<std::size_t>::max();
    std::size_t kept = kNoVertex, leftOut = kNoVertex;
    bool keptOnScreen = false;
    WindowPoint keptAt, leftOutAt;
    auto lineTo = [&](std::size_t i, bool onScreen, const WindowPoint& w) {
        if (!parts.Line) return;
        if (onScreen && keptOnScreen && i + 1 < n && FloorOf(w.X) == FloorOf(keptAt.X) &&
            FloorOf(w.Y) == FloorOf(keptAt.Y)) {
            leftOut = i;
            leftOutAt = w;
            return;
        }
        if (kept != kNoVertex) {
            if (onScreen && keptOnScreen) {
                canvas_.Segment(keptAt, w);
            } else {
                // Cut by the near plane: from where the line really was.
                std::size_t from = kept;
                if (leftOut != kNoVertex) {
                    canvas_.Segment(keptAt, leftOutAt);
                    from = leftOut;
                }
                plan.Segments.push_back(path[from]);
                plan.Segments.push_back(path[i]);
            }
        }
        kept = i;
        keptAt = w;
        keptOnScreen = onScreen;
        leftOut = kNoVertex;
    };

    for (std::size_t i = 0; i < n; ++i) {
        const ScenePoint& p = path[i];
        if (i > 0 && Same(p, path[i - 1])) continue;  // the same sphere again, a line of no length
        const std::array<double, 3> e = eye(p);
        const double cx = pr[0] * e[0] + pr[4] * e[1] + pr[8] * e[2] + pr[12];
        const double cy = pr[1] * e[0] + pr[5] * e[1] + pr[9] * e[2] + pr[13];
        const double cz = pr[2] * e[0] + pr[6] * e[1] + pr[10] * e[2] + pr[14];
        const double cw = pr[3] * e[0] + pr[7] * e[1] + pr[11] * e[2] + pr[15];
        const double inverseW = 1.0 / cw;
        const double sx = (cx * inverseW + 1.0) * halfW;
        const double sy = (cy * inverseW + 1.0) * halfH;
        const double sz = 0.5 * cz * inverseW + 0.5;
        // Between the near and the far plane, at a position of useful size (not a number fails).
        const bool onScreen =
            cw > 0.0 && sz >= 0.0 && sz <= 1.0 && std::fabs(sx) < 1e7 && std::fabs(sy) < 1e7;
        lineTo(i, onScreen,
               {static_cast<float>(sx), static_cast<float>(sy), static_cast<float>(sz)});
        if (!parts.Spheres) continue;
        if (!std::isfinite(cw) || cw + kMarkerRadius <= nearW) continue;  // before the eye
        // Across the near plane the projection of the centre says little: draw in full.
        if (!(cw > nearW + kMarkerRadius) || !(cw > 0.0)) {
            plan.Full.push_back(p);
            continue;
        }
        const double r = kMarkerRadius * scale * inverseW;
        if (!(sx > -r - 1.0 && sx < width + r + 1.0 && sy > -r - 1.0 && sy < height + r + 1.0)) {
            continue;  // entirely off the viewport (or not a number)
        }
        const int px = static_cast<int>(FloorOf(sx));
        const int py = static_cast<int>(FloorOf(sy));
        if (px < 0 || py < 0 || px >= width || py >= height) {
            add(p, r);  // centre off the viewport, some of the sphere on it
            continue;
        }
        Nearest& cell = nearest_[TiledCell(px, py, tilesAcross)];
        const float depth = static_cast<float>(cw);
        if (cell.Owner == kNone) {
            cell = {depth, static_cast<std::uint32_t>(i)};
            touched_.push_back(static_cast<std::uint32_t>(&cell - nearest_.data()));
        } else if (depth < cell.Depth) {
            cell = {depth, static_cast<std::uint32_t>(i)};
        }
    }
    for (std::uint32_t c : touched_) {
        Nearest& cell = nearest_[c];
        add(path[cell.Owner], kMarkerRadius * scale / cell.Depth);
        cell.Owner = kNone;
    }
    touched_.clear();
    canvas_.Collect(plan.Pixels);
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
