#include "board_render.h"

#include <algorithm>

#include "maskfit/maskfit.h"

namespace demo {
namespace {

constexpr int32_t kImageTarget = 640;
constexpr int32_t kLargestScale = 8;

struct ClassLook {
    PixelClass pixelClass;
    char symbol;
    Rgb colour;
    const char* meaning;
};

constexpr ClassLook kLooks[] = {
    {PixelClass::kEmpty, '.', {245, 245, 240}, "empty"},
    {PixelClass::kInterior, '#', {30, 90, 200}, "234 interior"},
    {PixelClass::kBorder, '+', {240, 150, 30}, "90 border"},
    {PixelClass::kRectFill, ':', {170, 205, 240}, "79 rectangle fill"},
    {PixelClass::kOther, 'X', {60, 60, 60}, "any other value (the obstacles)"},
};

const ClassLook& LookOf(PixelClass pixelClass) { return kLooks[static_cast<int>(pixelClass)]; }

}  // namespace

PixelClass ClassOf(uint8_t value) {
    switch (value) {
        case FILL_EMPTY:
            return PixelClass::kEmpty;
        case FILL_INTERIOR:
            return PixelClass::kInterior;
        case FILL_BORDER:
            return PixelClass::kBorder;
        case FILL_RECT:
            return PixelClass::kRectFill;
        default:
            return PixelClass::kOther;
    }
}

char SymbolOf(PixelClass pixelClass) { return LookOf(pixelClass).symbol; }
Rgb ColourOf(PixelClass pixelClass) { return LookOf(pixelClass).colour; }

std::string TextLegend() {
    std::string legend;
    for (const ClassLook& look : kLooks) {
        legend += legend.empty() ? "" : "  ";
        legend += look.symbol;
        legend += ' ';
        legend += look.meaning;
    }
    return legend;
}

std::string TextPicture(const std::vector<uint8_t>& pixels, int32_t width, int32_t height) {
    std::string picture;
    picture.reserve(static_cast<size_t>(width + 1) * static_cast<size_t>(height));
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            picture += SymbolOf(ClassOf(pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + x]));
        }
        picture += '\n';
    }
    return picture;
}

int32_t ImageScaleFor(int32_t width, int32_t height) {
    return std::clamp(kImageTarget / std::max(width, height), 1, kLargestScale);
}

}  // namespace demo
