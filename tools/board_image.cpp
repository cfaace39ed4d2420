#include "board_image.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>

#include "options.h"
#include "scenario.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_STDIO  // the file is read here, so that its errors name it
#include <stb_image.h>

namespace demo {
namespace {

constexpr int32_t kOpaque = 128;
constexpr int32_t kLight = 128;

int32_t Luma(const uint8_t* pixel) { return (299 * pixel[0] + 587 * pixel[1] + 114 * pixel[2]) / 1000; }

bool UsesTransparency(const RgbaImage& image) {
    for (size_t at = 3; at < image.rgba.size(); at += 4) {
        if (image.rgba[at] != 255) {
            return true;
        }
    }
    return false;
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw InputError("cannot open " + path + ": " + std::strerror(errno));
    }
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        throw InputError(path + ": read failed");
    }
    return bytes;
}

}  // namespace

OwnedBoard BoardFromImage(const RgbaImage& image) {
    OwnedBoard board = MakeBoard(image.width, image.height);
    const bool byAlpha = UsesTransparency(image);
    for (size_t k = 0; k < board.pixels.bytes.size(); ++k) {
        const uint8_t* pixel = &image.rgba[4 * k];
        const bool obstacle = byAlpha ? pixel[3] >= kOpaque : Luma(pixel) < kLight;
        board.pixels.bytes[k] = obstacle ? kObstacle : uint8_t{FILL_EMPTY};
    }
    return board;
}

RgbaImage ReadPngFile(const std::string& path) {
    const std::vector<uint8_t> bytes = ReadBytes(path);
    int width = 0;
    int height = 0;
    int channels = 0;
    const std::unique_ptr<stbi_uc, void (*)(void*)> pixels(
        stbi_load_from_memory(bytes.data(), static_cast<int>(std::min<size_t>(bytes.size(), INT32_MAX)), &width,
                              &height, &channels, 4),
        stbi_image_free);
    if (pixels == nullptr) {
        throw InputError(path + ": not a readable PNG image (" + stbi_failure_reason() + ")");
    }
    if (width > kMaxBoardSide || height > kMaxBoardSide) {
        throw InputError(path + ": the image is " + std::to_string(width) + " x " + std::to_string(height) +
                         " pixels; a board may be at most " + std::to_string(kMaxBoardSide) + " x " +
                         std::to_string(kMaxBoardSide));
    }
    RgbaImage image;
    image.width = width;
    image.height = height;
    image.rgba.assign(pixels.get(), pixels.get() + static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    return image;
}

}  // namespace demo
