// W1: one CanPlace that scans a 64 x 64 content rectangle at a free position
// of a 512 x 512 board. W2: one FindPlacement of a 32 x 32 shape built by
// BuildShapeMask over a 512 x 512 board with about 45% of its pixels covered
// in blobs, steps of 1, whose first fit lies late in row order.
#include <cmath>
#include <string>

#include "bench_support.h"

namespace {

constexpr int32_t kBoardSize = 512;

void CanPlaceAtFreePosition(benchmark::State& state, const hostsim::EntryPoints& entries) {
    mfbench::BenchBoard board(kBoardSize, kBoardSize);
    mfbench::CoverWithDisks(board.pixels.bytes.data(), kBoardSize, kBoardSize, 0.45, 3, 12, 101);
    constexpr int32_t kFreeX = 200;
    constexpr int32_t kFreeY = 300;
    for (int32_t y = kFreeY; y <= kFreeY + 64; ++y) {
        for (int32_t x = kFreeX; x <= kFreeX + 64; ++x) {
            board.At(x, y) = 0;
        }
    }
    // Covered all over, probe pixel (64, 64) included, as the build job's fill leaves it.
    mfbench::BenchShape shape(65, 65);
    std::fill(shape.pixels.bytes.begin(), shape.pixels.bytes.end(), FILL_RECT);
    shape.mask.bounds = MaskBounds{0, 0, 64, 64};
    int32_t fits = 0;
    for (auto _ : state) {
        fits = entries.canPlace(&board.mask, &shape.mask, kFreeX, kFreeY);
        benchmark::DoNotOptimize(fits);
    }
    if (fits != 1) {
        state.SkipWithError("the free position does not fit");
    }
}

MFBENCH_PAIR("W1_CanPlace", CanPlaceAtFreePosition);

// An octagon of about 30 pixels across, in eight triangles around its centre.
mfbench::Mesh Octagon() {
    mfbench::Mesh mesh;
    mesh.vertices.push_back(Vec2{15.4f, 15.4f});
    for (int corner = 0; corner < 8; ++corner) {
        const double angle = (corner + 0.5) * 3.14159265358979 / 4;
        mesh.vertices.push_back(
            Vec2{static_cast<float>(15.4 + 16.6 * std::cos(angle)), static_cast<float>(15.4 + 16.6 * std::sin(angle))});
        mesh.indices.insert(mesh.indices.end(), {0, 1 + corner, 1 + (corner + 1) % 8});
    }
    return mesh;
}

// A search job over the whole board, with the shape and one result slot.
struct Search {
    mfbench::BenchBoard board{kBoardSize, kBoardSize};
    mfbench::Mesh mesh = Octagon();
    mfbench::ShapeBuild build;
    PlacementResult result{};
    uint32_t resultsVersion = 0;
    PlacementSearchJob job{};

    explicit Search(bool rectFill) : build(40, 40, mesh, mfbench::BuildOptions{1, 40, 32, rectFill}) {
        build.Run(mfbench::FastEntries());
        job.xRange = SearchRange{0, kBoardSize - 1, 1, 0};
        job.yRange = SearchRange{0, kBoardSize - 1, 1, 0};
        job.results.data = &result;
        job.results.length = 1;
        job.results.safety.versionWord = &resultsVersion;
    }

    PlacementResult Run(const hostsim::EntryPoints& entries) {
        job.board = board.mask;
        job.shape = build.shape.mask;
        result = PlacementResult{};
        entries.findPlacement(&job, nullptr, nullptr, nullptr, 0);
        return result;
    }
};

// Blobs over 45% of the board and one free square late in row order; then
// every fit found before row 400 gets a blob of its own.
void CrowdTheBoard(Search& search) {
    uint8_t* pixels = search.board.pixels.bytes.data();
    mfbench::CoverWithDisks(pixels, kBoardSize, kBoardSize, 0.45, 3, 12, 202);
    for (int32_t y = 440; y < 480; ++y) {
        for (int32_t x = 300; x < 340; ++x) {
            search.board.At(x, y) = 0;
        }
    }
    for (;;) {
        const PlacementResult hit = search.Run(mfbench::FastEntries());
        if (hit.found == 0 || hit.y >= 400) {
            return;
        }
        const int32_t x = hit.x + 16;
        const int32_t y = hit.y + 16;
        for (int32_t dy = -4; dy <= 4; ++dy) {
            for (int32_t dx = -4; dx <= 4; ++dx) {
                search.board.At(x + dx, y + dy) = FILL_INTERIOR;
            }
        }
    }
}

void FindLateFit(benchmark::State& state, Search& search, const hostsim::EntryPoints& entries) {
    PlacementResult hit{};
    for (auto _ : state) {
        hit = search.Run(entries);
        benchmark::DoNotOptimize(hit);
    }
    const MaskBounds& b = search.build.shape.mask.bounds;
    if (hit.found != 1) {
        state.SkipWithError("no fit");
    }
    state.SetLabel("first fit (" + std::to_string(hit.x) + ", " + std::to_string(hit.y) + "), shape bounds (" +
                   std::to_string(b.x0) + ", " + std::to_string(b.y0) + ", " + std::to_string(b.x1) + ", " +
                   std::to_string(b.y1) + ")");
}

// One board and shape per kind, made once for both libraries.
Search& CrowdedSearch(bool rectFill) {
    static Search filled(true);
    static Search unfilled(false);
    static const bool crowded = (CrowdTheBoard(filled), CrowdTheBoard(unfilled), true);
    (void)crowded;
    return rectFill ? filled : unfilled;
}

MFBENCH_PAIR("W2_FindPlacement", [](benchmark::State& state, const hostsim::EntryPoints& entries) {
    FindLateFit(state, CrowdedSearch(true), entries);
});

// The same search for the shape built without the 79 fill: its content
// rectangle has empty corners, so each candidate is tested on its own.
MFBENCH_PAIR("W2u_FindPlacement_unfilled", [](benchmark::State& state, const hostsim::EntryPoints& entries) {
    FindLateFit(state, CrowdedSearch(false), entries);
});

}  // namespace
