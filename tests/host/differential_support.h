// Shared by the differential tests, which run each call through the shipped
// build and through its literal twin: the way the two calls ended and the
// host checks they made must agree exactly.
#ifndef MASKFIT_TESTS_DIFFERENTIAL_SUPPORT_H
#define MASKFIT_TESTS_DIFFERENTIAL_SUPPORT_H

#include <utility>
#include <vector>

#include "test_support.h"

namespace mftest {

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

}  // namespace mftest

#endif
