#include <png.h>

#include "png_writer.h"

namespace demo {

bool PngSupported() { return true; }

void WritePng(const std::string& path, const RgbImage& image) {
    png_image description{};
    description.version = PNG_IMAGE_VERSION;
    description.width = static_cast<png_uint_32>(image.width);
    description.height = static_cast<png_uint_32>(image.height);
    description.format = PNG_FORMAT_RGB;
    const bool written = png_image_write_to_file(&description, path.c_str(), 0, image.rgb.data(), 0, nullptr) != 0;
    const std::string problem = description.message;
    png_image_free(&description);
    if (!written) {
        throw OutputError("cannot write " + path + ": " + problem);
    }
}

}  // namespace demo
