#include <gtest/gtest.h>
#include <stb_image.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "board_picture.h"
#include "output_files.h"
#include "png_encoder.h"
#include "scenario.h"
#include "started_library.h"

namespace {

using demo::PixelClass;
using demo::Rgb;
using demo::RgbImage;

// Decodes a PNG file the way any viewer would, with a decoder of its own.
RgbImage ReadBack(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    int width = 0;
    int height = 0;
    int channels = 0;
    const std::unique_ptr<stbi_uc, void (*)(void*)> pixels(
        stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &width, &height, &channels, 3),
        stbi_image_free);
    RgbImage image;
    if (pixels != nullptr) {
        image.width = width;
        image.height = height;
        image.rgb.assign(pixels.get(), pixels.get() + static_cast<size_t>(width) * height * 3);
    }
    return image;
}

struct DrawnScenario {
    demo::ScenarioResult result;
    demo::Picture picture;
};

const DrawnScenario& Scenario() {
    static const DrawnScenario drawn = [] {
        demo::ScenarioResult result = demo::RunScenario(demotest::StartedLibrary(), demo::ScenarioSettings{});
        demo::Picture picture = demo::DrawPicture({"the scenario", result.board.pixels.bytes, 96, 64, result.owners,
                                                   result.shapes});
        return DrawnScenario{std::move(result), std::move(picture)};
    }();
    return drawn;
}

// The image colour at the centre of board pixel (x, y).
Rgb BoardColour(const demo::Picture& picture, int32_t x, int32_t y) {
    return demo::PixelAt(picture.image, picture.boardX + x * picture.scale + picture.scale / 2,
                         picture.boardY + y * picture.scale + picture.scale / 2);
}

bool Holds(const RgbImage& image, Rgb colour, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    for (int32_t y = y0; y < y1; ++y) {
        for (int32_t x = x0; x < x1; ++x) {
            if (demo::PixelAt(image, x, y) == colour) {
                return true;
            }
        }
    }
    return false;
}

TEST(Picture, ReadsBackFromItsPngAsDrawn) {
    const RgbImage& drawn = Scenario().picture.image;
    const std::string path = (std::filesystem::temp_directory_path() / "maskfit_demo_picture_test.png").string();
    demo::WriteAll({{path, demo::EncodePng(drawn)}});
    const RgbImage read = ReadBack(path);
    std::filesystem::remove(path);
    EXPECT_EQ(read.width, drawn.width);
    EXPECT_EQ(read.height, drawn.height);
    EXPECT_TRUE(read.rgb == drawn.rgb);
}

TEST(Picture, EachShapeHasAColourOfItsOwn) {
    std::set<std::tuple<uint8_t, uint8_t, uint8_t>> seen;
    for (size_t k = 0; k < 10; ++k) {
        for (PixelClass c : {PixelClass::kInterior, PixelClass::kBorder, PixelClass::kRectFill}) {
            const Rgb shade = demo::ShapeShade(k, c);
            EXPECT_NE(shade, demo::ColourOf(PixelClass::kEmpty));
            EXPECT_NE(shade, demo::ColourOf(PixelClass::kOther));
            seen.insert({shade.r, shade.g, shade.b});
        }
    }
    EXPECT_EQ(seen.size(), 30u) << "two shapes, or two shades of one, look alike";
}

// Board pixels are coloured by the shape that stamped them, and the board
// sits where the picture says.
TEST(Picture, ShowsEveryPlacedShapeInItsColourWhereItWasPlaced) {
    const DrawnScenario& drawn = Scenario();
    EXPECT_EQ(drawn.picture.scale, 6);
    EXPECT_EQ(BoardColour(drawn.picture, 0, 0), demo::ColourOf(PixelClass::kOther));   // the corner rock
    EXPECT_EQ(BoardColour(drawn.picture, 95, 63), demo::ColourOf(PixelClass::kEmpty));
    const std::vector<demo::ShapeOutcome>& shapes = drawn.result.shapes;
    for (size_t k = 0; k < shapes.size(); ++k) {
        if (!shapes[k].placed) {
            continue;
        }
        // The corner of each placed rectangle is covered, by border or
        // rectangle fill, and shows this shape's shade of it.
        const int32_t x = shapes[k].x;
        const int32_t y = shapes[k].y;
        const PixelClass corner = demo::ClassOf(drawn.result.board.pixels.bytes[static_cast<size_t>(y) * 96 + x]);
        ASSERT_NE(corner, PixelClass::kEmpty) << shapes[k].name;
        EXPECT_EQ(BoardColour(drawn.picture, x, y), demo::ShapeShade(k, corner)) << shapes[k].name;
    }
}

TEST(Picture, LabelsPlacedShapesAndListsTheOnesWithoutRoom) {
    const DrawnScenario& drawn = Scenario();
    const demo::Picture& picture = drawn.picture;
    const Rgb ink{30, 30, 30};
    const int32_t boardBottom = picture.boardY + 64 * picture.scale;
    for (size_t k = 0; k < drawn.result.shapes.size(); ++k) {
        const demo::ShapeOutcome& shape = drawn.result.shapes[k];
        // Its swatch in the legend, below the board.
        EXPECT_TRUE(Holds(picture.image, demo::ShapeColour(k), 0, picture.legendY, picture.image.width,
                          picture.image.height))
            << shape.name;
        if (!shape.placed) {
            EXPECT_EQ(shape.name, "slab");
            EXPECT_FALSE(Holds(picture.image, demo::ShapeColour(k), picture.boardX, picture.boardY,
                               picture.boardX + 96 * picture.scale, boardBottom));
            continue;
        }
        // Its name, in ink, around the middle of its rectangle.
        const int32_t cx = picture.boardX + (shape.x + (shape.content.x1 - shape.content.x0) / 2) * picture.scale;
        const int32_t cy = picture.boardY + (shape.y + (shape.content.y1 - shape.content.y0) / 2) * picture.scale;
        EXPECT_TRUE(Holds(picture.image, ink, cx - 24, cy - 12, cx + 24, cy + 12)) << shape.name;
    }
    // Tick labels above the board and left of it.
    EXPECT_TRUE(Holds(picture.image, ink, picture.boardX, picture.boardY - 30, picture.image.width, picture.boardY));
    EXPECT_TRUE(Holds(picture.image, ink, 0, picture.boardY, picture.boardX, boardBottom));
}

}  // namespace
