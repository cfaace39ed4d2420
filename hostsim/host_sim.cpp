#include "host_sim.h"

#include <cstdlib>
#include <cstring>
#include <mutex>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

extern "C" {
// Assembly: records XMM6..XMM15 as they arrive, then calls hostsim_on_abort.
MASKFIT_HOSTCALL void hostsim_burst_abort(const char* type, const char* message);
[[noreturn]] MASKFIT_HOSTCALL void hostsim_on_abort(const char* type, const char* message, const uint8_t* xmm);
}

namespace hostsim {
namespace {

constexpr char kCheckReadName[] =
    "Unity.Collections.LowLevel.Unsafe.AtomicSafetyHandle::CheckReadAndThrowNoEarlyOut_Injected";
constexpr char kCheckWriteName[] =
    "Unity.Collections.LowLevel.Unsafe.AtomicSafetyHandle::CheckWriteAndThrowNoEarlyOut_Injected";

std::mutex& RequestsMutex() {
    static std::mutex mutex;
    return mutex;
}

std::vector<std::string>& Requests() {
    static std::vector<std::string> requests;
    return requests;
}

thread_local ThreadState tState;
thread_local void* tChainHead = nullptr;
thread_local uint64_t tAccessorCalls = 0;
thread_local JumpTarget* tJumpTarget = nullptr;
thread_local Outcome tLeftOutcome;

// Leaves the library the way the current thread's host was told to.
[[noreturn]] void Leave(Outcome outcome) {
    if (tState.leaveBy == LeaveBy::kException) {
        throw HostException{std::move(outcome)};
    }
    JumpTarget* target = tJumpTarget;
    if (target == nullptr) {
        std::abort();  // an abort outside Run has nowhere to go
    }
    tLeftOutcome = std::move(outcome);
    __builtin_longjmp(target->buffer, 1);
}

void SafetyCheck(bool write, AtomicSafetyHandle* handle) {
    SafetyCall call{write, *handle, handle, tChainHead, {}};
    if (tChainHead != nullptr) {
        std::memcpy(&call.frame, tChainHead, sizeof call.frame);
    }
    tState.safetyCalls.push_back(call);
    if (write ? tState.refuseWrite : tState.refuseRead) {
        Outcome outcome;
        outcome.ending = Ending::kRefused;
        outcome.refusedWrite = write;
        Leave(std::move(outcome));
    }
}

MASKFIT_HOSTCALL void CheckReadImpl(AtomicSafetyHandle* handle) { SafetyCheck(false, handle); }
MASKFIT_HOSTCALL void CheckWriteImpl(AtomicSafetyHandle* handle) { SafetyCheck(true, handle); }

MASKFIT_HOSTCALL void** AccessorImpl() {
    ++tAccessorCalls;
    return &tChainHead;
}

MASKFIT_HOSTCALL void* ResolverImpl(const char* name) {
    {
        std::lock_guard<std::mutex> lock(RequestsMutex());
        Requests().emplace_back(name);
    }
    if (std::strcmp(name, "burst_abort") == 0) {
        return reinterpret_cast<void*>(&hostsim_burst_abort);
    }
    if (std::strcmp(name, kCheckReadName) == 0) {
        return reinterpret_cast<void*>(&CheckReadImpl);
    }
    if (std::strcmp(name, kCheckWriteName) == 0) {
        return reinterpret_cast<void*>(&CheckWriteImpl);
    }
    return nullptr;
}

std::mutex& StartMutex() {
    static std::mutex mutex;
    return mutex;
}

// The directory of the running program, where the libraries are built.
std::string ProgramDirectory() {
#if defined(_WIN32)
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string self(path, length);
    const auto separator = self.find_last_of("\\/");
#else
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&ProgramDirectory), &info) == 0 || info.dli_fname == nullptr) {
        return ".";
    }
    const std::string self = info.dli_fname;
    const auto separator = self.rfind('/');
#endif
    return separator == std::string::npos ? std::string(".") : self.substr(0, separator);
}

std::string PathFromEnvironmentOrBeside(const char* variable, const std::string& stem) {
    if (const char* path = std::getenv(variable); path != nullptr && *path != '\0') {
        return path;
    }
#if defined(_WIN32)
    return ProgramDirectory() + "\\" + stem + ".dll";
#else
    return ProgramDirectory() + "/lib" + stem + ".so";
#endif
}

void* OpenLibrary(const std::string& path) {
#if defined(_WIN32)
    return reinterpret_cast<void*>(LoadLibraryA(path.c_str()));
#else
    return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
#endif
}

std::string LastLoadError() {
#if defined(_WIN32)
    return "error " + std::to_string(GetLastError());
#else
    const char* error = dlerror();
    return error != nullptr ? error : "unknown error";
#endif
}

}  // namespace

Library::Library(const std::string& path) : path_(path), handle_(OpenLibrary(path)) {
    if (handle_ == nullptr) {
        throw LoadError("cannot load " + path + ": " + LastLoadError());
    }
}

void* Library::Find(const char* name) const {
#if defined(_WIN32)
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
#else
    return dlsym(handle_, name);
#endif
}

void* Library::Require(const char* name) const {
    void* symbol = Find(name);
    if (symbol == nullptr) {
        throw LoadError(path_ + " lacks the symbol " + name);
    }
    return symbol;
}

namespace {

// A missing entry point is named by its operation: the bare symbol tells a
// reader nothing.
template <typename Function>
Function RequireEntry(const Library& library, const char* operation, const char* symbol) {
    void* address = library.Find(symbol);
    if (address == nullptr) {
        throw LoadError(library.Path() + " lacks the entry point " + operation + " (symbol " + symbol + ")");
    }
    return reinterpret_cast<Function>(address);
}

}  // namespace

EntryPoints ResolveEntryPoints(const Library& library) {
    EntryPoints entries{};
    entries.rasterizeTriangles =
        RequireEntry<RasterizeTrianglesFn>(library, "RasterizeTriangles", MASKFIT_SYMBOL_RASTERIZE_TRIANGLES);
    entries.rasterizeTriangle =
        RequireEntry<RasterizeTriangleFn>(library, "RasterizeTriangle", MASKFIT_SYMBOL_RASTERIZE_TRIANGLE);
    entries.paintBorder = RequireEntry<PaintBorderFn>(library, "PaintBorder", MASKFIT_SYMBOL_PAINT_BORDER);
    entries.findPlacement = RequireEntry<JobEntryFn>(library, "FindPlacement", MASKFIT_SYMBOL_FIND_PLACEMENT);
    entries.setPixel = RequireEntry<SetPixelFn>(library, "SetPixel", MASKFIT_SYMBOL_SET_PIXEL);
    entries.buildShapeMask = RequireEntry<JobEntryFn>(library, "BuildShapeMask", MASKFIT_SYMBOL_BUILD_SHAPE_MASK);
    entries.copyPixel = RequireEntry<CopyPixelFn>(library, "CopyPixel", MASKFIT_SYMBOL_COPY_PIXEL);
    entries.blitShape = RequireEntry<BlitShapeFn>(library, "BlitShape", MASKFIT_SYMBOL_BLIT_SHAPE);
    entries.pixelsOverlap = RequireEntry<PixelsOverlapFn>(library, "PixelsOverlap", MASKFIT_SYMBOL_PIXELS_OVERLAP);
    entries.canPlace = RequireEntry<CanPlaceFn>(library, "CanPlace", MASKFIT_SYMBOL_CAN_PLACE);
    return entries;
}

EntryPoints Start(const Library& library, std::vector<std::string>* requests) {
    const EntryPoints entries = ResolveEntryPoints(library);
    std::lock_guard<std::mutex> startLock(StartMutex());
    const size_t before = ResolverRequests().size();
    library.Get<MaskfitInitializeFn>(MASKFIT_SYMBOL_INITIALIZE)(&ResolverImpl);
    library.Get<MaskfitSetupExtraFn>(MASKFIT_SYMBOL_SETUP_EXTRA)(&AccessorImpl);
    if (requests != nullptr) {
        const std::vector<std::string> all = ResolverRequests();
        requests->assign(all.begin() + static_cast<std::ptrdiff_t>(before), all.end());
    }
    return entries;
}

std::string DefaultLibraryPath() { return PathFromEnvironmentOrBeside("MASKFIT_LIB", "maskfit"); }

std::string LiteralLibraryPath() { return PathFromEnvironmentOrBeside("MASKFIT_LITERAL_LIB", "maskfit_literal"); }

std::vector<std::string> ResolverRequests() {
    std::lock_guard<std::mutex> lock(RequestsMutex());
    return Requests();
}

void ClearResolverRequests() {
    std::lock_guard<std::mutex> lock(RequestsMutex());
    Requests().clear();
}

MaskfitResolver Resolver() { return &ResolverImpl; }
FrameChainAccessor Accessor() { return &AccessorImpl; }
MaskfitAbortFn Abort() { return &hostsim_burst_abort; }
MaskfitSafetyCheckFn CheckRead() { return &CheckReadImpl; }
MaskfitSafetyCheckFn CheckWrite() { return &CheckWriteImpl; }

ThreadState& State() { return tState; }

void ResetState() {
    const LeaveBy leaveBy = tState.leaveBy;
    tState = ThreadState{};
    tState.leaveBy = leaveBy;
    tAccessorCalls = 0;
}

uint64_t AccessorCalls() { return tAccessorCalls; }

void** ChainHeadSlot() { return &tChainHead; }
JumpTarget*& CurrentJumpTarget() { return tJumpTarget; }

Outcome TakeLeftOutcome() { return std::move(tLeftOutcome); }

}  // namespace hostsim

extern "C" MASKFIT_HOSTCALL void hostsim_on_abort(const char* type, const char* message, const uint8_t* xmm) {
    std::memcpy(hostsim::tState.xmmAtAbort, xmm, sizeof hostsim::tState.xmmAtAbort);
    hostsim::Outcome outcome;
    outcome.ending = hostsim::Ending::kAborted;
    outcome.exceptionType = type;
    outcome.message = message;
    hostsim::Leave(std::move(outcome));
}
