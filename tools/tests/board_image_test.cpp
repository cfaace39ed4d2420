#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "board_image.h"
#include "output_files.h"
#include "png_encoder.h"
#include "scenario.h"

namespace {

using demo::RgbaImage;

RgbaImage Row(const std::vector<std::vector<uint8_t>>& pixels) {
    RgbaImage image;
    image.width = static_cast<int32_t>(pixels.size());
    image.height = 1;
    for (const std::vector<uint8_t>& rgba : pixels) {
        image.rgba.insert(image.rgba.end(), rgba.begin(), rgba.end());
    }
    return image;
}

std::string TempPath(const char* name) { return (std::filesystem::temp_directory_path() / name).string(); }

std::string ErrorOf(const std::string& path) {
    try {
        demo::ReadPngFile(path);
    } catch (const demo::InputError& e) {
        return e.what();
    }
    return "(no error)";
}

constexpr uint8_t kWall = demo::kObstacle;

TEST(BoardImage, WithoutTransparencyEveryDarkPixelIsAnObstacle) {
    // Luma 127 is dark, 128 light; pure blue is dark, pure green light.
    const demo::OwnedBoard board = demo::BoardFromImage(
        Row({{0, 0, 0, 255}, {127, 127, 127, 255}, {128, 128, 128, 255}, {255, 255, 255, 255}, {0, 0, 255, 255},
             {0, 255, 0, 255}}));
    EXPECT_EQ(board.pixels.bytes, (std::vector<uint8_t>{kWall, kWall, 0, 0, kWall, 0}));
    EXPECT_EQ(board.mask.width, 6);
    EXPECT_EQ(board.mask.height, 1);
}

TEST(BoardImage, WithTransparencyEveryOpaquePixelIsAnObstacleWhateverItsColour) {
    const demo::OwnedBoard board = demo::BoardFromImage(
        Row({{255, 255, 255, 255}, {0, 0, 0, 0}, {0, 0, 0, 127}, {250, 250, 250, 128}}));
    EXPECT_EQ(board.pixels.bytes, (std::vector<uint8_t>{kWall, 0, 0, kWall}));
}

TEST(BoardImage, ReadsAPngFile) {
    demo::RgbImage drawn = demo::MakeImage(3, 2, demo::Rgb{255, 255, 255});
    demo::FillRect(drawn, 1, 1, 1, 1, demo::Rgb{10, 20, 30});
    const std::string path = TempPath("maskfit_board_image_test.png");
    demo::WriteAll({{path, demo::EncodePng(drawn)}});
    const RgbaImage read = demo::ReadPngFile(path);
    std::filesystem::remove(path);
    ASSERT_EQ(read.width, 3);
    ASSERT_EQ(read.height, 2);
    EXPECT_EQ(std::vector<uint8_t>(read.rgba.begin() + 16, read.rgba.begin() + 20),
              (std::vector<uint8_t>{10, 20, 30, 255}));
    EXPECT_EQ(demo::BoardFromImage(read).pixels.bytes, (std::vector<uint8_t>{0, 0, 0, 0, kWall, 0}));
}

TEST(BoardImage, NamesTheFileOfEveryFault) {
    const std::string missing = TempPath("maskfit_no_such_board.png");
    EXPECT_EQ(ErrorOf(missing).rfind("cannot open " + missing + ": ", 0), 0u) << ErrorOf(missing);
    EXPECT_EQ(ErrorOf(DEMO_TEST_DATA "/not_a_picture.png").rfind(DEMO_TEST_DATA "/not_a_picture.png: not a readable PNG image (", 0), 0u);

    const std::string wide = TempPath("maskfit_wide_board.png");
    demo::WriteAll({{wide, demo::EncodePng(demo::MakeImage(1025, 1, demo::Rgb{0, 0, 0}))}});
    EXPECT_EQ(ErrorOf(wide), wide + ": the image is 1025 x 1 pixels; a board may be at most 1024 x 1024");
    std::filesystem::remove(wide);
}

}  // namespace
