// The picture of a board or a mask: each shape in its own colour, its name
// on it, coordinate ticks along the top and left edges, and a legend below
// that lists every shape, the ones that found no room included, and what
// the shades mean.
#ifndef MASKFIT_TOOLS_BOARD_PICTURE_H
#define MASKFIT_TOOLS_BOARD_PICTURE_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "board_render.h"
#include "canvas.h"
#include "scenario.h"

namespace demo {

struct PictureContent {
    std::string title;
    const std::vector<uint8_t>& pixels;
    int32_t width;
    int32_t height;
    const std::vector<int32_t>& owners;  // per pixel: an index in `shapes`, or kNoOwner
    const std::vector<ShapeOutcome>& shapes;
};

struct Picture {
    RgbImage image;
    int32_t scale;           // image pixels per board pixel, each way
    int32_t boardX, boardY;  // where board pixel (0, 0) starts in the image
    int32_t legendY;         // the legend's first row
};

Picture DrawPicture(const PictureContent& content);

// A shape's interior colour; its border is darker, its rectangle fill lighter.
Rgb ShapeColour(size_t shapeIndex);
// The colour of a pixel of class `pixelClass` stamped by shape `shapeIndex`.
Rgb ShapeShade(size_t shapeIndex, PixelClass pixelClass);

}  // namespace demo

#endif
