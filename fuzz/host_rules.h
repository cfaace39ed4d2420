// What every entry call keeps, whatever the host passes: it returns, or ends
// in the abort with the exact exception type and one of the two messages
// (the plain one naming an index that really fails against a view of that
// length), or in a check that the host itself refused. The frame chain head
// is back where it was, and the host is asked for a safety check only for a
// handle whose version does not let the access through.
#ifndef MASKFIT_FUZZ_HOST_RULES_H
#define MASKFIT_FUZZ_HOST_RULES_H

#include <string>
#include <vector>

#include "fuzz_reader.h"
#include "host_sim.h"

namespace mffuzz {

// Passed for the arguments the library must not read: not an address.
inline const void* const kNotRead = reinterpret_cast<const void*>(0x7ead);

// How the simulated host answers this input's calls.
struct HostSetup {
    hostsim::LeaveBy leaveBy = hostsim::LeaveBy::kLongJump;
    bool refuseRead = false;
    bool refuseWrite = false;
};

HostSetup ReadHostSetup(FuzzReader& in);

struct CallRecord {
    hostsim::Outcome outcome;
    std::vector<hostsim::SafetyCall> safetyCalls;
};

// The shipped library and the literal build, each loaded and started once.
const hostsim::EntryPoints& ShippedEntries();
const hostsim::EntryPoints& LiteralEntries();

// Reports a broken rule and stops the process, so the fuzzer keeps the input.
[[noreturn]] void Fail(const std::string& what);

inline void Require(bool holds, const char* what) {
    if (!holds) {
        Fail(what);
    }
}

bool IndexFails(const CheckedArray& view, int32_t index);
// Whether the handle's version sends a read or a write to the host's check.
bool AsksHost(const CheckedArray& view, bool write);
// The message that a bounds failure of `index` against `view` must deliver.
std::string ExpectedBoundsMessage(const CheckedArray& view, int32_t index);

template <typename Call>
CallRecord RunThroughHost(const HostSetup& setup, Call&& call) {
    hostsim::ResetState();
    hostsim::ThreadState& state = hostsim::State();
    state.leaveBy = setup.leaveBy;
    state.refuseRead = setup.refuseRead;
    state.refuseWrite = setup.refuseWrite;
    void* const headBefore = *hostsim::ChainHeadSlot();
    CallRecord record;
    record.outcome = hostsim::Run(call);
    Require(*hostsim::ChainHeadSlot() == headBefore, "the frame chain head is restored");
    record.safetyCalls = std::move(state.safetyCalls);
    return record;
}

// `views`: every view the call may reach, each with its own safetyId.
void CheckRules(const CallRecord& record, const HostSetup& setup, const std::vector<CheckedArray>& views);

// Both libraries ended the same way after the same host calls.
void CheckSameRun(const CallRecord& shipped, const CallRecord& literal);

// A target's world: the call's memory, built from one decoded input.
//   Plan::host                             the HostSetup of the input
//   World(const Plan&)                     builds window-exact memory
//   void Call(const hostsim::EntryPoints&) makes the entry call
//   std::vector<CheckedArray> Views()      every view the call may reach
//   void CheckEffects(const CallRecord&)   the target's own rules
//   std::vector<uint8_t> Snapshot()        everything the call may change
// Both libraries get a world of their own from the same input; each run keeps
// the rules, and both must agree in every observable.
template <typename World, typename Plan>
void RunOnBothLibraries(const Plan& plan) {
    const HostSetup& setup = plan.host;
    World shipped(plan);
    World literal(plan);
    const CallRecord shippedRun = RunThroughHost(setup, [&] { shipped.Call(ShippedEntries()); });
    CheckRules(shippedRun, setup, shipped.Views());
    shipped.CheckEffects(shippedRun);
    const CallRecord literalRun = RunThroughHost(setup, [&] { literal.Call(LiteralEntries()); });
    CheckRules(literalRun, setup, literal.Views());
    literal.CheckEffects(literalRun);
    CheckSameRun(shippedRun, literalRun);
    Require(shipped.Snapshot() == literal.Snapshot(), "both libraries leave the same memory behind");
}

}  // namespace mffuzz

#endif
