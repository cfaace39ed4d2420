#include "options.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "mesh.h"

namespace demo {
namespace {

int32_t ParseCount(const std::string& option, const std::string& text, int32_t low, int32_t high) {
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::invalid_argument || end != text.data() + text.size()) {
        throw UsageError(option + " expects a whole number, got '" + text + "'");
    }
    if (error == std::errc::result_out_of_range || value < low || value > high) {
        throw UsageError(option + " must be from " + std::to_string(low) + " to " + std::to_string(high) +
                         ", got '" + text + "'");
    }
    return static_cast<int32_t>(value);
}

float ParseScale(const std::string& text) {
    float value = 0.0f;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !(value > 0.0f && value <= kMaxScale)) {
        throw UsageError("--scale expects a number above 0 and at most " +
                         std::to_string(static_cast<int32_t>(kMaxScale)) + ", got '" + text + "'");
    }
    return value;
}

bool EndsWithPng(const std::string& text) {
    if (text.size() < 4) {
        return false;
    }
    std::string suffix = text.substr(text.size() - 4);
    std::transform(suffix.begin(), suffix.end(), suffix.begin(), [](unsigned char c) { return std::tolower(c); });
    return suffix == ".png";
}

void ParseBoard(DemoOptions& options, const std::string& text) {
    if (EndsWithPng(text)) {
        options.boardImage = text;
        return;
    }
    const size_t cross = text.find_first_of("xX");
    if (cross == std::string::npos || cross == 0 || cross + 1 == text.size()) {
        throw UsageError("--board expects WIDTHxHEIGHT (e.g. 96x64) or FILE.png, got '" + text + "'");
    }
    options.boardWidth = ParseCount("--board width", text.substr(0, cross), 1, kMaxBoardSide);
    options.boardHeight = ParseCount("--board height", text.substr(cross + 1), 1, kMaxBoardSide);
    options.boardImage.clear();
}

struct OptionSpec {
    const char* name;
    bool takesValue;
    void (*apply)(DemoOptions& options, const std::string& value);
};

constexpr OptionSpec kOptions[] = {
    {"--help", false, [](DemoOptions& o, const std::string&) { o.help = true; }},
    {"-h", false, [](DemoOptions& o, const std::string&) { o.help = true; }},
    {"--version", false, [](DemoOptions& o, const std::string&) { o.version = true; }},
    {"--lib", true, [](DemoOptions& o, const std::string& v) { o.libraryPath = v; }},
    {"--obj", true, [](DemoOptions& o, const std::string& v) { o.objPaths.push_back(v); }},
    {"--board", true, ParseBoard},
    {"--margin", true, [](DemoOptions& o, const std::string& v) { o.margin = ParseCount("--margin", v, 0, kMaxMargin); }},
    {"--step", true, [](DemoOptions& o, const std::string& v) { o.step = ParseCount("--step", v, 1, kMaxStep); }},
    {"--skip-rect-fill", false, [](DemoOptions& o, const std::string&) { o.skipRectFill = true; }},
    {"--scale", true, [](DemoOptions& o, const std::string& v) { o.transform.scale = ParseScale(v); }},
    {"--fit", true,
     [](DemoOptions& o, const std::string& v) {
         o.transform.fit = ParseCount("--fit", v, 1, static_cast<int32_t>(kMaxCoordinate));
     }},
    {"--flip-y", false, [](DemoOptions& o, const std::string&) { o.transform.flipY = true; }},
    {"--png", true,
     [](DemoOptions& o, const std::string& v) {
         o.png = PngChoice::kFile;
         o.pngPath = v;
     }},
    {"--no-png", false, [](DemoOptions& o, const std::string&) { o.png = PngChoice::kNone; }},
    {"--json", true, [](DemoOptions& o, const std::string& v) { o.jsonPath = v; }},
    {"--no-text", false, [](DemoOptions& o, const std::string&) { o.noText = true; }},
};

const OptionSpec& FindOption(const std::string& name) {
    for (const OptionSpec& spec : kOptions) {
        if (name == spec.name) {
            return spec;
        }
    }
    throw UsageError("unknown option '" + name + "'");
}

bool Given(const DemoOptions& options, const char* name) {
    return std::find(options.given.begin(), options.given.end(), name) != options.given.end();
}

void CheckCombination(const DemoOptions& options) {
    if (Given(options, "--png") && Given(options, "--no-png")) {
        throw UsageError("--png and --no-png contradict each other");
    }
    if (Given(options, "--scale") && Given(options, "--fit")) {
        throw UsageError("--scale and --fit contradict each other");
    }
    if (Given(options, "--png") && options.pngPath.empty()) {
        throw UsageError("--png needs a file name");
    }
    if (Given(options, "--json") && options.jsonPath.empty()) {
        throw UsageError("--json needs a file name");
    }
    for (const char* name : {"--scale", "--fit", "--flip-y"}) {
        if (options.objPaths.empty() && Given(options, name)) {
            throw UsageError(std::string(name) + " applies to meshes read with --obj");
        }
    }
    if (ShowsOneMask(options) && Given(options, "--step")) {
        throw UsageError("--step applies to placing shapes on a board, not to showing one mesh's mask"
                         " (add --board to place it)");
    }
}

}  // namespace

bool ShowsOneMask(const DemoOptions& options) {
    return options.objPaths.size() == 1 &&
           std::find(options.given.begin(), options.given.end(), "--board") == options.given.end();
}

DemoOptions ParseOptions(const std::vector<std::string>& args) {
    DemoOptions options;
    for (size_t k = 0; k < args.size(); ++k) {
        const std::string& arg = args[k];
        if (arg.size() < 2 || arg[0] != '-') {
            throw UsageError("unexpected argument '" + arg + "'");
        }
        const size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        const OptionSpec& spec = FindOption(name);
        std::string value;
        if (equals != std::string::npos) {
            if (!spec.takesValue) {
                throw UsageError(name + " takes no value");
            }
            value = arg.substr(equals + 1);
        } else if (spec.takesValue) {
            if (k + 1 == args.size()) {
                throw UsageError(name + " needs a value");
            }
            value = args[++k];
        }
        spec.apply(options, value);
        options.given.push_back(name);
    }
    CheckCombination(options);
    return options;
}

std::string UsageText() {
    return "usage: maskfit-demo [options]\n"
           "\n"
           "Loads the maskfit library the way the game's host does and shows it at work.\n"
           "Without options it builds the masks of six built-in shapes, places each at\n"
           "the first spot where it fits on a board with obstacles, and shows the board\n"
           "as text and as a PNG picture.\n"
           "\n"
           "the board and the shapes:\n"
           "  --board WxH       board size, 1 to 1024 each way, with the built-in obstacles\n"
           "                    stretched to it (default 96x64)\n"
           "  --board FILE.png  a board drawn as an image, one board pixel per image pixel,\n"
           "                    at most 1024 x 1024. In an image with transparency every\n"
           "                    opaque pixel (alpha 128 or more) is an obstacle; in any\n"
           "                    other image every dark pixel (luma below 128) is.\n"
           "  --obj FILE        a mesh from a Wavefront OBJ file (x and y of every v, every\n"
           "                    f as a fan), placed instead of the built-in shapes; repeat\n"
           "                    it to place several, in order. With one --obj and no\n"
           "                    --board the demo shows that mesh's mask instead.\n"
           "  --scale S         multiply every --obj coordinate by S (mesh units to pixels)\n"
           "  --fit N           scale every --obj mesh so that the longer side of its box\n"
           "                    spans N pixels, and move the box's corner to (0, 0)\n"
           "  --flip-y          for meshes whose y points up: mirror y within each mesh's box\n"
           "  --margin N        border margin of every mask, 0 to 32 (default 1)\n"
           "  --step N          distance between candidate positions, 1 to 1024 (default 1)\n"
           "  --skip-rect-fill  build masks without the 79 fill of their content rectangle\n"
           "\n"
           "output:\n"
           "  --png FILE        write the picture to FILE (default board.png, or mask.png\n"
           "                    when showing one mesh's mask)\n"
           "  --no-png          write no picture\n"
           "  --json FILE       write the placements and content rectangles as JSON\n"
           "  --no-text         leave the text picture out (for large boards)\n"
           "  --lib PATH        library to load (default: the one beside this program)\n"
           "  --version         print the demo's version and the loaded library's\n"
           "  -h, --help        show this text\n"
           "\n"
           "exit codes:\n"
           "  0  success\n"
           "  1  unexpected failure of the demo itself\n"
           "  2  bad command line\n"
           "  3  an input file (OBJ mesh or board image) cannot be read or is malformed\n"
           "     (the message names the file, and the line in an OBJ file)\n"
           "  4  the library does not load or lacks an entry point\n"
           "  5  the library aborted a call (the exception type and message are printed)\n"
           "  6  an output file cannot be written (none is left behind)\n";
}

}  // namespace demo
