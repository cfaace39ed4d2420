// FindPlacement scenes for the benchmarks: a square board covered in discs
// and a shape, whose first fit in row order lies where the scene says, and
// the same masks packed for the bit-packed reference.
#ifndef MASKFIT_BENCH_SEARCH_SCENES_H
#define MASKFIT_BENCH_SEARCH_SCENES_H

#include <cstdint>
#include <memory>

#include "bench_support.h"
#include "bit_packed_reference.h"

namespace mfbench {

struct BoardRecipe {
    int32_t size;     // width and height
    double coverage;  // of the board's pixels, in discs of radius 3 to 12
    uint32_t seed;
};

struct Position {
    int32_t x;
    int32_t y;
};

// A shape as a library caller holds it: a mask covered all over with its
// content rectangle one pixel short of its size, as the build job's fill
// leaves one.
BenchShape CoveredShape(int32_t size);

class SearchScene {
public:
    // Clears the board under the shape at `fit`, then covers a few pixels of
    // every earlier fit in row order until `fit` is the first. Candidates
    // are every column and row whose shape rectangle lies on the board.
    SearchScene(const BoardRecipe& recipe, BenchShape shape, Position fit);

    PlacementResult Run(const hostsim::EntryPoints& entries);

    // The search measured through a library, the same search over the packed
    // masks as a loop of overlap tests, and one read of the board's bytes.
    void MeasureLibrary(benchmark::State& state, const hostsim::EntryPoints& entries);
    void MeasureBitPacked(benchmark::State& state) const;
    void MeasureFloor(benchmark::State& state) const;
    int64_t BoardBytes() const { return static_cast<int64_t>(board_.pixels.bytes.size()); }

private:
    bool CoverEarlierFit(Position hit);
    bool Expected(benchmark::State& state, bool found, Position at) const;

    BenchBoard board_;
    BenchShape shape_;
    Position fit_;
    PlacementResult result_{};
    uint32_t resultsVersion_ = 0;
    PlacementSearchJob job_{};
    std::unique_ptr<PackedMask> packedBoard_;
    std::unique_ptr<PackedMask> packedShape_;
};

}  // namespace mfbench

#endif
