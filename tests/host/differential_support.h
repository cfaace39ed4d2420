// Shared by the differential tests, which run each call through the shipped
// build and through its literal twin: the way the two calls ended and the
// host checks they made must agree exactly.
#ifndef MASKFIT_TESTS_DIFFERENTIAL_SUPPORT_H
#define MASKFIT_TESTS_DIFFERENTIAL_SUPPORT_H

#include <cstdint>
#include <initializer_list>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "test_support.h"

namespace mftest {

// The random choices of one scene. It is also a random bit generator, for
// code that draws through the standard library's interface.
class Dice {
public:
    using result_type = uint64_t;
    explicit Dice(uint64_t seed) : engine_(seed) {}

    static constexpr result_type min() { return std::mt19937_64::min(); }
    static constexpr result_type max() { return std::mt19937_64::max(); }
    result_type operator()() { return engine_(); }

    uint32_t Bits() { return static_cast<uint32_t>(engine_()); }
    int32_t Between(int64_t lo, int64_t hi) {
        return static_cast<int32_t>(lo + static_cast<int64_t>(engine_() % static_cast<uint64_t>(hi - lo + 1)));
    }
    bool Percent(uint32_t percent) { return engine_() % 100u < percent; }
    template <typename T>
    T Among(std::initializer_list<T> values) {
        return values.begin()[engine_() % values.size()];
    }

private:
    std::mt19937_64 engine_;
};

// Version word and version of one handle. Mostly a pair that lets every read
// and every write through without the host, as outside parallel jobs: bits
// 0 and 1 of the word clear, the version equal to the word without bit 2.
// Otherwise any of the 64 combinations of their low three bits, below high
// bits that are equal, one bit apart or unrelated; the host may then refuse
// the checks that the pair calls for.
void RandomVersions(Dice& dice, uint32_t& word, AtomicSafetyHandle& handle, bool& refuseRead, bool& refuseWrite);

// A column or row of a mask mostly, else one just around it, whose index
// lands in the row before or after, or outside the window.
inline int32_t RandomPixelCoordinate(Dice& dice, int32_t extent) {
    return dice.Percent(80) && extent > 0 ? dice.Between(0, extent - 1) : dice.Between(-2, extent + 1LL);
}

// Counts the scenes that the shipped build ran to their end without asking
// the host: the ones its fast paths may take. Holding that share to a floor
// makes a generator that drifts towards the checked path fail, since the
// comparison would then say little about the fast paths.
class UncheckedShare {
public:
    void Count(bool unchecked) {
        ++scenes_;
        unchecked_ += unchecked ? 1 : 0;
    }
    // Prints the share and expects at least `floorPercent`, for runs long
    // enough to measure it.
    void Report(uint32_t floorPercent) const;

private:
    int64_t scenes_ = 0;
    int64_t unchecked_ = 0;
};

// The scenes of one randomized test: by default the bounded slice that the
// test command runs, `slice` scenes from the test's own seed. For long runs
// MASKFIT_DIFFERENTIAL_SCENES sets the number of scenes, a non-zero
// MASKFIT_DIFFERENTIAL_SEED moves every test to other scenes, and
// MASKFIT_DIFFERENTIAL_FIRST skips to a scene, so that one scene of a long
// run can be run alone.
struct SceneSeries {
    uint64_t seed;
    int64_t first;
    int64_t count;
};

SceneSeries ScenesOf(uint32_t testSeed, int64_t slice);
uint64_t SceneSeed(const SceneSeries& series, int64_t scene);
std::string SceneName(const SceneSeries& series, int64_t scene);

// Runs `body(dice)` once per scene, each scene with dice of its own, until
// the first failure. `body` returns whether the shipped run went unchecked.
template <typename Body>
void ForEachScene(uint32_t testSeed, int64_t slice, uint32_t uncheckedFloorPercent, Body&& body) {
    const SceneSeries series = ScenesOf(testSeed, slice);
    UncheckedShare share;
    for (int64_t scene = series.first; scene < series.first + series.count && !::testing::Test::HasFailure();
         ++scene) {
        SCOPED_TRACE(SceneName(series, scene));
        Dice dice(SceneSeed(series, scene));
        share.Count(body(dice));
    }
    share.Report(uncheckedFloorPercent);
}

// How one call went on the host's side.
struct HostSide {
    hostsim::Outcome outcome;
    std::vector<hostsim::SafetyCall> calls;  // the host checks it made
};

// Runs `call` with fresh host records, leaving the library the given way
// and refusing the given checks.
template <typename Call>
HostSide RunFresh(hostsim::LeaveBy leaveBy, bool refuseRead, bool refuseWrite, Call&& call) {
    hostsim::ResetState();
    hostsim::State().leaveBy = leaveBy;
    hostsim::State().refuseRead = refuseRead;
    hostsim::State().refuseWrite = refuseWrite;
    HostSide side;
    side.outcome = hostsim::Run(call);
    side.calls = hostsim::State().safetyCalls;
    return side;
}

inline void ExpectSameEnding(const hostsim::Outcome& literal, const hostsim::Outcome& fast) {
    EXPECT_EQ(literal.ending, fast.ending);
    EXPECT_EQ(literal.exceptionType, fast.exceptionType);
    EXPECT_EQ(literal.message, fast.message);
    EXPECT_EQ(literal.refusedWrite, fast.refusedWrite);
}

// The same checks, in the same order, each with the same copy of the handle.
inline void ExpectSameHostChecks(const std::vector<hostsim::SafetyCall>& literal,
                                 const std::vector<hostsim::SafetyCall>& fast) {
    ASSERT_EQ(literal.size(), fast.size());
    for (size_t i = 0; i < literal.size(); ++i) {
        const AtomicSafetyHandle& a = literal[i].handle;
        const AtomicSafetyHandle& b = fast[i].handle;
        EXPECT_EQ(literal[i].write, fast[i].write) << "host check " << i;
        EXPECT_TRUE(a.versionWord == b.versionWord && a.version == b.version && a.safetyId == b.safetyId)
            << "host check " << i;
    }
}

// The shipped run returned without a host check.
inline bool RanUnchecked(const HostSide& side) {
    return side.outcome.ending == hostsim::Ending::kReturned && side.calls.empty();
}

}  // namespace mftest

#endif
