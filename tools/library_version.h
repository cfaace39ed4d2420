// The version a loaded library carries in its own file: the DLL's version
// resource, or the ELF note "maskfit". It is read from the loaded image, not
// taken from the header the demo was built with, so that a demo run against
// an older or newer library says which one it got.
#ifndef MASKFIT_TOOLS_LIBRARY_VERSION_H
#define MASKFIT_TOOLS_LIBRARY_VERSION_H

#include <string>

namespace demo {

// `addressInLibrary`: any address inside the loaded library, such as one of
// its exports. Empty when that library carries no version.
std::string EmbeddedVersion(const void* addressInLibrary);

}  // namespace demo

#endif
