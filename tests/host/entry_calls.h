// One normal-returning call of every entry point, made through a probe that
// loads and checks every callee-saved register of the host's convention.
// Shared by the frame tests and the version-state sweep.
#ifndef MASKFIT_TESTS_ENTRY_CALLS_H
#define MASKFIT_TESTS_ENTRY_CALLS_H

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "test_support.h"

namespace mftest {

// RBX, RBP, RDI, RSI, R12 to R15 and XMM6 to XMM15, as the probe
// (register_probe.S) loads and stores them.
struct RegisterSet {
    uint64_t general[8];  // RBX, RBP, RDI, RSI, R12, R13, R14, R15
    uint64_t rspBefore;
    uint64_t rspAfter;
    uint8_t xmm6to15[160];
};
static_assert(offsetof(RegisterSet, rspBefore) == 64 && offsetof(RegisterSet, xmm6to15) == 80);

inline constexpr const char* kGeneralRegisterNames[8] = {"RBX", "RBP", "RDI", "RSI", "R12", "R13", "R14", "R15"};

// Distinct values in every register and every byte of the vector registers.
RegisterSet RegisterPattern();

// Up to twelve argument slots of one host call.
struct ArgSlots {
    uint64_t slots[12] = {};
    ArgSlots(std::initializer_list<uint64_t> values);
};

// A 32-bit argument as a host may pass it: whatever lies in the upper half.
inline uint64_t I32(int32_t value) { return 0xC3C3C3C300000000ull | static_cast<uint32_t>(value); }
template <typename T>
uint64_t Ptr(T* p) {
    return reinterpret_cast<uint64_t>(p);
}
inline constexpr uint64_t kJunk = 0x5A5A5A5A5A5A5A5Aull;

// Calls fn with the host's convention, `load` in the callee-saved registers;
// `after` receives them as the call returned them. Returns RAX.
uint64_t CallWithRegisters(const void* fn, const ArgSlots& args, const RegisterSet& load, RegisterSet& after);

// Records for one call of every entry point, each view's handle issued with
// `version` over a version word holding `word`: equal values let the fast
// paths run, others make accesses ask the host.
struct EveryEntryScene {
    TestShape shape{8, 8};   // drawn into: bounds.x0 and y0 are the scan limits
    TestShape placed{8, 8};  // placed and read: bounds are its content rectangle
    TestBoard board{16, 16};
    Vec2 corners[3] = {{0, 0}, {4, 0}, {0, 4}};
    int32_t indices[3] = {0, 1, 2};
    ShapeMask shapes[1] = {};
    uint32_t jobWord = 0;
    ShapeBuildJob build{};
    PlacementResult results[2] = {};
    PlacementSearchJob search{};

    EveryEntryScene(uint32_t version, uint32_t word);
    // Every byte a call may change: pixels, records and results; and back.
    std::vector<uint8_t> Snapshot();
    void Restore(const std::vector<uint8_t>& snapshot);

private:
    template <typename Visit>
    void ForEachChangeable(Visit visit);
};

struct EntryCall {
    const char* name;
    const void* fn;
    ArgSlots args;
};

std::vector<EntryCall> EveryEntryCall(const hostsim::EntryPoints& lib, EveryEntryScene& scene);

}  // namespace mftest

#endif
