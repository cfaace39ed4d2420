// W1: one CanPlace of a 64 x 64 content rectangle at a free position of a
// 512 x 512 board 45% covered in discs, the shape about half set in blobs
// (W1) or covered all over (W1c). W2: FindPlacement of a 33 x 33 shape
// covered all over on such a board, candidates x and y 0 to 479, the first
// fit late at (400, 430); W2u the same for an octagon built without the 79
// fill; W2e and W2m on a board 25% covered, the first fit at the first
// candidate (0, 0) and at (40, 20).
#include <cmath>

#include "bench_support.h"
#include "bit_packed_reference.h"
#include "read_floor.h"
#include "search_scenes.h"

namespace {

constexpr int32_t kBoardSize = 512;
constexpr int32_t kSide = 64;

// A board with a free square at (kFreeX, kFreeY) and a shape whose content
// rectangle is the first kSide x kSide pixels, its far corner one further.
struct FreePosition {
    static constexpr int32_t kFreeX = 200;
    static constexpr int32_t kFreeY = 300;
    mfbench::BenchBoard board{kBoardSize, kBoardSize};
    mfbench::BenchShape shape{kSide + 1, kSide + 1};
    mfbench::PackedMask packedBoard;
    mfbench::PackedMask packedShape;

    explicit FreePosition(bool halfSet)
        : packedBoard(Board(board), kBoardSize, kBoardSize, kBoardSize),
          packedShape(Shape(shape, halfSet), kSide + 1, kSide, kSide) {
        shape.mask.bounds = MaskBounds{0, 0, kSide, kSide};
    }

    static const uint8_t* Board(mfbench::BenchBoard& board) {
        mfbench::CoverWithDisks(board.pixels.bytes.data(), kBoardSize, kBoardSize, 0.45, 3, 12, 101);
        for (int32_t y = kFreeY; y <= kFreeY + kSide; ++y) {
            for (int32_t x = kFreeX; x <= kFreeX + kSide; ++x) {
                board.At(x, y) = 0;
            }
        }
        return board.pixels.bytes.data();
    }

    static const uint8_t* Shape(mfbench::BenchShape& shape, bool halfSet) {
        if (halfSet) {
            mfbench::CoverWithDisks(shape.pixels.bytes.data(), kSide + 1, kSide + 1, 0.5, 3, 10, 102, FILL_INTERIOR);
        } else {
            std::fill(shape.pixels.bytes.begin(), shape.pixels.bytes.end(), FILL_RECT);
        }
        return shape.pixels.bytes.data();
    }
};

FreePosition& HalfSetShape() {
    static FreePosition scene(true);
    return scene;
}

FreePosition& CoveredAllOver() {
    static FreePosition scene(false);
    return scene;
}

void MeasureCanPlace(benchmark::State& state, FreePosition& scene, const hostsim::EntryPoints& entries) {
    int32_t fits = 0;
    for (auto _ : state) {
        fits = entries.canPlace(&scene.board.mask, &scene.shape.mask, FreePosition::kFreeX, FreePosition::kFreeY);
        benchmark::DoNotOptimize(fits);
    }
    if (fits != 1) {
        state.SkipWithError("the free position does not fit");
    }
}

void MeasureOverlapTest(benchmark::State& state, const FreePosition& scene) {
    bool overlaps = true;
    for (auto _ : state) {
        overlaps = mfbench::Overlaps(scene.packedBoard, scene.packedShape, FreePosition::kFreeX, FreePosition::kFreeY);
        benchmark::DoNotOptimize(overlaps);
    }
    if (overlaps) {
        state.SkipWithError("the free position overlaps");
    }
}

// One read of the board's window and the shape's rectangle.
void MeasureWindowsRead(benchmark::State& state, FreePosition& scene) {
    const uint8_t* window = &scene.board.At(FreePosition::kFreeX, FreePosition::kFreeY);
    for (auto _ : state) {
        benchmark::DoNotOptimize(mfbench::OrOfRows(window, kBoardSize, kSide, kSide) |
                                 mfbench::OrOfRows(scene.shape.pixels.bytes.data(), kSide + 1, kSide, kSide));
    }
}

mfbench::Comparison CanPlaceComparison(FreePosition& (*scene)()) {
    return mfbench::Comparison{
        [scene](benchmark::State& state, const hostsim::EntryPoints& entries) {
            MeasureCanPlace(state, scene(), entries);
        },
        [scene](benchmark::State& state) { MeasureOverlapTest(state, scene()); },
        [scene](benchmark::State& state) { MeasureWindowsRead(state, scene()); },
        [] { return int64_t{2} * kSide * kSide; },
    };
}

[[maybe_unused]] const bool kW1 = mfbench::RegisterComparison("W1_CanPlace", CanPlaceComparison(HalfSetShape));
[[maybe_unused]] const bool kW1c =
    mfbench::RegisterComparison("W1c_CanPlace_covered", CanPlaceComparison(CoveredAllOver));

constexpr mfbench::BoardRecipe kCrowded{kBoardSize, 0.45, 202};
constexpr mfbench::BoardRecipe kOpen{kBoardSize, 0.25, 203};
constexpr int32_t kShapeSide = 33;

mfbench::SearchScene& LateFit() {
    static mfbench::SearchScene scene(kCrowded, mfbench::CoveredShape(kShapeSide), {400, 430});
    return scene;
}

mfbench::SearchScene& FirstCandidateFits() {
    static mfbench::SearchScene scene(kOpen, mfbench::CoveredShape(kShapeSide), {0, 0});
    return scene;
}

mfbench::SearchScene& EarlyFit() {
    static mfbench::SearchScene scene(kOpen, mfbench::CoveredShape(kShapeSide), {40, 20});
    return scene;
}

mfbench::Comparison SearchComparison(mfbench::SearchScene& (*scene)()) {
    return mfbench::Comparison{
        [scene](benchmark::State& state, const hostsim::EntryPoints& entries) {
            scene().MeasureLibrary(state, entries);
        },
        [scene](benchmark::State& state) { scene().MeasureBitPacked(state); },
        [scene](benchmark::State& state) { scene().MeasureFloor(state); },
        [scene] { return scene().BoardBytes(); },
    };
}

[[maybe_unused]] const bool kW2 = mfbench::RegisterComparison("W2_FindPlacement_late", SearchComparison(LateFit));
[[maybe_unused]] const bool kW2e =
    mfbench::RegisterComparison("W2e_FindPlacement_first_candidate", SearchComparison(FirstCandidateFits));
[[maybe_unused]] const bool kW2m =
    mfbench::RegisterComparison("W2m_FindPlacement_early", SearchComparison(EarlyFit));

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

// Built without the 79 fill, its content rectangle has empty corners, so
// each candidate the core leaves open is tested in full.
mfbench::SearchScene& UnfilledOctagon() {
    static mfbench::SearchScene scene = [] {
        const mfbench::Mesh mesh = Octagon();
        mfbench::ShapeBuild build(40, 40, mesh, mfbench::BuildOptions{1, 40, 32, false});
        build.Run(mfbench::FastEntries());
        return mfbench::SearchScene(kCrowded, std::move(build.shape), {300, 440});
    }();
    return scene;
}

MFBENCH_PAIR("W2u_FindPlacement_unfilled", [](benchmark::State& state, const hostsim::EntryPoints& entries) {
    UnfilledOctagon().MeasureLibrary(state, entries);
});

}  // namespace
