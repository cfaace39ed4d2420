// Shared by the benchmarks: both builds of the library loaded through the
// simulated host, masks that own their pixels, and workloads registered in
// pairs (literal and fast), some also with a bit-packed reference and the
// floor, whose times are reported side by side with their ratios at the end
// of the run.
#ifndef MASKFIT_BENCH_BENCH_SUPPORT_H
#define MASKFIT_BENCH_BENCH_SUPPORT_H

#include <benchmark/benchmark.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "host_sim.h"

namespace mfbench {

// The literal build (every fast path off) and the shipped one, each loaded
// and started once per process.
const hostsim::EntryPoints& LiteralEntries();
const hostsim::EntryPoints& FastEntries();

// Pixel memory whose safety handle matches, so no host check is ever called.
struct OwnedPixels {
    std::vector<uint8_t> bytes;
    std::unique_ptr<uint32_t> versionWord = std::make_unique<uint32_t>(0);

    explicit OwnedPixels(size_t count) : bytes(count, 0) {}
    CheckedArray View();  // unrestricted window over all bytes
};

// A width x height shape at origin (0, 0) with an untouched dirty rectangle
// and its content rectangle set to the whole mask.
struct BenchShape {
    OwnedPixels pixels;
    ShapeMask mask{};
    BenchShape(int32_t width, int32_t height);
    uint8_t& At(int32_t x, int32_t y) { return pixels.bytes[static_cast<size_t>(y) * mask.width + x]; }
};

// A width x height board whose placement limits are its width and height.
struct BenchBoard {
    OwnedPixels pixels;
    BoardMask mask{};
    BenchBoard(int32_t width, int32_t height);
    uint8_t& At(int32_t x, int32_t y) { return pixels.bytes[static_cast<size_t>(y) * mask.width + x]; }
};

// Covers random disks of radius [minRadius, maxRadius] with `value` until at
// least `coverage` (0 to 1) of the width x height pixels are set.
void CoverWithDisks(uint8_t* pixels, int32_t width, int32_t height, double coverage, int32_t minRadius,
                    int32_t maxRadius, uint32_t seed, uint8_t value = FILL_INTERIOR);

// A triangle mesh in the rasterizer's triangle space.
struct Mesh {
    std::vector<Vec2> vertices;
    std::vector<int32_t> indices;
};

// Adds cell (column, row) of a grid whose vertex (c, r) is r * (columns + 1)
// + c: its two triangles, split along a random diagonal, each listed in a
// random winding, so that the list fill has to reorder about half of them.
void AddGridCell(Mesh& mesh, std::mt19937& random, int32_t columns, int32_t column, int32_t row);

struct BuildOptions {
    int32_t margin = 1;
    int32_t drawSize = 0;
    int32_t maxCoord = 0;
    bool rectFill = true;
};

// A one-element shapes array and the BuildShapeMask block that rebuilds it
// from `mesh` (which must outlive the job). Rerunning the job gives the same
// mask, so a benchmark may run it again and again.
struct ShapeBuild {
    BenchShape shape;
    ShapeBuildJob job{};
    ShapeBuild(int32_t width, int32_t height, const Mesh& mesh, const BuildOptions& options);
    void Run(const hostsim::EntryPoints& entries);
};

// Counters of a drawing workload, per second of CPU time: "pixels" drawn
// (the mask's pixels that hold 234 or 90 after one call) and, inverted,
// "per_triangle", the time of one call spread over its triangles.
void CountDrawing(benchmark::State& state, const std::vector<uint8_t>& pixels, int64_t triangles);

// One side of a pair: gets the state and the entry points of its build.
using Workload = std::function<void(benchmark::State&, const hostsim::EntryPoints&)>;

// Registers "<name>/literal" and "<name>/fast"; returns true so that it can
// initialise a namespace-scope constant.
bool RegisterPair(const std::string& name, const Workload& workload);

// A workload measured against what a user would compare the library with:
// "<name>/bitpacked", the same question answered by a library of pre-packed
// bit masks (bit_packed_reference.h), and "<name>/floor", one read of the
// bytes the call needs (read_floor.h). Every variant counts `bytes()` per
// iteration, so that Google Benchmark's bytes-per-second column shows each
// one's distance to the floor.
struct Comparison {
    Workload library;
    std::function<void(benchmark::State&)> bitPacked;
    std::function<void(benchmark::State&)> floor;
    std::function<int64_t()> bytes;
    bool literal = true;  // false where the literal build would take a second a call
};

bool RegisterComparison(const std::string& name, const Comparison& comparison);

}  // namespace mfbench

#define MFBENCH_CONCAT_INNER(a, b) a##b
#define MFBENCH_CONCAT(a, b) MFBENCH_CONCAT_INNER(a, b)
#define MFBENCH_PAIR(name, workload) \
    [[maybe_unused]] static const bool MFBENCH_CONCAT(mfbench_pair_, __LINE__) = ::mfbench::RegisterPair(name, workload)
#define MFBENCH_COMPARISON(name, ...)                                         \
    [[maybe_unused]] static const bool MFBENCH_CONCAT(mfbench_comparison_, __LINE__) = \
        ::mfbench::RegisterComparison(name, ::mfbench::Comparison __VA_ARGS__)

#endif
