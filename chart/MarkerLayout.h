#pragma once

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "chart/ChartTypes.h"
#include "chart/MarkerStyle.h"
#include "chart/PixelCanvas.h"

namespace quarmel {

// How a frame draws many marker spheres at a cost bounded by what is visible. No graphics call:
// SurfaceChart hands in the frame's matrices and draws what comes out.
//
// Every marker is a sphere of one radius and colour (kMarkerStyle), drawn with the depth test, so
// the picture does not depend on the order in which spheres are drawn, and a sphere hidden
// behind a nearer one at about the same screen position adds little. A frame therefore draws,
// for each screen cell a marker's centre falls on, only the nearest marker there (a marker
// repeating the one before it always goes); the cells are a pixel on a small view and grow with
// the spheres on a large one (about a sphere's radius on screen).
//
// With a perspective projection, the spheres and the line are not drawn by the graphics library
// but painted into a PixelCanvas: a sphere as the pixels whose centre sees it, each segment of
// the line by the library's own rule for lines, all at their true depth. The spheres are painted
// from near to far, so one hidden behind those painted before it costs only a test of its screen
// box, at any size on screen: the painting follows what can be seen rather than the window's
// size. The frame then hands the painted pixels to the graphics library as one image of depths,
// bounded by the viewport; what still grows with the path is this planning, linear in its
// length. Other projections draw the spheres as meshes, each with as few segments as its size on
// screen allows (the outline of a sphere with s segments lies within kOutlineTolerance pixels of
// the true circle), and spheres too large for the finest prepared level in full. A segment
// with an end the projection says little about (near or behind the eye, not a number) is left
// to the library, which clips it.
//
// The line is thinned first: a vertex that falls on the pixel of the vertex kept before it is
// left out, which moves the line by at most about a pixel and spares a converging path most of
// its segments. The first and the last vertex always stay.

constexpr double kOutlineTolerance = 0.5;

// The frame's view: column-major matrices as the graphics library reports them, and the
// viewport (x, y, width, height).
struct MarkerView {
    std::array<double, 16> Modelview{};
    std::array<double, 16> Projection{};
    std::array<int, 4> Viewport{};
};

// What one frame draws of a path: the centres of the painted spheres, for each prepared level
// the centres of the spheres drawn at that level, the centres drawn in full, the image of the
// painted pixels (spheres and line) and the segments of the line left to the graphics library,
// in pairs.
struct MarkerPlan {
    std::vector<ScenePoint> Painted;
    std::array<std::vector<ScenePoint>, kMarkerStyle.LevelSlices.size()> ByLevel;
    std::vector<ScenePoint> Full;
    DepthImage Pixels;
    std::vector<ScenePoint> Segments;
    // The number of spheres.
    std::size_t Count() const;
};

// Which parts of the path a frame shows.
struct MarkerParts {
    bool Spheres = true;
    bool Line = true;
};

// Plans a frame's spheres for the path's markers and its line, painting what it can. The
// scratch buffers keep their storage from frame to frame.
class MarkerLayout {
  public:
    // shares: how many threads may plan a long path together; 0 for one per processor.
    explicit MarkerLayout(std::size_t shares = 0) : shareLimit_(shares) {}

    void Plan(const std::vector<ScenePoint>& path, const MarkerView& view, MarkerPlan& plan,
              MarkerParts parts = {});
    // Several paths in one frame, plans[k] for paths[k], each drawn in a colour of its own: a
    // screen cell keeps the nearest centre over all the paths, by the rule one path keeps within
    // itself, and only the plan of that centre's path has it. The paths are painted on one
    // canvas, each pixel marked with the path nearest there, and each plan's image holds its
    // path's pixels: overlapping paths cost about what one path of all their markers costs,
    // and a line passing behind another path's spheres is hidden as behind its own. One path
    // gives what the overload above gives.
    void Plan(const std::vector<const std::vector<ScenePoint>*>& paths, const MarkerView& view,
              const std::vector<MarkerPlan*>& plans, MarkerParts parts = {});

    // The level for a sphere of the given radius in pixels, or -1 for one drawn in full.
    static int LevelFor(double radiusPixels);

  private:
    // Per cell (tiled as TiledCell lays them out), the nearest centre's clip w and its owner (its
    // index in the paths taken one after the other), together so that a marker costs one cache
    // line.
    struct Nearest {
        float Depth;
        std::uint32_t Owner;
    };
    // A long path is planned in shares side by side, one per processor: each share has its own
    // canvas, nearest centres and lists, and the shares are merged at the end. A share's first
    // vertex stays in the line, so the thinning may keep one vertex more per share. A path of a
    // few thousand markers is planned by one share but painted by one per processor: the
    // spheres in bands of rows, then the line in equal parts against all the spheres. The line
    // of a path of millions is found after its spheres, a part of the path at a time, so that
    // its segments are never held all at once; each part starts a share again.
    // Several paths are planned by the same shares, each share a piece of every path, and
    // painted on the same canvases, each pixel marked with its path.
    struct Share {
        PixelCanvas Canvas;
        std::vector<Nearest> Cells;
        std::vector<std::uint32_t> Touched;  // cells given an owner this frame
    };
    // What a share finds of one path besides its cells, and what it paints of it.
    struct Part {
        MarkerPlan Lists;
        // The segments of the line to paint, in pairs: painted after the spheres, they pass
        // over what those hide.
        std::vector<WindowPoint> Lines;
        // The spheres planned on their own that are painted (index, radius in pixels): with the
        // cells, on the canvases.
        std::vector<std::pair<std::uint32_t, double>> Alone;
        LinePixels Shown;  // what shows of this share's part of the line
    };
    struct Frame;
    // Cells go to share's, owned as offset + index; the rest goes to out.
    void PlanShare(const std::vector<ScenePoint>& path, std::size_t begin, std::size_t end,
                   std::uint32_t offset, const Frame& f, Share& share, Part& out) const;
    // Lists a sphere that is not painted, by its size.
    static void ListSphere(const ScenePoint& p, double radiusPixels, MarkerPlan& lists);
    // Fills order_ with the owned cells, nearest first (about: by buckets of depth).
    void OrderNearToFar(const std::vector<Nearest>& cells,
                        const std::vector<std::uint32_t>& owners);
    std::size_t shareLimit_;
    std::vector<Share> shares_;
    std::vector<Part> parts_;  // path by path, a share's after another's
    std::vector<std::uint32_t> order_;
    std::vector<std::uint32_t> starts_;  // the paths' first owners
    std::vector<DepthImage*> images_;
};

// A triangle mesh of a sphere of the given radius about the origin, wound counter-clockwise
// seen from outside: positions (x, y, z) and indices.
struct SphereMesh {
    std::vector<float> Positions;
    std::vector<std::uint32_t> Indices;
};
SphereMesh MakeSphereMesh(int slices, int stacks, float radius);

}  // namespace quarmel
