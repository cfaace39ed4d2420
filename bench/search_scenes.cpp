#include "search_scenes.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>

#include "read_floor.h"

namespace mfbench {
namespace {

constexpr int32_t kMinRadius = 3;
constexpr int32_t kMaxRadius = 12;
constexpr int32_t kBlockRadius = 3;

bool Before(Position a, Position b) { return a.y < b.y || (a.y == b.y && a.x < b.x); }

}  // namespace

BenchShape CoveredShape(int32_t size) {
    BenchShape shape(size, size);
    std::fill(shape.pixels.bytes.begin(), shape.pixels.bytes.end(), FILL_RECT);
    shape.mask.bounds = MaskBounds{0, 0, size - 1, size - 1};
    return shape;
}

SearchScene::SearchScene(const BoardRecipe& recipe, BenchShape shape, Position fit)
    : board_(recipe.size, recipe.size), shape_(std::move(shape)), fit_(fit) {
    const MaskBounds& b = shape_.mask.bounds;
    CoverWithDisks(board_.pixels.bytes.data(), recipe.size, recipe.size, recipe.coverage, kMinRadius, kMaxRadius,
                   recipe.seed);
    // Everything the fit test reads at `fit`: the content rectangle and its far row and column.
    for (int32_t y = fit.y; y <= fit.y + (b.y1 - b.y0); ++y) {
        for (int32_t x = fit.x; x <= fit.x + (b.x1 - b.x0); ++x) {
            board_.At(x, y) = 0;
        }
    }
    job_.xRange = SearchRange{0, recipe.size - 1 - b.x1, 1, 0};
    job_.yRange = SearchRange{0, recipe.size - 1 - b.y1, 1, 0};
    job_.results.data = &result_;
    job_.results.length = 1;
    job_.results.safety.versionWord = &resultsVersion_;
    for (PlacementResult hit = Run(FastEntries());
         hit.found != 0 && Before(Position{hit.x, hit.y}, fit) && CoverEarlierFit(Position{hit.x, hit.y});
         hit = Run(FastEntries())) {
    }
    packedBoard_ = std::make_unique<PackedMask>(board_.pixels.bytes.data(), recipe.size, recipe.size, recipe.size);
    packedShape_ = std::make_unique<PackedMask>(shape_.pixels.bytes.data() + b.y0 * shape_.mask.width + b.x0,
                                                shape_.mask.width, b.x1 - b.x0 + 1, b.y1 - b.y0 + 1);
}

// A small disc on the board under a set pixel of the shape placed at the
// hit, where it does not touch the place of the wanted fit; false when no
// such pixel is left.
bool SearchScene::CoverEarlierFit(Position hit) {
    const MaskBounds& b = shape_.mask.bounds;
    const auto inFit = [&](int32_t x, int32_t y) {
        return x >= fit_.x && x <= fit_.x + (b.x1 - b.x0) && y >= fit_.y && y <= fit_.y + (b.y1 - b.y0);
    };
    const int32_t span = std::max(b.x1 - b.x0, b.y1 - b.y0);
    // Shape pixels from the middle outwards, the first whose board pixel lies outside the fit.
    for (int32_t ring = 0; ring <= span; ++ring) {
        for (int32_t dy = -ring; dy <= ring; ++dy) {
            for (int32_t dx = -ring; dx <= ring; ++dx) {
                const int32_t sx = (b.x0 + b.x1) / 2 + dx;
                const int32_t sy = (b.y0 + b.y1) / 2 + dy;
                const int32_t x = hit.x + sx - b.x0;
                const int32_t y = hit.y + sy - b.y0;
                if (std::max(std::abs(dx), std::abs(dy)) != ring || sx < b.x0 || sx >= b.x1 || sy < b.y0 ||
                    sy >= b.y1 || shape_.At(sx, sy) == 0 || inFit(x, y)) {
                    continue;
                }
                for (int32_t py = y - kBlockRadius; py <= y + kBlockRadius; ++py) {
                    for (int32_t px = x - kBlockRadius; px <= x + kBlockRadius; ++px) {
                        if (px >= 0 && py >= 0 && px < board_.mask.width && py < board_.mask.height && !inFit(px, py)) {
                            board_.At(px, py) = FILL_INTERIOR;
                        }
                    }
                }
                return true;
            }
        }
    }
    return false;
}

PlacementResult SearchScene::Run(const hostsim::EntryPoints& entries) {
    job_.board = board_.mask;
    job_.shape = shape_.mask;
    result_ = PlacementResult{};
    entries.findPlacement(&job_, nullptr, nullptr, nullptr, 0);
    return result_;
}

bool SearchScene::Expected(benchmark::State& state, bool found, Position at) const {
    if (!found || at.x != fit_.x || at.y != fit_.y) {
        state.SkipWithError(("first fit not at (" + std::to_string(fit_.x) + ", " + std::to_string(fit_.y) + ")").c_str());
        return false;
    }
    return true;
}

void SearchScene::MeasureLibrary(benchmark::State& state, const hostsim::EntryPoints& entries) {
    PlacementResult hit{};
    for (auto _ : state) {
        hit = Run(entries);
        benchmark::DoNotOptimize(hit);
    }
    if (Expected(state, hit.found != 0, Position{hit.x, hit.y})) {
        state.SetLabel("first fit (" + std::to_string(hit.x) + ", " + std::to_string(hit.y) + ")");
    }
}

void SearchScene::MeasureBitPacked(benchmark::State& state) const {
    bool found = false;
    Position hit{};
    for (auto _ : state) {
        found = FirstFree(*packedBoard_, *packedShape_, job_.xRange.end, job_.yRange.end, hit.x, hit.y);
        benchmark::DoNotOptimize(hit);
    }
    Expected(state, found, hit);
}

void SearchScene::MeasureFloor(benchmark::State& state) const {
    for (auto _ : state) {
        benchmark::DoNotOptimize(FindByteNeverWritten(board_.pixels.bytes.data(), BoardBytes()));
    }
}

}  // namespace mfbench
