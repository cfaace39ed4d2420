// One pass over every entry point, on masks of the pass's own, through the
// returning, aborting, host-checked and refused paths. What each call leaves
// behind is summed up in a comparable record, so that the same pass can be
// run on another thread, on a small stack or under an allocation counter and
// compared with a pass on the main thread.
#ifndef MASKFIT_TESTS_RELIABILITY_ENTRY_WORKLOAD_H
#define MASKFIT_TESTS_RELIABILITY_ENTRY_WORKLOAD_H

#include <cstdint>
#include <string>
#include <vector>

#include "host_sim.h"
#include "host/test_support.h"

namespace mfreliability {

struct CallResult {
    std::string name;
    hostsim::Ending ending = hostsim::Ending::kReturned;
    std::string message;
    size_t hostChecks = 0;
    int32_t returned = 0;  // the result of entries that have one
    uint64_t digest = 0;   // every byte and record field the call may change
    bool chainRestored = false;

    bool operator==(const CallResult&) const = default;
};

// Called just before and just after each entry call, on the calling thread;
// after an abort or a refusal only `before` runs.
struct CallHooks {
    void (*before)(const char* name) = nullptr;
    void (*after)() = nullptr;
};

// `variant` moves positions and values, so that passes with different
// variants do different work. Aborts leave by long jump for even variants
// and by exception for odd ones.
std::vector<CallResult> RunEveryEntryPoint(const hostsim::EntryPoints& lib, uint32_t variant,
                                           const CallHooks& hooks = {});

// A board that many threads search at once and nobody writes.
struct SharedBoard {
    mftest::TestBoard board{48, 48};
    SharedBoard();
};

// CanPlace and FindPlacement on the shared board, with shapes and results
// of the pass's own.
std::vector<CallResult> SearchSharedBoard(const hostsim::EntryPoints& lib, const SharedBoard& shared,
                                          uint32_t variant);

void PrintTo(const CallResult& result, std::ostream* out);

}  // namespace mfreliability

#endif
