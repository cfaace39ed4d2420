#include "host_calls.h"

#include "mask_storage.h"

namespace demo {
namespace {

// The call may leave by long jump: it must hold nothing that needs destroying.
template <typename Call>
void RunChecked(const char* operation, Call&& call) {
    const hostsim::Outcome outcome = hostsim::Run(call);
    switch (outcome.ending) {
        case hostsim::Ending::kReturned:
            return;
        case hostsim::Ending::kAborted:
            throw LibraryAbort(operation, outcome.exceptionType, outcome.message);
        case hostsim::Ending::kRefused:
            throw LibraryAbort(operation, "refused safety check",
                               outcome.refusedWrite ? "the host refused a write" : "the host refused a read");
    }
}

}  // namespace

LibraryAbort::LibraryAbort(const std::string& operation, const std::string& exceptionType, const std::string& message)
    : std::runtime_error(operation + " aborted with " + exceptionType + ": " + message),
      operation(operation),
      exceptionType(exceptionType),
      detail(message) {}

void RunBuildShapeMask(const hostsim::EntryPoints& entries, ShapeBuildJob& job) {
    RunChecked("BuildShapeMask", [&] { entries.buildShapeMask(&job, nullptr, nullptr, nullptr, 0); });
}

PlacementResult RunFindPlacement(const hostsim::EntryPoints& entries, PlacementSearchJob& job) {
    PlacementResult result{};
    VersionedMemory memory;
    job.outputIndex = 0;
    job.results = memory.ViewOf(&result, 1);
    RunChecked("FindPlacement", [&] { entries.findPlacement(&job, nullptr, nullptr, nullptr, 0); });
    return result;
}

void RunBlitShape(const hostsim::EntryPoints& entries, BoardMask& board, const ShapeMask& shape, int32_t x,
                  int32_t y) {
    RunChecked("BlitShape", [&] { entries.blitShape(nullptr, &board, &shape, x, y); });
}

}  // namespace demo
