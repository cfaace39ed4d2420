// maskfit-demo: a host that loads the library by path, starts it the way the
// game's job runtime does, and shows what it makes of shapes and boards.
#include <iostream>
#include <string>
#include <vector>

#include "board_render.h"
#include "exit_codes.h"
#include "host_calls.h"
#include "host_sim.h"
#include "obj_reader.h"
#include "options.h"
#include "png_writer.h"
#include "report.h"
#include "scenario.h"
#include "shape_builder.h"

namespace demo {
namespace {

struct Picture {
    const std::vector<uint8_t>& pixels;
    int32_t width;
    int32_t height;
};

// The file the picture goes to; empty for none.
std::string PicturePath(const DemoOptions& options) {
    switch (options.png) {
        case PngChoice::kFile:
            if (!PngSupported()) {
                throw UsageError("--png: this build cannot write PNG (there is no libpng for it); use --no-png");
            }
            return options.pngPath;
        case PngChoice::kNone:
            return "";
        case PngChoice::kDefault:
            if (!PngSupported()) {
                std::cerr << "note: this build cannot write PNG; the picture is shown as text only\n";
                return "";
            }
            return options.objPath.empty() ? "board.png" : "mask.png";
    }
    return "";
}

void WritePicture(const std::string& path, const Picture& picture) {
    const int32_t scale = ImageScaleFor(picture.width, picture.height);
    const RgbImage image = RenderImage(picture.pixels, picture.width, picture.height, scale);
    WritePng(path, image);
    std::cout << "wrote " << path << " (" << image.width << " x " << image.height << ", " << scale << " x " << scale
              << " image pixels per mask pixel)\n";
}

int RunDemo(const DemoOptions& options) {
    const std::string picturePath = PicturePath(options);
    const BuildSettings build{options.margin, options.skipRectFill};
    // A fault in the user's file is reported before anything else happens.
    const Mesh mesh = options.objPath.empty() ? Mesh{} : ReadObjFile(options.objPath);
    const hostsim::Library library(options.libraryPath.empty() ? hostsim::DefaultLibraryPath() : options.libraryPath);
    const hostsim::EntryPoints entries = hostsim::Start(library);
    std::cout << "library: " << library.Path() << "\n";
    if (options.objPath.empty()) {
        const ScenarioSettings settings{options.boardWidth, options.boardHeight, options.step, build};
        const ScenarioResult result = RunScenario(entries, settings);
        PrintScenario(std::cout, settings, result);
        if (!picturePath.empty()) {
            WritePicture(picturePath, {result.board.pixels.bytes, result.board.mask.width, result.board.mask.height});
        }
    } else {
        const OwnedShape shape = BuildShape(entries, mesh, build);
        PrintShapeMask(std::cout, options.objPath, mesh, build, shape);
        if (!picturePath.empty()) {
            WritePicture(picturePath, {shape.pixels.bytes, shape.mask.width, shape.mask.height});
        }
    }
    return kExitSuccess;
}

int Fail(ExitCode code, const std::string& message) {
    std::cerr << "maskfit-demo: " << message << "\n";
    return code;
}

}  // namespace
}  // namespace demo

int main(int argc, char** argv) {
    using namespace demo;
    try {
        const DemoOptions options = ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
        if (options.help) {
            std::cout << UsageText(PngSupported());
            return kExitSuccess;
        }
        return RunDemo(options);
    } catch (const UsageError& e) {
        return Fail(kExitUsage, std::string(e.what()) + " (see --help)");
    } catch (const ObjError& e) {
        return Fail(kExitInput, e.what());
    } catch (const hostsim::LoadError& e) {
        return Fail(kExitLoad, e.what());
    } catch (const LibraryAbort& e) {
        return Fail(kExitLibraryAbort, std::string("library call failed: ") + e.what());
    } catch (const OutputError& e) {
        return Fail(kExitOutput, e.what());
    } catch (const std::exception& e) {
        return Fail(kExitInternalError, std::string("unexpected failure: ") + e.what());
    }
}
