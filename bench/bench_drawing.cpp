// W3: BuildShapeMask of a 128-triangle mesh covering about 60% of a 256 x 256
// mask, margin 4, rectangle fill on. W5: RasterizeTriangles of the same mesh
// with margins 1. Each iteration starts from an empty mask (clearing it is
// timed too, the same for both builds), as a host rebuilding a shape would.
#include <cstring>
#include <random>

#include "bench_support.h"

namespace {

constexpr int32_t kSize = 256;
constexpr int32_t kCells = 8;    // 8 x 8 cells of two triangles each
constexpr float kFirst = 29.0f;  // the mesh spans about 198 x 198 pixels
constexpr float kCellSize = 24.75f;
constexpr float kJitter = 5.0f;

// A jittered grid: every cell split along a random diagonal, each triangle
// listed in a random winding, so the list fill has to reorder half of them.
const mfbench::Mesh& GridMesh() {
    static const mfbench::Mesh mesh = [] {
        std::mt19937 random(20240611);
        std::uniform_real_distribution<float> jitter(-kJitter, kJitter);
        mfbench::Mesh m;
        for (int32_t row = 0; row <= kCells; ++row) {
            for (int32_t column = 0; column <= kCells; ++column) {
                const bool inner = row > 0 && row < kCells && column > 0 && column < kCells;
                m.vertices.push_back(
                    Vec2{kFirst + kCellSize * static_cast<float>(column) + (inner ? jitter(random) : 0),
                         kFirst + kCellSize * static_cast<float>(row) + (inner ? jitter(random) : 0)});
            }
        }
        for (int32_t row = 0; row < kCells; ++row) {
            for (int32_t column = 0; column < kCells; ++column) {
                mfbench::AddGridCell(m, random, kCells, column, row);
            }
        }
        return m;
    }();
    return mesh;
}

void BuildMesh(benchmark::State& state, const hostsim::EntryPoints& entries) {
    mfbench::BuildOptions options;
    options.margin = 4;
    options.drawSize = kSize;
    options.maxCoord = kSize - 1;
    options.rectFill = true;
    mfbench::ShapeBuild build(kSize, kSize, GridMesh(), options);
    for (auto _ : state) {
        std::memset(build.shape.pixels.bytes.data(), 0, build.shape.pixels.bytes.size());
        build.Run(entries);
    }
    benchmark::DoNotOptimize(build.shape.pixels.bytes.data());
    mfbench::CountDrawing(state, build.shape.pixels.bytes, static_cast<int64_t>(GridMesh().indices.size() / 3));
}

void RasterizeMesh(benchmark::State& state, const hostsim::EntryPoints& entries) {
    const mfbench::Mesh& mesh = GridMesh();
    mfbench::BenchShape shape(kSize, kSize);
    shape.mask.bounds = MaskBounds{kSize, kSize, 0, 0};  // the scan limits
    for (auto _ : state) {
        std::memset(shape.pixels.bytes.data(), 0, shape.pixels.bytes.size());
        entries.rasterizeTriangles(0, 0, 0, mesh.vertices.data(), 0, mesh.indices.data(),
                                   static_cast<int32_t>(mesh.indices.size()), &shape.mask, 1, 1);
    }
    benchmark::DoNotOptimize(shape.pixels.bytes.data());
    mfbench::CountDrawing(state, shape.pixels.bytes, static_cast<int64_t>(mesh.indices.size() / 3));
}

MFBENCH_PAIR("W3_BuildShapeMask", BuildMesh);
MFBENCH_PAIR("W5_RasterizeTriangles", RasterizeMesh);

}  // namespace
