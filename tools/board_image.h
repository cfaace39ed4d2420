// A board drawn by a modder: one board pixel per image pixel. In an image
// that uses transparency, every opaque pixel (alpha 128 or more) is an
// obstacle; in any other image, every dark pixel (luma below 128) is.
#ifndef MASKFIT_TOOLS_BOARD_IMAGE_H
#define MASKFIT_TOOLS_BOARD_IMAGE_H

#include <cstdint>
#include <string>
#include <vector>

#include "input_error.h"
#include "mask_storage.h"

namespace demo {

// Pixels as the decoder gives them: four bytes each, red, green, blue, alpha.
struct RgbaImage {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> rgba;
};

// Obstacles carry kObstacle, everything else is empty.
OwnedBoard BoardFromImage(const RgbaImage& image);

// Throws InputError naming the file: unreadable, not a PNG, or larger than
// a board may be.
RgbaImage ReadPngFile(const std::string& path);

}  // namespace demo

#endif
