// Helpers shared by the fit, search, blit and pipeline tests: counting the
// host's safety checks, and a placement search job that owns its results.
// Each test runs on both libraries through drawing_support.h's EachLibraryTest.
#ifndef MASKFIT_TESTS_PLACEMENT_SUPPORT_H
#define MASKFIT_TESTS_PLACEMENT_SUPPORT_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <ostream>
#include <vector>

#include "drawing_support.h"
#include "test_support.h"

// Beside the record, in the global namespace, where lookup finds them.
inline bool operator==(const PlacementResult& a, const PlacementResult& b) {
    return a.x == b.x && a.y == b.y && a.found == b.found && a.reserved == b.reserved;
}

inline std::ostream& operator<<(std::ostream& out, const PlacementResult& r) {
    return out << "{" << r.x << ", " << r.y << ", " << r.found << ", " << r.reserved << "}";
}

namespace mftest {

// A version word that fails both the read and the write version test, so
// every access of a view over it goes through the host's check.
inline constexpr uint32_t kVersionWordForcingChecks = 8;

inline void ForceHostChecks(Pixels& pixels) { *pixels.versionWord = kVersionWordForcingChecks; }

// Safety calls of this thread so far, optionally only those for one view.
inline size_t CountSafetyCalls(bool write) {
    size_t count = 0;
    for (const hostsim::SafetyCall& call : hostsim::State().safetyCalls) {
        count += call.write == write ? 1 : 0;
    }
    return count;
}

inline size_t CountSafetyCalls(bool write, int32_t safetyId) {
    size_t count = 0;
    for (const hostsim::SafetyCall& call : hostsim::State().safetyCalls) {
        count += (call.write == write && call.handle.safetyId == safetyId) ? 1 : 0;
    }
    return count;
}

struct Point {
    int32_t x;
    int32_t y;
};

template <typename Mask>
void Cover(Mask& mask, const std::vector<Point>& points, uint8_t value = FILL_INTERIOR) {
    for (const Point& p : points) {
        mask.Set(p.x, p.y, value);
    }
}

// Runs a call that should return, and hands back its result.
template <typename Call>
int32_t ResultOf(Call&& call) {
    int32_t result = -1;
    const hostsim::Outcome outcome = hostsim::Run([&] { result = call(); });
    EXPECT_EQ(outcome.ending, hostsim::Ending::kReturned) << outcome.message;
    return result;
}

// A PlacementSearchJob block with the board and shape copied in by value and
// a results array of its own. The host's unread words hold a pattern, so a
// run that depends on them or writes into the block shows.
struct SearchJob {
    // What the results hold before a run: a hit of an earlier run.
    static constexpr PlacementResult kUntouched{-7, -8, 1, -9};

    std::vector<PlacementResult> results;
    std::unique_ptr<uint32_t> resultsVersion = std::make_unique<uint32_t>(0);
    PlacementSearchJob block{};

    SearchJob(const BoardMask& board, const ShapeMask& shape, size_t resultCount = 4)
        : results(resultCount, kUntouched) {
        std::memset(&block, 0xA5, sizeof block);
        block.xRange = SearchRange{0, 0, 1, -1};
        block.yRange = SearchRange{0, 0, 1, -1};
        block.outputIndex = 0;
        block.board = board;
        block.shape = shape;
        block.results = ViewOf(results.data(), static_cast<int32_t>(results.size()), resultsVersion.get());
        block.results.safety.safetyId = kResultsSafetyId;
    }

    void Ranges(SearchRange x, SearchRange y) {
        block.xRange = x;
        block.yRange = y;
    }

    // Runs the job entry with the host's full argument list.
    hostsim::Outcome Run(const hostsim::EntryPoints& entries) {
        static const int32_t hostRanges[4] = {0, 1, 0, 1};
        return hostsim::Run([&] { entries.findPlacement(&block, this, &results, hostRanges, 3); });
    }

    static constexpr int32_t kResultsSafetyId = 31;
};

}  // namespace mftest

#endif
