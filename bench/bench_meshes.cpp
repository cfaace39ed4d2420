// W7 and W8: BuildShapeMask of dense meshes, as modelling tools export them:
// thousands of triangles of a few pixels each. A jittered grid over a blob
// about 900 pixels across, every cell inside it split along a random
// diagonal and each triangle listed in a random winding. W7 has about
// 70,000 triangles of about 6 pixels, W8 about 15,000 of about 12. Each runs
// at margins 1 and 4 with the rectangle fill on, on a mask laid out as the
// demo lays out a mesh, and starts from an empty mask (cleared in the timing).
#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>

#include "bench_support.h"

namespace {

constexpr float kCentre = 450.0f;

// Distance from the centre to the blob's edge in direction `angle`, for a
// blob of mean radius `radius`.
float BlobEdge(float angle, float radius) {
    return radius * (1.0f + 0.18f * std::sin(3.0f * angle) + 0.1f * std::cos(5.0f * angle + 1.0f));
}

// Cells of `cell` pixels inside the blob; the jitter moves each vertex up to
// 30% of a cell.
mfbench::Mesh BlobMesh(float cell, float radius, uint32_t seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> jitter(-0.3f * cell, 0.3f * cell);
    const auto side = static_cast<int32_t>(2.0f * kCentre / cell);
    mfbench::Mesh mesh;
    for (int32_t row = 0; row <= side; ++row) {
        for (int32_t column = 0; column <= side; ++column) {
            mesh.vertices.push_back(Vec2{cell * static_cast<float>(column) + jitter(random),
                                         cell * static_cast<float>(row) + jitter(random)});
        }
    }
    for (int32_t row = 0; row < side; ++row) {
        for (int32_t column = 0; column < side; ++column) {
            const float dx = cell * (static_cast<float>(column) + 0.5f) - kCentre;
            const float dy = cell * (static_cast<float>(row) + 0.5f) - kCentre;
            if (std::hypot(dx, dy) > BlobEdge(std::atan2(dy, dx), radius)) {
                continue;
            }
            mfbench::AddGridCell(mesh, random, side, column, row);
        }
    }
    return mesh;
}

const mfbench::Mesh& Dense70k() {
    static const mfbench::Mesh mesh = BlobMesh(3.5f, 370.0f, 7007);
    return mesh;
}

const mfbench::Mesh& Dense15k() {
    static const mfbench::Mesh mesh = BlobMesh(5.0f, 245.0f, 8008);
    return mesh;
}

// The demo's layout: the scan limit just past the largest coordinate, and
// room for the shift, the brush and the content rectangle's margin.
void BuildDense(benchmark::State& state, const hostsim::EntryPoints& entries, const mfbench::Mesh& mesh,
                int32_t margin) {
    float largest = 0.0f;
    for (const Vec2& v : mesh.vertices) {
        largest = std::max({largest, v.x, v.y});
    }
    mfbench::BuildOptions options;
    options.margin = margin;
    options.drawSize = static_cast<int32_t>(std::floor(largest)) + 1;
    const int32_t side = options.drawSize + 3 * margin + 1;
    options.maxCoord = side - 1;
    mfbench::ShapeBuild build(side, side, mesh, options);
    for (auto _ : state) {
        std::memset(build.shape.pixels.bytes.data(), 0, build.shape.pixels.bytes.size());
        build.Run(entries);
    }
    benchmark::DoNotOptimize(build.shape.pixels.bytes.data());
    mfbench::CountDrawing(state, build.shape.pixels.bytes, static_cast<int64_t>(mesh.indices.size() / 3));
}

MFBENCH_PAIR("W7_Dense70k_margin1", [](benchmark::State& s, const hostsim::EntryPoints& e) { BuildDense(s, e, Dense70k(), 1); });
MFBENCH_PAIR("W7_Dense70k_margin4", [](benchmark::State& s, const hostsim::EntryPoints& e) { BuildDense(s, e, Dense70k(), 4); });
MFBENCH_PAIR("W8_Dense15k_margin1", [](benchmark::State& s, const hostsim::EntryPoints& e) { BuildDense(s, e, Dense15k(), 1); });
MFBENCH_PAIR("W8_Dense15k_margin4", [](benchmark::State& s, const hostsim::EntryPoints& e) { BuildDense(s, e, Dense15k(), 4); });

}  // namespace
