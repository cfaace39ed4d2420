// What the demo's exit status tells a script.
#ifndef MASKFIT_TOOLS_EXIT_CODES_H
#define MASKFIT_TOOLS_EXIT_CODES_H

namespace demo {

enum ExitCode : int {
    kExitSuccess = 0,
    kExitInternalError = 1,  // a failure of the demo itself
    kExitUsage = 2,          // the command line
    kExitInput = 3,          // an input file: OBJ mesh or board image
    kExitLoad = 4,           // the library did not load or lacks an export
    kExitLibraryAbort = 5,   // the library ended a call through the host's abort
    kExitOutput = 6,         // an output file could not be written
};

}  // namespace demo

#endif
