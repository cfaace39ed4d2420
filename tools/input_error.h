// A fault in one of the user's input files (a mesh or a board image). The
// message names the file and, where the format has lines, the line.
#ifndef MASKFIT_TOOLS_INPUT_ERROR_H
#define MASKFIT_TOOLS_INPUT_ERROR_H

#include <stdexcept>

namespace demo {

struct InputError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

}  // namespace demo

#endif
