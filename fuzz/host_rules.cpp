#include "host_rules.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace mffuzz {
namespace {

constexpr char kIndexOutOfRange[] = "System.IndexOutOfRangeException";
constexpr char kRestrictedWindow[] =
    "ReadWriteBuffers are restricted to only read & write the element at the job index. You can use double "
    "buffering strategies to avoid race conditions due to reading & writing in parallel to the same elements "
    "from a job.";

std::string PlainMessage(int64_t index, int64_t length) {
    return "Index " + std::to_string(index) + " is out of range of '" + std::to_string(length) + "' Length.";
}

bool Restricted(const CheckedArray& view) {
    return view.minIndex != 0 || static_cast<int64_t>(view.maxIndex) != static_cast<int64_t>(view.length) - 1;
}

const CheckedArray* FindView(const std::vector<CheckedArray>& views, int32_t safetyId) {
    for (const CheckedArray& view : views) {
        if (view.safety.safetyId == safetyId) {
            return &view;
        }
    }
    return nullptr;
}

void CheckSafetyCalls(const CallRecord& record, const HostSetup& setup, const std::vector<CheckedArray>& views) {
    const size_t count = record.safetyCalls.size();
    for (size_t i = 0; i < count; ++i) {
        const hostsim::SafetyCall& call = record.safetyCalls[i];
        const CheckedArray* view = FindView(views, call.handle.safetyId);
        Require(view != nullptr, "a safety check names a handle of the call's views");
        Require(std::memcmp(&call.handle, &view->safety, sizeof call.handle) == 0,
                "a safety check gets an exact copy of the view's handle");
        Require(AsksHost(*view, call.write), "the host is asked only when the version does not let the access through");
        if (call.write ? setup.refuseWrite : setup.refuseRead) {
            Require(i + 1 == count && record.outcome.ending == hostsim::Ending::kRefused &&
                        record.outcome.refusedWrite == call.write,
                    "a refused check ends the call");
        }
    }
    if (record.outcome.ending == hostsim::Ending::kRefused) {
        Require(count > 0, "a call ends refused only after a check");
    }
}

// The plain form, with numbers that fail against a view of the call.
bool PlainMessageFits(const std::string& message, const std::vector<CheckedArray>& views) {
    long long index = 0;
    long long length = 0;
    if (std::sscanf(message.c_str(), "Index %lld is out of range of '%lld' Length.", &index, &length) != 2 ||
        index < INT32_MIN || index > INT32_MAX || length < INT32_MIN || length > INT32_MAX ||
        message != PlainMessage(index, length)) {
        return false;
    }
    for (const CheckedArray& view : views) {
        if (view.length == length && ExpectedBoundsMessage(view, static_cast<int32_t>(index)) == message) {
            return true;
        }
    }
    return false;
}

void CheckAbort(const hostsim::Outcome& outcome, const std::vector<CheckedArray>& views) {
    Require(outcome.exceptionType == kIndexOutOfRange, "an abort carries System.IndexOutOfRangeException");
    if (outcome.message == kRestrictedWindow) {
        bool anyRestricted = false;
        for (const CheckedArray& view : views) {
            anyRestricted = anyRestricted || Restricted(view);
        }
        Require(anyRestricted, "the restricted-window message needs a restricted window");
        return;
    }
    if (!PlainMessageFits(outcome.message, views)) {
        Fail("abort message \"" + outcome.message + "\" fits no view of the call");
    }
}

}  // namespace

HostSetup ReadHostSetup(FuzzReader& in) {
    const uint8_t bits = in.Byte();
    HostSetup setup;
    setup.leaveBy = (bits & 1u) != 0 ? hostsim::LeaveBy::kException : hostsim::LeaveBy::kLongJump;
    // Refusals are rarer than passes, so that most runs get past the checks.
    setup.refuseRead = (bits & 0x06u) == 0x06u;
    setup.refuseWrite = (bits & 0x18u) == 0x18u;
    return setup;
}

const hostsim::EntryPoints& ShippedEntries() {
    static const hostsim::Library library(hostsim::DefaultLibraryPath());
    static const hostsim::EntryPoints entries = hostsim::Start(library);
    return entries;
}

const hostsim::EntryPoints& LiteralEntries() {
    static const hostsim::Library library(hostsim::LiteralLibraryPath());
    static const hostsim::EntryPoints entries = hostsim::Start(library);
    return entries;
}

void Fail(const std::string& what) {
    std::fprintf(stderr, "\nmaskfit rule broken: %s\n", what.c_str());
    std::abort();
}

bool IndexFails(const CheckedArray& view, int32_t index) { return index < view.minIndex || index > view.maxIndex; }

bool AsksHost(const CheckedArray& view, bool write) {
    const uint32_t mask = write ? 0xFFFFFFFAu : 0xFFFFFFF9u;
    return view.safety.version != (*view.safety.versionWord & mask);
}

std::string ExpectedBoundsMessage(const CheckedArray& view, int32_t index) {
    if (index < view.length && Restricted(view)) {
        return kRestrictedWindow;
    }
    return PlainMessage(index, view.length);
}

void CheckRules(const CallRecord& record, const HostSetup& setup, const std::vector<CheckedArray>& views) {
    CheckSafetyCalls(record, setup, views);
    if (record.outcome.ending == hostsim::Ending::kAborted) {
        CheckAbort(record.outcome, views);
    }
}

void CheckSameRun(const CallRecord& shipped, const CallRecord& literal) {
    const hostsim::Outcome& a = shipped.outcome;
    const hostsim::Outcome& b = literal.outcome;
    if (a.ending != b.ending || a.exceptionType != b.exceptionType || a.message != b.message ||
        a.refusedWrite != b.refusedWrite) {
        Fail("the libraries end differently: shipped \"" + a.message + "\", literal \"" + b.message + "\"");
    }
    Require(shipped.safetyCalls.size() == literal.safetyCalls.size(), "both libraries ask the host equally often");
    for (size_t i = 0; i < shipped.safetyCalls.size(); ++i) {
        const hostsim::SafetyCall& x = shipped.safetyCalls[i];
        const hostsim::SafetyCall& y = literal.safetyCalls[i];
        Require(x.write == y.write && x.handle.safetyId == y.handle.safetyId && x.handle.version == y.handle.version,
                "both libraries ask the host the same questions in the same order");
    }
}

}  // namespace mffuzz
