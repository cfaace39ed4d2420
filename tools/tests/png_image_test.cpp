#include <gtest/gtest.h>
#include <png.h>

#include <filesystem>
#include <string>
#include <vector>

#include "board_render.h"
#include "png_writer.h"
#include "scenario.h"
#include "started_library.h"

namespace {

using demo::PixelClass;
using demo::RgbImage;

struct ReadBack {
    bool ok = false;
    std::string problem;
    RgbImage image;
};

ReadBack ReadPng(const std::string& path) {
    ReadBack read;
    png_image description{};
    description.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&description, path.c_str()) != 0) {
        description.format = PNG_FORMAT_RGB;
        read.image.width = static_cast<int32_t>(description.width);
        read.image.height = static_cast<int32_t>(description.height);
        read.image.rgb.resize(PNG_IMAGE_SIZE(description));
        read.ok = png_image_finish_read(&description, nullptr, read.image.rgb.data(), 0, nullptr) != 0;
    }
    read.problem = description.message;
    png_image_free(&description);
    return read;
}

std::string TempPath(const char* name) { return (std::filesystem::temp_directory_path() / name).string(); }

void ExpectColour(const RgbImage& image, int32_t x, int32_t y, PixelClass pixelClass) {
    const size_t at = (static_cast<size_t>(y) * image.width + x) * 3;
    const demo::Rgb want = demo::ColourOf(pixelClass);
    EXPECT_EQ(image.rgb[at], want.r) << x << ", " << y;
    EXPECT_EQ(image.rgb[at + 1], want.g) << x << ", " << y;
    EXPECT_EQ(image.rgb[at + 2], want.b) << x << ", " << y;
}

TEST(PngImage, TheScenarioPictureReadsBackAsTheImageWritten) {
    const demo::ScenarioResult result = demo::RunScenario(demotest::StartedLibrary(), demo::ScenarioSettings{});
    const std::vector<uint8_t>& board = result.board.pixels.bytes;
    const int32_t scale = demo::ImageScaleFor(96, 64);
    ASSERT_EQ(scale, 6);
    const RgbImage written = demo::RenderImage(board, 96, 64, scale);
    const std::string path = TempPath("maskfit_demo_scenario_test.png");
    demo::WritePng(path, written);

    const ReadBack read = ReadPng(path);
    std::filesystem::remove(path);
    ASSERT_TRUE(read.ok) << read.problem;
    EXPECT_EQ(read.image.width, 576);
    EXPECT_EQ(read.image.height, 384);
    EXPECT_EQ(read.image.rgb, written.rgb);

    // The L sits right of the corner rock: its mask's corner pixel is border,
    // the next one inside it interior, and its last column fill.
    const demo::ShapeOutcome& piece = result.shapes.front();
    ASSERT_TRUE(piece.placed);
    ExpectColour(read.image, 0, 0, PixelClass::kOther);
    ExpectColour(read.image, piece.x * scale, piece.y * scale, PixelClass::kBorder);
    ExpectColour(read.image, (piece.x + 1) * scale + scale - 1, (piece.y + 1) * scale, PixelClass::kInterior);
    ExpectColour(read.image, (piece.x + piece.content.x1 - 1) * scale, piece.y * scale, PixelClass::kRectFill);
    ExpectColour(read.image, 576 - 1, 384 - 1, PixelClass::kEmpty);
}

TEST(PngImage, AFileThatCannotBeWrittenIsAnError) {
    const RgbImage image = demo::RenderImage({0}, 1, 1, 1);
    EXPECT_THROW(demo::WritePng(TempPath("no-such-dir/x.png"), image), demo::OutputError);
}

}  // namespace
