#include "options.h"

#include <charconv>

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

void ParseBoard(DemoOptions& options, const std::string& text) {
    const size_t cross = text.find_first_of("xX");
    if (cross == std::string::npos || cross == 0 || cross + 1 == text.size()) {
        throw UsageError("--board expects WIDTHxHEIGHT, e.g. 96x64, got '" + text + "'");
    }
    options.boardWidth = ParseCount("--board width", text.substr(0, cross), 1, kMaxBoardSide);
    options.boardHeight = ParseCount("--board height", text.substr(cross + 1), 1, kMaxBoardSide);
    options.scenarioOnly.push_back("--board");
}

struct OptionSpec {
    const char* name;
    bool takesValue;
    void (*apply)(DemoOptions& options, const std::string& value);
};

constexpr OptionSpec kOptions[] = {
    {"--help", false, [](DemoOptions& o, const std::string&) { o.help = true; }},
    {"-h", false, [](DemoOptions& o, const std::string&) { o.help = true; }},
    {"--lib", true, [](DemoOptions& o, const std::string& v) { o.libraryPath = v; }},
    {"--obj", true, [](DemoOptions& o, const std::string& v) { o.objPath = v; }},
    {"--board", true, ParseBoard},
    {"--margin", true, [](DemoOptions& o, const std::string& v) { o.margin = ParseCount("--margin", v, 0, kMaxMargin); }},
    {"--step", true,
     [](DemoOptions& o, const std::string& v) {
         o.step = ParseCount("--step", v, 1, kMaxStep);
         o.scenarioOnly.push_back("--step");
     }},
    {"--skip-rect-fill", false, [](DemoOptions& o, const std::string&) { o.skipRectFill = true; }},
    {"--png", true,
     [](DemoOptions& o, const std::string& v) {
         o.png = PngChoice::kFile;
         o.pngPath = v;
     }},
    {"--no-png", false, [](DemoOptions& o, const std::string&) { o.png = PngChoice::kNone; }},
};

const OptionSpec& FindOption(const std::string& name) {
    for (const OptionSpec& spec : kOptions) {
        if (name == spec.name) {
            return spec;
        }
    }
    throw UsageError("unknown option '" + name + "'");
}

void CheckCombination(const DemoOptions& options, bool pngGiven, bool noPngGiven) {
    if (pngGiven && noPngGiven) {
        throw UsageError("--png and --no-png contradict each other");
    }
    if (options.png == PngChoice::kFile && options.pngPath.empty()) {
        throw UsageError("--png needs a file name");
    }
    if (!options.objPath.empty() && !options.scenarioOnly.empty()) {
        throw UsageError(options.scenarioOnly.front() + " applies to the built-in scenario, not to --obj");
    }
}

}  // namespace

DemoOptions ParseOptions(const std::vector<std::string>& args) {
    DemoOptions options;
    bool pngGiven = false;
    bool noPngGiven = false;
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
        pngGiven = pngGiven || name == "--png";
        noPngGiven = noPngGiven || name == "--no-png";
    }
    CheckCombination(options, pngGiven, noPngGiven);
    return options;
}

std::string UsageText(bool pngSupported) {
    std::string text =
        "usage: maskfit-demo [options]\n"
        "\n"
        "Loads the maskfit library the way the game's host does and shows it at work.\n"
        "Without options it builds the masks of six built-in shapes, places each at\n"
        "the first spot where it fits on a board with obstacles, and shows the board.\n"
        "\n"
        "options:\n"
        "  --lib PATH        library to load (default: the one built beside this program)\n"
        "  --board WxH       board size, 1 to 1024 each way (default 96x64)\n"
        "  --margin N        border margin of every mask, 0 to 32 (default 1)\n"
        "  --step N          distance between candidate positions, 1 to 1024 (default 1)\n"
        "  --skip-rect-fill  build masks without the 79 fill of their content rectangle\n"
        "  --obj FILE        instead of the scenario, show the mask of the mesh in a\n"
        "                    Wavefront OBJ file: x and y of every v, every f as a fan\n"
        "  --png FILE        write the picture to FILE (default board.png, with --obj mask.png)\n"
        "  --no-png          write no picture\n"
        "  -h, --help        show this text\n"
        "\n"
        "exit codes:\n"
        "  0  success\n"
        "  1  unexpected failure of the demo itself\n"
        "  2  bad command line\n"
        "  3  the OBJ file cannot be read or is malformed (the message names the line)\n"
        "  4  the library does not load or lacks an entry point\n"
        "  5  the library aborted a call (the exception type and message are printed)\n"
        "  6  the picture cannot be written\n";
    if (!pngSupported) {
        text += "\nThis build cannot write PNG: it shows the picture as text only.\n";
    }
    return text;
}

}  // namespace demo
