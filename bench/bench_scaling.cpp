// How a search's cost grows with the board and with the candidates it
// examines: FindPlacement of the W2 shape (33 x 33, covered all over) on
// boards 45% covered in discs, 128 x 128 to 2048 x 2048, the first fit early
// at (40, 20) or late, five sixths of the way along the columns and nine
// tenths down the rows. The literal build is left out: at 2048 x 2048 it
// takes a quarter of a second a call.
#include <cstdio>
#include <map>
#include <utility>
#include <memory>
#include <string>

#include "bench_support.h"
#include "search_scenes.h"

namespace {

constexpr int32_t kShapeSide = 33;

mfbench::SearchScene& Scene(int32_t size, bool late) {
    static std::map<std::pair<int32_t, bool>, std::unique_ptr<mfbench::SearchScene>> scenes;
    std::unique_ptr<mfbench::SearchScene>& scene = scenes[{size, late}];
    if (!scene) {
        const int32_t last = size - kShapeSide;
        const mfbench::Position fit = late ? mfbench::Position{last * 5 / 6, last * 9 / 10} : mfbench::Position{40, 20};
        scene = std::make_unique<mfbench::SearchScene>(mfbench::BoardRecipe{size, 0.45, 300u + static_cast<uint32_t>(size)},
                                                       mfbench::CoveredShape(kShapeSide), fit);
    }
    return *scene;
}

bool RegisterScaling() {
    for (const int32_t size : {128, 256, 512, 1024, 2048}) {
        for (const bool late : {false, true}) {
            char name[64];
            std::snprintf(name, sizeof name, "S_%04d_%s", size, late ? "late" : "early");
            mfbench::Comparison comparison{
                [size, late](benchmark::State& state, const hostsim::EntryPoints& entries) {
                    Scene(size, late).MeasureLibrary(state, entries);
                },
                [size, late](benchmark::State& state) { Scene(size, late).MeasureBitPacked(state); },
                [size, late](benchmark::State& state) { Scene(size, late).MeasureFloor(state); },
                [size, late] { return Scene(size, late).BoardBytes(); },
            };
            comparison.literal = false;
            mfbench::RegisterComparison(name, comparison);
        }
    }
    return true;
}

[[maybe_unused]] const bool kScaling = RegisterScaling();

}  // namespace
