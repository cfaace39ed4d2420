#include "canvas.h"

#include <stb_easy_font.h>

#include <algorithm>
#include <cmath>

namespace demo {
namespace {

// The font's output: quads of four vertices, each x, y, z and four colour bytes.
struct FontVertex {
    float x, y, z;
    uint8_t colour[4];
};
static_assert(sizeof(FontVertex) == 16, "the font writes 16-byte vertices");

// The font's own measure of one line.
constexpr int32_t kFontLineHeight = 12;

}  // namespace

RgbImage MakeImage(int32_t width, int32_t height, Rgb background) {
    RgbImage image;
    image.width = width;
    image.height = height;
    image.rgb.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    FillRect(image, 0, 0, width, height, background);
    return image;
}

Rgb PixelAt(const RgbImage& image, int32_t x, int32_t y) {
    const size_t at = (static_cast<size_t>(y) * static_cast<size_t>(image.width) + static_cast<size_t>(x)) * 3;
    return Rgb{image.rgb[at], image.rgb[at + 1], image.rgb[at + 2]};
}

void FillRect(RgbImage& image, int32_t x, int32_t y, int32_t width, int32_t height, Rgb colour) {
    const int32_t x0 = std::max(x, 0);
    const int32_t y0 = std::max(y, 0);
    const int32_t x1 = std::min(x + width, image.width);
    const int32_t y1 = std::min(y + height, image.height);
    for (int32_t row = y0; row < y1; ++row) {
        for (int32_t column = x0; column < x1; ++column) {
            const size_t at =
                (static_cast<size_t>(row) * static_cast<size_t>(image.width) + static_cast<size_t>(column)) * 3;
            image.rgb[at] = colour.r;
            image.rgb[at + 1] = colour.g;
            image.rgb[at + 2] = colour.b;
        }
    }
}

int32_t TextWidth(const std::string& text, int32_t scale) {
    std::string copy = text;  // the font takes a mutable string
    return stb_easy_font_width(copy.data()) * scale;
}

int32_t TextHeight(int32_t scale) { return kFontLineHeight * scale; }

void DrawText(RgbImage& image, int32_t x, int32_t y, const std::string& text, Rgb colour, int32_t scale) {
    std::string copy = text;
    // The font documents about 270 bytes a character; four times that is ample.
    std::vector<FontVertex> vertices(copy.size() * 68 + 4);
    const int quads = stb_easy_font_print(0.0f, 0.0f, copy.data(), nullptr, vertices.data(),
                                          static_cast<int>(vertices.size() * sizeof(FontVertex)));
    for (int q = 0; q < quads; ++q) {
        const FontVertex* corner = &vertices[static_cast<size_t>(q) * 4];
        // Vertices 0 and 2 are opposite corners of an axis-aligned quad.
        const auto left = static_cast<int32_t>(std::lround(corner[0].x));
        const auto top = static_cast<int32_t>(std::lround(corner[0].y));
        const auto right = static_cast<int32_t>(std::lround(corner[2].x));
        const auto bottom = static_cast<int32_t>(std::lround(corner[2].y));
        FillRect(image, x + left * scale, y + top * scale, (right - left) * scale, (bottom - top) * scale, colour);
    }
}

}  // namespace demo
