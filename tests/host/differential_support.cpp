#include "differential_support.h"

#include <cstdio>
#include <cstdlib>

namespace mftest {
namespace {

int64_t FromEnvironment(const char* name, int64_t fallback) {
    const char* text = std::getenv(name);
    if (text == nullptr || *text == '\0') {
        return fallback;
    }
    char* end = nullptr;
    const long long value = std::strtoll(text, &end, 0);
    if (*end != '\0' || value < 0) {
        ADD_FAILURE() << name << " must be a number of at least 0, not \"" << text << "\"";
        return fallback;
    }
    return value;
}

// SplitMix64's finalizer: neighbouring inputs give unrelated seeds.
uint64_t Mix(uint64_t value) {
    value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ull;
    value = (value ^ (value >> 27)) * 0x94D049BB133111EBull;
    return value ^ (value >> 31);
}

constexpr int64_t kScenesToMeasure = 200;  // fewer say nothing about a share

}  // namespace

void RandomVersions(Dice& dice, uint32_t& word, AtomicSafetyHandle& handle, bool& refuseRead, bool& refuseWrite) {
    const uint32_t high = dice.Bits() & ~7u;
    if (dice.Percent(85)) {
        handle.version = high;
        word = high | (dice.Percent(50) ? 4u : 0u);
        return;
    }
    const uint32_t lowBits = static_cast<uint32_t>(dice.Between(0, 63));
    word = high | (lowBits >> 3);
    switch (dice.Between(0, 2)) {
        case 0: handle.version = high; break;
        case 1: handle.version = high ^ (8u << dice.Between(0, 28)); break;
        default: handle.version = dice.Bits() & ~7u; break;
    }
    handle.version |= lowBits & 7u;
    refuseRead = refuseRead || dice.Percent(20);
    refuseWrite = refuseWrite || dice.Percent(20);
}

void UncheckedShare::Report(uint32_t floorPercent) const {
    if (scenes_ < kScenesToMeasure || ::testing::Test::HasFailure()) {
        return;
    }
    const double percent = 100.0 * static_cast<double>(unchecked_) / static_cast<double>(scenes_);
    std::printf("%lld of %lld scenes (%.1f%%) ran without a host check to their end\n",
                static_cast<long long>(unchecked_), static_cast<long long>(scenes_), percent);
    EXPECT_GE(percent, floorPercent) << "too few scenes leave the fast paths anything to do";
}

SceneSeries ScenesOf(uint32_t testSeed, int64_t slice) {
    const auto runSeed = static_cast<uint64_t>(FromEnvironment("MASKFIT_DIFFERENTIAL_SEED", 0));
    return SceneSeries{runSeed << 32 | testSeed,
                       FromEnvironment("MASKFIT_DIFFERENTIAL_FIRST", 0),
                       FromEnvironment("MASKFIT_DIFFERENTIAL_SCENES", slice)};
}

uint64_t SceneSeed(const SceneSeries& series, int64_t scene) { return Mix(Mix(series.seed) + scene); }

std::string SceneName(const SceneSeries& series, int64_t scene) {
    const std::string number = std::to_string(scene);
    return "scene " + number + " (MASKFIT_DIFFERENTIAL_SEED=" + std::to_string(series.seed >> 32) +
           " MASKFIT_DIFFERENTIAL_FIRST=" + number + " MASKFIT_DIFFERENTIAL_SCENES=1 runs it alone)";
}

}  // namespace mftest
