// An RGB image to draw the demo's pictures on: filled rectangles and text in
// a small built-in bitmap font.
#ifndef MASKFIT_TOOLS_CANVAS_H
#define MASKFIT_TOOLS_CANVAS_H

#include <cstdint>
#include <string>
#include <vector>

namespace demo {

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};

struct RgbImage {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> rgb;  // rows top first, three bytes per pixel
};

RgbImage MakeImage(int32_t width, int32_t height, Rgb background);
Rgb PixelAt(const RgbImage& image, int32_t x, int32_t y);

// Clipped to the image.
void FillRect(RgbImage& image, int32_t x, int32_t y, int32_t width, int32_t height, Rgb colour);

// Text is ASCII; each font pixel becomes a `scale` x `scale` square.
int32_t TextWidth(const std::string& text, int32_t scale);
int32_t TextHeight(int32_t scale);  // one line, descenders included
// (x, y) is the top left corner of the line.
void DrawText(RgbImage& image, int32_t x, int32_t y, const std::string& text, Rgb colour, int32_t scale);

}  // namespace demo

#endif
