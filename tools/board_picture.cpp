#include "board_picture.h"

#include <algorithm>
#include <array>

namespace demo {
namespace {

constexpr int32_t kTextScale = 2;
constexpr int32_t kPad = 8;
constexpr int32_t kTickLength = 5;
constexpr int32_t kLegendGap = 24;  // between legend columns
constexpr Rgb kBackground{255, 255, 255};
constexpr Rgb kInk{30, 30, 30};
constexpr Rgb kFrame{150, 150, 150};

// Distinct hues that stay apart from the obstacles' grey and the empty
// off-white; shapes past the tenth repeat them.
constexpr std::array<Rgb, 10> kShapeColours = {{
    {31, 119, 180}, {255, 127, 14}, {44, 160, 44},  {214, 39, 40},  {148, 103, 189},
    {140, 86, 75},  {227, 119, 194}, {23, 190, 207}, {188, 189, 34}, {0, 90, 70},
}};

constexpr char kShapesHeading[] = "shapes, in placement order:";
constexpr char kKeyHeading[] = "pixels, in the first shape's shades:";

constexpr int32_t kTickSteps[] = {1, 2, 5, 10, 20, 50, 100, 200, 500, 1000};

Rgb Mix(Rgb colour, Rgb other, int32_t percentOfOther) {
    const auto mix = [percentOfOther](uint8_t a, uint8_t b) {
        return static_cast<uint8_t>((a * (100 - percentOfOther) + b * percentOfOther) / 100);
    };
    return Rgb{mix(colour.r, other.r), mix(colour.g, other.g), mix(colour.b, other.b)};
}

struct LegendEntry {
    Rgb swatch;
    std::string text;
};

struct Layout {
    int32_t scale;
    int32_t tickStep;
    int32_t boardX, boardY;
    int32_t legendY;
    int32_t columnWidth;
    int32_t columns;
    int32_t width, height;
};

int32_t LineHeight() { return TextHeight(kTextScale) + 4; }

// The smallest step whose labels do not run into each other.
int32_t TickStepFor(int32_t largest, int32_t scale) {
    const int32_t labelWidth = TextWidth(std::to_string(largest), kTextScale) + 12;
    for (int32_t step : kTickSteps) {
        if (step * scale >= labelWidth) {
            return step;
        }
    }
    return kTickSteps[std::size(kTickSteps) - 1];
}

std::string PlacementText(const ShapeOutcome& shape) {
    if (shape.placed) {
        return shape.name + " at (" + std::to_string(shape.x) + ", " + std::to_string(shape.y) + ")";
    }
    return shape.name + ": no room for " + std::to_string(shape.content.x1 - shape.content.x0) + " x " +
           std::to_string(shape.content.y1 - shape.content.y0);
}

std::vector<LegendEntry> ShapeEntries(const std::vector<ShapeOutcome>& shapes) {
    std::vector<LegendEntry> entries;
    for (size_t k = 0; k < shapes.size(); ++k) {
        entries.push_back({ShapeColour(k), PlacementText(shapes[k])});
    }
    return entries;
}

// The shades are shown in the first shape's colour.
std::vector<LegendEntry> KeyEntries() {
    return {
        {ShapeShade(0, PixelClass::kInterior), "interior (234)"},
        {ShapeShade(0, PixelClass::kBorder), "border (90)"},
        {ShapeShade(0, PixelClass::kRectFill), "rectangle fill (79)"},
        {ColourOf(PixelClass::kOther), "obstacle or other value"},
        {ColourOf(PixelClass::kEmpty), "empty"},
    };
}

int32_t SwatchSize() { return TextHeight(kTextScale) - 6; }

int32_t EntryWidth(const LegendEntry& entry) { return SwatchSize() + 8 + TextWidth(entry.text, kTextScale); }

int32_t RowsFor(size_t entries, int32_t columns) {
    return static_cast<int32_t>((entries + static_cast<size_t>(columns) - 1) / static_cast<size_t>(columns));
}

Layout LayOut(const PictureContent& content, const std::vector<LegendEntry>& shapeEntries,
              const std::vector<LegendEntry>& keyEntries) {
    Layout layout{};
    layout.scale = ImageScaleFor(content.width, content.height);
    layout.tickStep = TickStepFor(std::max(content.width, content.height), layout.scale);
    const int32_t lastYTick = (content.height / layout.tickStep) * layout.tickStep;
    layout.boardX = kPad + TextWidth(std::to_string(lastYTick), kTextScale) + 4 + kTickLength;
    layout.boardY = kPad + 2 * LineHeight() + kTickLength;
    const int32_t boardRight = layout.boardX + content.width * layout.scale;
    const int32_t boardBottom = layout.boardY + content.height * layout.scale;

    int32_t widest = std::max(TextWidth(kShapesHeading, kTextScale), TextWidth(kKeyHeading, kTextScale));
    for (const std::vector<LegendEntry>* group : {&shapeEntries, &keyEntries}) {
        for (const LegendEntry& entry : *group) {
            widest = std::max(widest, EntryWidth(entry));
        }
    }
    // Half of the last x label may stick out past the board's right edge.
    const int32_t lastXLabel = TextWidth(std::to_string(content.width), kTextScale);
    layout.width = std::max({boardRight + lastXLabel / 2 + kPad, 2 * kPad + widest,
                             2 * kPad + TextWidth(content.title, kTextScale)});
    layout.columnWidth = widest + kLegendGap;
    layout.columns = std::max(1, (layout.width - 2 * kPad + kLegendGap) / layout.columnWidth);
    layout.legendY = boardBottom + 2 * kPad;
    // Each group: its heading, then its entries.
    const int32_t rows =
        2 + RowsFor(shapeEntries.size(), layout.columns) + RowsFor(keyEntries.size(), layout.columns);
    layout.height = layout.legendY + rows * LineHeight() + kPad;
    return layout;
}

Rgb PixelColour(const PictureContent& content, size_t at) {
    const PixelClass pixelClass = ClassOf(content.pixels[at]);
    const int32_t owner = content.owners[at];
    const bool stamped = pixelClass == PixelClass::kInterior || pixelClass == PixelClass::kBorder ||
                         pixelClass == PixelClass::kRectFill;
    if (owner != kNoOwner && stamped) {
        return ShapeShade(static_cast<size_t>(owner), pixelClass);
    }
    return ColourOf(pixelClass);
}

void DrawBoard(RgbImage& image, const PictureContent& content, const Layout& layout) {
    FillRect(image, layout.boardX - 1, layout.boardY - 1, content.width * layout.scale + 2,
             content.height * layout.scale + 2, kFrame);
    for (int32_t y = 0; y < content.height; ++y) {
        for (int32_t x = 0; x < content.width; ++x) {
            const size_t at = static_cast<size_t>(y) * static_cast<size_t>(content.width) + static_cast<size_t>(x);
            FillRect(image, layout.boardX + x * layout.scale, layout.boardY + y * layout.scale, layout.scale,
                     layout.scale, PixelColour(content, at));
        }
    }
}

void DrawTicks(RgbImage& image, const PictureContent& content, const Layout& layout) {
    const int32_t textHeight = TextHeight(kTextScale);
    for (int32_t x = 0; x <= content.width; x += layout.tickStep) {
        const int32_t at = layout.boardX + x * layout.scale;
        const std::string label = std::to_string(x);
        FillRect(image, at, layout.boardY - kTickLength - 1, 1, kTickLength, kInk);
        DrawText(image, at - TextWidth(label, kTextScale) / 2, layout.boardY - kTickLength - textHeight, label, kInk,
                 kTextScale);
    }
    for (int32_t y = 0; y <= content.height; y += layout.tickStep) {
        const int32_t at = layout.boardY + y * layout.scale;
        const std::string label = std::to_string(y);
        FillRect(image, layout.boardX - kTickLength - 1, at, kTickLength, 1, kInk);
        DrawText(image, layout.boardX - kTickLength - 4 - TextWidth(label, kTextScale), at - textHeight / 3, label,
                 kInk, kTextScale);
    }
}

// Each placed shape's name on a white box at the centre of its rectangle.
void DrawLabels(RgbImage& image, const PictureContent& content, const Layout& layout) {
    const int32_t textScale = layout.scale >= 4 ? kTextScale : 1;
    for (const ShapeOutcome& shape : content.shapes) {
        if (!shape.placed) {
            continue;
        }
        const int32_t centreX = layout.boardX + (2 * shape.x + shape.content.x1 - shape.content.x0) * layout.scale / 2;
        const int32_t centreY = layout.boardY + (2 * shape.y + shape.content.y1 - shape.content.y0) * layout.scale / 2;
        const int32_t width = TextWidth(shape.name, textScale);
        const int32_t height = TextHeight(textScale) * 3 / 4;  // the font's glyphs leave the last quarter empty
        FillRect(image, centreX - width / 2 - 2, centreY - height / 2 - 2, width + 4, height + 4, kBackground);
        DrawText(image, centreX - width / 2, centreY - height / 2, shape.name, kInk, textScale);
    }
}

// The heading, then the entries down the columns, in order. Returns the row
// after the last one used.
int32_t DrawLegendGroup(RgbImage& image, const char* heading, const std::vector<LegendEntry>& entries,
                        const Layout& layout, int32_t headingTop) {
    DrawText(image, kPad, headingTop, heading, kInk, kTextScale);
    const int32_t top = headingTop + LineHeight();
    const int32_t swatch = SwatchSize();
    const auto rows = static_cast<size_t>(RowsFor(entries.size(), layout.columns));
    for (size_t k = 0; k < entries.size(); ++k) {
        const auto column = static_cast<int32_t>(k / rows);
        const auto row = static_cast<int32_t>(k % rows);
        const int32_t x = kPad + column * layout.columnWidth;
        const int32_t y = top + row * LineHeight();
        FillRect(image, x, y + 1, swatch, swatch, kFrame);
        FillRect(image, x + 1, y + 2, swatch - 2, swatch - 2, entries[k].swatch);
        DrawText(image, x + swatch + 8, y, entries[k].text, kInk, kTextScale);
    }
    return top + RowsFor(entries.size(), layout.columns) * LineHeight();
}

}  // namespace

Rgb ShapeColour(size_t shapeIndex) { return kShapeColours[shapeIndex % kShapeColours.size()]; }

Rgb ShapeShade(size_t shapeIndex, PixelClass pixelClass) {
    const Rgb base = ShapeColour(shapeIndex);
    switch (pixelClass) {
        case PixelClass::kBorder:
            return Mix(base, Rgb{0, 0, 0}, 40);
        case PixelClass::kRectFill:
            return Mix(base, Rgb{255, 255, 255}, 65);
        default:
            return base;
    }
}

Picture DrawPicture(const PictureContent& content) {
    const std::vector<LegendEntry> shapeEntries = ShapeEntries(content.shapes);
    const std::vector<LegendEntry> keyEntries = KeyEntries();
    const Layout layout = LayOut(content, shapeEntries, keyEntries);
    Picture picture{MakeImage(layout.width, layout.height, kBackground), layout.scale, layout.boardX, layout.boardY,
                    layout.legendY};
    DrawText(picture.image, kPad, kPad, content.title, kInk, kTextScale);
    DrawTicks(picture.image, content, layout);
    DrawBoard(picture.image, content, layout);
    DrawLabels(picture.image, content, layout);
    const int32_t keyTop = DrawLegendGroup(picture.image, kShapesHeading, shapeEntries, layout, layout.legendY);
    DrawLegendGroup(picture.image, kKeyHeading, keyEntries, layout, keyTop);
    return picture;
}

}  // namespace demo
