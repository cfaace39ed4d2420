// The demo's output files (picture, JSON): all of them are written, or none.
#ifndef MASKFIT_TOOLS_OUTPUT_FILES_H
#define MASKFIT_TOOLS_OUTPUT_FILES_H

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace demo {

struct OutputError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct OutputFile {
    std::string path;
    std::vector<uint8_t> bytes;
};

// Each file goes to a temporary name beside its target first; only when
// every one is complete are they renamed into place, so that a failed write
// leaves no partial file behind and replaces no earlier output.
// Throws OutputError naming the file that could not be written.
void WriteAll(const std::vector<OutputFile>& files);

}  // namespace demo

#endif
