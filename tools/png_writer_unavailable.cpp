#include "png_writer.h"

namespace demo {

bool PngSupported() { return false; }

void WritePng(const std::string& path, const RgbImage&) {
    throw OutputError("cannot write " + path + ": this build of maskfit-demo has no PNG support");
}

}  // namespace demo
