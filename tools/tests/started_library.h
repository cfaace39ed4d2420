// The library beside the tests, loaded and started once per process.
#ifndef MASKFIT_TOOLS_TESTS_STARTED_LIBRARY_H
#define MASKFIT_TOOLS_TESTS_STARTED_LIBRARY_H

#include "host_sim.h"

namespace demotest {

const hostsim::EntryPoints& StartedLibrary();

}  // namespace demotest

#endif
