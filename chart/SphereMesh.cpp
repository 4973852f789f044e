#include "chart/MarkerLayout.h"

#include <cmath>

namespace quarmel {

namespace {
constexpr double kPi = 3.14159265358979323846;
}  // namespace

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
