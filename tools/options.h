// The demo's command line.
#ifndef MASKFIT_TOOLS_OPTIONS_H
#define MASKFIT_TOOLS_OPTIONS_H

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace demo {

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

enum class PngChoice { kDefault, kFile, kNone };

struct DemoOptions {
    bool help = false;
    std::string libraryPath;  // empty: the library built beside the demo
    std::string objPath;      // empty: the built-in scenario
    int32_t boardWidth = 96;
    int32_t boardHeight = 64;
    int32_t margin = 1;
    int32_t step = 1;
    bool skipRectFill = false;
    PngChoice png = PngChoice::kDefault;
    std::string pngPath;  // with PngChoice::kFile
    std::vector<std::string> scenarioOnly;  // options given that --obj has no use for
};

// Limits that keep every mask and every index far inside 32 bits.
constexpr int32_t kMaxBoardSide = 1024;
constexpr int32_t kMaxMargin = 32;
constexpr int32_t kMaxStep = 1024;

// `args` without the program name. Throws UsageError.
DemoOptions ParseOptions(const std::vector<std::string>& args);

// `pngSupported`: whether this build can write PNG.
std::string UsageText(bool pngSupported);

}  // namespace demo

#endif
