// The host simulator: plays the engine's job runtime for tests, the demo,
// benchmarks and fuzzers. It loads the library by path, resolves every
// export by name, performs the start-up handshake, keeps one frame chain per
// thread, and supplies an abort and safety checks that record their calls.
#ifndef MASKFIT_HOSTSIM_HOST_SIM_H
#define MASKFIT_HOSTSIM_HOST_SIM_H

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "maskfit/maskfit.h"

namespace hostsim {

// A library loaded by path. It stays loaded for the life of the process:
// the library has no tear-down.
class Library {
public:
    explicit Library(const std::string& path);  // throws LoadError
    void* Find(const char* name) const;         // nullptr when missing

    template <typename Function>
    Function Get(const char* name) const {
        return reinterpret_cast<Function>(Require(name));
    }

    const std::string& Path() const { return path_; }

private:
    void* Require(const char* name) const;  // throws LoadError when missing
    std::string path_;
    void* handle_;
};

struct LoadError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Every entry point, resolved by its exported symbol.
struct EntryPoints {
    RasterizeTrianglesFn rasterizeTriangles;
    RasterizeTriangleFn rasterizeTriangle;
    PaintBorderFn paintBorder;
    JobEntryFn findPlacement;
    SetPixelFn setPixel;
    JobEntryFn buildShapeMask;
    CopyPixelFn copyPixel;
    BlitShapeFn blitShape;
    PixelsOverlapFn pixelsOverlap;
    CanPlaceFn canPlace;
};

EntryPoints ResolveEntryPoints(const Library& library);

// burst.initialize with the recording resolver, then burst.setup_extra with
// the per-thread accessor. Returns the entry points; `requests`, if given,
// receives the names this start-up asked the resolver for.
EntryPoints Start(const Library& library, std::vector<std::string>* requests = nullptr);

// The shipped library's path: $MASKFIT_LIB if set, else the one built beside
// the running program.
std::string DefaultLibraryPath();

// The literal build (fast paths off): $MASKFIT_LITERAL_LIB, else beside the program.
std::string LiteralLibraryPath();

// Names the resolver was asked for, in order, since the process started.
std::vector<std::string> ResolverRequests();
void ClearResolverRequests();

// Host functions, as the library receives them from the resolver.
MaskfitResolver Resolver();
FrameChainAccessor Accessor();
MaskfitAbortFn Abort();
MaskfitSafetyCheckFn CheckRead();
MaskfitSafetyCheckFn CheckWrite();

// How an abort or a refused safety check leaves the library.
enum class LeaveBy { kLongJump, kException };

// What the host's check functions saw, on this thread.
struct SafetyCall {
    bool write;
    AtomicSafetyHandle handle;     // the copy the library passed
    const void* handleAddress;     // where that copy lived
    const void* chainHead;         // the frame chain head during the check
    EntryFrame frame;              // a copy of the head frame, when there is one
};

enum class Ending { kReturned, kAborted, kRefused };

struct Outcome {
    Ending ending = Ending::kReturned;
    std::string exceptionType;  // set when aborted
    std::string message;
    bool refusedWrite = false;  // set when refused
};

// Per-thread host state.
struct ThreadState {
    LeaveBy leaveBy = LeaveBy::kLongJump;
    bool refuseRead = false;
    bool refuseWrite = false;
    std::vector<SafetyCall> safetyCalls;
    uint8_t xmmAtAbort[160] = {};  // XMM6..XMM15 as burst_abort received them
};

ThreadState& State();  // this thread's
void ResetState();     // clears records, refusals and the accessor count; keeps leaveBy
// FrameChainAccessor calls on this thread since the last ResetState. Kept
// apart from ThreadState so that the accessor costs the library no more
// than a real host's would: a plain thread-local access.
uint64_t AccessorCalls();
void** ChainHeadSlot();

// Runs `call` the way the host runs a job or a direct call: an abort or a
// refused check ends it and is reported, by the chosen way of leaving. The
// chain head is put back to its value before the call when a check refused
// (the host's own exception handling would); an abort leaves it to the
// library's trampoline.
template <typename Call>
Outcome Run(Call&& call);

// Implementation detail of Run: the per-thread landing point of a long jump.
struct JumpTarget {
    void* buffer[5];
    JumpTarget* previous;
};
JumpTarget*& CurrentJumpTarget();
Outcome TakeLeftOutcome();

struct HostException {
    Outcome outcome;
};

template <typename Call>
Outcome Run(Call&& call) {
    void** head = ChainHeadSlot();
    void* const headBefore = *head;
    Outcome outcome;
    if (State().leaveBy == LeaveBy::kException) {
        try {
            call();
        } catch (const HostException& left) {
            outcome = left.outcome;
        }
    } else {
        JumpTarget target;
        target.previous = CurrentJumpTarget();
        CurrentJumpTarget() = &target;
        if (__builtin_setjmp(target.buffer) == 0) {
            call();
        } else {
            outcome = TakeLeftOutcome();
        }
        CurrentJumpTarget() = target.previous;
    }
    if (outcome.ending == Ending::kRefused) {
        *ChainHeadSlot() = headBefore;
    }
    return outcome;
}

}  // namespace hostsim

#endif
