#include "png_encoder.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#define STBI_WRITE_NO_STDIO  // the demo writes files itself, all or none
#include <stb_image_write.h>

namespace demo {
namespace {

void Append(void* context, void* data, int size) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    std::vector<uint8_t>& file = *static_cast<std::vector<uint8_t>*>(context);
    file.insert(file.end(), bytes, bytes + size);
}

}  // namespace

std::vector<uint8_t> EncodePng(const RgbImage& image) {
    std::vector<uint8_t> file;
    if (stbi_write_png_to_func(Append, &file, image.width, image.height, 3, image.rgb.data(), image.width * 3) == 0) {
        file.clear();
    }
    return file;
}

}  // namespace demo
