// No entry point allocates from the heap on any path: returning, aborting,
// asking the host, refused. The library is started with host functions
// that pause the count while the host has control (the simulated host keeps
// its records in vectors and strings), so only the library's own
// allocations are counted.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "allocation_counter.h"
#include "entry_workload.h"

namespace {

using mfreliability::SetCounting;

MASKFIT_HOSTCALL void PausingAbort(const char* type, const char* message) {
    SetCounting(false);
    hostsim::Abort()(type, message);
}

MASKFIT_HOSTCALL void PausingCheckRead(AtomicSafetyHandle* handle) {
    SetCounting(false);
    hostsim::CheckRead()(handle);
    SetCounting(true);
}

MASKFIT_HOSTCALL void PausingCheckWrite(AtomicSafetyHandle* handle) {
    SetCounting(false);
    hostsim::CheckWrite()(handle);
    SetCounting(true);
}

// The simulated host's functions, each wrapped in its pausing twin.
MASKFIT_HOSTCALL void* PausingResolver(const char* name) {
    void* function = hostsim::Resolver()(name);
    if (function == reinterpret_cast<void*>(hostsim::Abort())) {
        return reinterpret_cast<void*>(&PausingAbort);
    }
    if (function == reinterpret_cast<void*>(hostsim::CheckRead())) {
        return reinterpret_cast<void*>(&PausingCheckRead);
    }
    if (function == reinterpret_cast<void*>(hostsim::CheckWrite())) {
        return reinterpret_cast<void*>(&PausingCheckWrite);
    }
    return function;
}

const hostsim::EntryPoints& PausingEntries() {
    static const hostsim::Library library(hostsim::DefaultLibraryPath());
    static const hostsim::EntryPoints entries = [] {
        const hostsim::EntryPoints resolved = hostsim::ResolveEntryPoints(library);
        library.Get<MaskfitInitializeFn>("burst.initialize")(&PausingResolver);
        library.Get<MaskfitSetupExtraFn>("burst.setup_extra")(hostsim::Accessor());
        return resolved;
    }();
    return entries;
}

struct CallCount {
    std::string name;
    size_t allocations;
};

std::vector<CallCount> gCounts;
const char* gCurrentCall = nullptr;

// Counting is off here: the previous call returned, aborted or was refused.
void FinishCurrentCall() {
    if (gCurrentCall != nullptr) {
        gCounts.push_back(CallCount{gCurrentCall, mfreliability::CountedAllocations()});
        gCurrentCall = nullptr;
    }
}

void BeforeCall(const char* name) {
    FinishCurrentCall();
    gCurrentCall = name;
    mfreliability::ResetCountedAllocations();
    SetCounting(true);
}

void AfterCall() { SetCounting(false); }

TEST(NoHeap, TheCounterSeesAllocationsOfTheProgramAndOfLoadedLibraries) {
    mfreliability::ResetCountedAllocations();
    SetCounting(true);
    auto owned = std::make_unique<int>(7);
    char* copy = strdup("made inside libc");
    SetCounting(false);
    free(copy);
    EXPECT_EQ(mfreliability::CountedAllocations(), 2u);
}

TEST(NoHeap, NoEntryPointAllocatesOnAnyPath) {
    const hostsim::EntryPoints& lib = PausingEntries();
    gCounts.reserve(256);
    for (uint32_t variant : {0u, 1u}) {  // leaving by long jump, then by exception
        const std::vector<mfreliability::CallResult> results =
            mfreliability::RunEveryEntryPoint(lib, variant, mfreliability::CallHooks{&BeforeCall, &AfterCall});
        FinishCurrentCall();
        // The pausing host changes nothing the calls observe. (The literal
        // build: loading the shipped path again would share this instance.)
        EXPECT_EQ(results, mfreliability::RunEveryEntryPoint(mftest::LiteralEntries(), variant));
    }
    ASSERT_FALSE(gCounts.empty());
    for (const CallCount& call : gCounts) {
        EXPECT_EQ(call.allocations, 0u) << call.name;
    }
}

}  // namespace
