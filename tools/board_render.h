// Pictures of masks: one character or one colour per class of pixel value.
#ifndef MASKFIT_TOOLS_BOARD_RENDER_H
#define MASKFIT_TOOLS_BOARD_RENDER_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "canvas.h"

namespace demo {

enum class PixelClass { kEmpty, kInterior, kBorder, kRectFill, kOther };
constexpr size_t kPixelClassCount = 5;

PixelClass ClassOf(uint8_t value);
char SymbolOf(PixelClass pixelClass);

// The colour of pixels that belong to no placed shape.
Rgb ColourOf(PixelClass pixelClass);

// One line naming every symbol.
std::string TextLegend();

// Rows top first, each ending in a newline.
std::string TextPicture(const std::vector<uint8_t>& pixels, int32_t width, int32_t height);

// Image pixels per mask pixel, each way: large enough to see, small enough
// that the image's longer side stays near 640 pixels.
int32_t ImageScaleFor(int32_t width, int32_t height);

}  // namespace demo

#endif
