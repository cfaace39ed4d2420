// The demo's calls into the library, made the way the host makes them:
// every one through the host simulator, so that an abort comes back here
// as an error instead of ending the process.
#ifndef MASKFIT_TOOLS_HOST_CALLS_H
#define MASKFIT_TOOLS_HOST_CALLS_H

#include <cstdint>
#include <stdexcept>
#include <string>

#include "host_sim.h"

namespace demo {

// A call that the library ended through the host's abort (or a safety check
// that the host refused).
struct LibraryAbort : std::runtime_error {
    LibraryAbort(const std::string& operation, const std::string& exceptionType, const std::string& message);
    std::string operation;
    std::string exceptionType;
    std::string detail;
};

void RunBuildShapeMask(const hostsim::EntryPoints& entries, ShapeBuildJob& job);
// The result of the search job's one-element result array.
PlacementResult RunFindPlacement(const hostsim::EntryPoints& entries, PlacementSearchJob& job);
void RunBlitShape(const hostsim::EntryPoints& entries, BoardMask& board, const ShapeMask& shape, int32_t x,
                  int32_t y);

}  // namespace demo

#endif
