// PNG encoding of pictures, on every build: the encoder is a header-only
// library compiled into the demo, so the Windows demo needs no extra DLL.
#ifndef MASKFIT_TOOLS_PNG_ENCODER_H
#define MASKFIT_TOOLS_PNG_ENCODER_H

#include <cstdint>
#include <vector>

#include "canvas.h"

namespace demo {

// The bytes of a PNG file; empty if the encoder fails.
std::vector<uint8_t> EncodePng(const RgbImage& image);

}  // namespace demo

#endif
