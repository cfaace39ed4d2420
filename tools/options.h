// The demo's command line.
#ifndef MASKFIT_TOOLS_OPTIONS_H
#define MASKFIT_TOOLS_OPTIONS_H

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "mesh_transform.h"

namespace demo {

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

enum class PngChoice { kDefault, kFile, kNone };

struct DemoOptions {
    bool help = false;
    bool version = false;
    std::string libraryPath;            // empty: the library built or installed beside the demo
    std::vector<std::string> objPaths;  // empty: the built-in shapes
    int32_t boardWidth = 96;
    int32_t boardHeight = 64;
    std::string boardImage;  // --board FILE.png; empty: a WxH board with the built-in obstacles
    int32_t margin = 1;
    int32_t step = 1;
    bool skipRectFill = false;
    MeshTransform transform;
    PngChoice png = PngChoice::kDefault;
    std::string pngPath;  // with PngChoice::kFile
    std::string jsonPath;  // empty: no JSON
    bool noText = false;
    std::vector<std::string> given;  // every option named, in order
};

// One --obj and no --board: show that mesh's mask instead of placing shapes.
bool ShowsOneMask(const DemoOptions& options);

// Limits that keep every mask and every index far inside 32 bits.
constexpr int32_t kMaxBoardSide = 1024;
constexpr int32_t kMaxMargin = 32;
constexpr int32_t kMaxStep = 1024;
constexpr float kMaxScale = 10000.0f;

// `args` without the program name. Throws UsageError.
DemoOptions ParseOptions(const std::vector<std::string>& args);

std::string UsageText();

}  // namespace demo

#endif
