#include "started_library.h"

namespace demotest {

const hostsim::EntryPoints& StartedLibrary() {
    static const hostsim::Library library(hostsim::DefaultLibraryPath());
    static const hostsim::EntryPoints entries = hostsim::Start(library);
    return entries;
}

}  // namespace demotest
