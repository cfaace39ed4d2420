// PNG output of pictures. Builds without libpng (the Windows cross build:
// there is no MinGW libpng to link) say so instead of writing.
#ifndef MASKFIT_TOOLS_PNG_WRITER_H
#define MASKFIT_TOOLS_PNG_WRITER_H

#include <stdexcept>
#include <string>

#include "board_render.h"

namespace demo {

struct OutputError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

bool PngSupported();

// Throws OutputError when the file cannot be written or PNG is not supported.
void WritePng(const std::string& path, const RgbImage& image);

}  // namespace demo

#endif
