// maskfit-demo: a host that loads the library by path, starts it the way the
// game's job runtime does, and shows what it makes of shapes and boards.
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "board_image.h"
#include "board_picture.h"
#include "builtin_shapes.h"
#include "exit_codes.h"
#include "host_calls.h"
#include "host_sim.h"
#include "json_report.h"
#include "library_version.h"
#include "obj_reader.h"
#include "options.h"
#include "output_files.h"
#include "png_encoder.h"
#include "report.h"
#include "scenario.h"
#include "shape_builder.h"

namespace demo {
namespace {

// A file to write and what to say once it is written.
struct Output {
    OutputFile file;
    std::string done;
};

// The library beside the demo; in an installed tree on Linux, the one in
// the library folder next to the demo's.
std::string LibraryPath(const DemoOptions& options) {
    if (!options.libraryPath.empty()) {
        return options.libraryPath;
    }
    const std::filesystem::path beside = hostsim::DefaultLibraryPath();
#if defined(MASKFIT_DEMO_INSTALLED_LIBDIR)
    const char* chosen = std::getenv("MASKFIT_LIB");
    const std::filesystem::path installed = beside.parent_path() / MASKFIT_DEMO_INSTALLED_LIBDIR / beside.filename();
    if ((chosen == nullptr || *chosen == '\0') && !std::filesystem::exists(beside) &&
        std::filesystem::exists(installed)) {
        return installed.string();
    }
#endif
    return beside.string();
}

int PrintVersions(const DemoOptions& options) {
    std::cout << "maskfit-demo " << MASKFIT_VERSION_STRING << "\n";
    const hostsim::Library library(LibraryPath(options));
    const void* initialize = library.Find(MASKFIT_SYMBOL_INITIALIZE);
    if (initialize == nullptr) {
        throw hostsim::LoadError(library.Path() + " lacks " MASKFIT_SYMBOL_INITIALIZE ": it is no maskfit library");
    }
    const std::string version = EmbeddedVersion(initialize);
    std::cout << "library: " << library.Path() << "\n"
              << "library version: " << (version.empty() ? "unknown (the file carries no version)" : version) << "\n";
    return kExitSuccess;
}

std::string PicturePath(const DemoOptions& options) {
    switch (options.png) {
        case PngChoice::kFile:
            return options.pngPath;
        case PngChoice::kNone:
            return "";
        case PngChoice::kDefault:
            return ShowsOneMask(options) ? "mask.png" : "board.png";
    }
    return "";
}

std::vector<NamedMesh> ReadMeshes(const DemoOptions& options) {
    std::vector<NamedMesh> meshes;
    for (const std::string& path : options.objPaths) {
        Mesh mesh = ReadObjFile(path);
        TransformMesh(mesh, options.transform, path);
        meshes.push_back({std::filesystem::path(path).stem().string(), std::move(mesh), path});
    }
    return meshes;
}

OwnedBoard StartingBoard(const DemoOptions& options) {
    if (!options.boardImage.empty()) {
        return BoardFromImage(ReadPngFile(options.boardImage));
    }
    OwnedBoard board = MakeBoard(options.boardWidth, options.boardHeight);
    PlaceObstacles(board);
    return board;
}

Output PictureOutput(const std::string& path, const PictureContent& content, const char* unit) {
    const Picture picture = DrawPicture(content);
    std::vector<uint8_t> png = EncodePng(picture.image);
    if (png.empty()) {
        throw OutputError("cannot write " + path + ": the PNG encoder failed");
    }
    return {{path, std::move(png)},
            "wrote " + path + " (" + std::to_string(picture.image.width) + " x " +
                std::to_string(picture.image.height) + ", " + std::to_string(picture.scale) + " x " +
                std::to_string(picture.scale) + " image pixels per " + unit + " pixel)"};
}

Output JsonOutput(const std::string& path, const std::string& json) {
    return {{path, std::vector<uint8_t>(json.begin(), json.end())}, "wrote " + path};
}

std::vector<Output> ShowMask(const hostsim::EntryPoints& entries, const DemoOptions& options, const NamedMesh& named,
                             const BuildSettings& build) {
    const OwnedShape shape = BuildShape(entries, named.mesh, build);
    PrintShapeMask(std::cout, named.source, named.mesh, build, shape, !options.noText);
    std::vector<Output> outputs;
    if (const std::string path = PicturePath(options); !path.empty()) {
        const MaskBounds& content = shape.mask.bounds;
        const std::vector<ShapeOutcome> shapes = {
            {named.name, named.source, TriangleCount(named.mesh), content, true, content.x0, content.y0}};
        std::vector<int32_t> owners(shape.pixels.bytes.size(), kNoOwner);
        for (size_t k = 0; k < owners.size(); ++k) {
            owners[k] = shape.pixels.bytes[k] != FILL_EMPTY ? 0 : kNoOwner;
        }
        const std::string title = "mask of " + named.name + ": " + std::to_string(shape.mask.width) + " x " +
                                  std::to_string(shape.mask.height) + ", margin " + std::to_string(build.margin);
        outputs.push_back(PictureOutput(
            path, {title, shape.pixels.bytes, shape.mask.width, shape.mask.height, owners, shapes}, "mask"));
    }
    if (!options.jsonPath.empty()) {
        outputs.push_back(JsonOutput(options.jsonPath, MaskJson(named.source, named.mesh, build, shape)));
    }
    return outputs;
}

std::vector<Output> PlaceAll(const hostsim::EntryPoints& entries, const DemoOptions& options, OwnedBoard board,
                             const std::vector<NamedMesh>& meshes, const BuildSettings& build) {
    const PlacementSummary summary{meshes.empty(), options.boardImage, options.step, build};
    const ScenarioResult result =
        PlaceShapes(entries, std::move(board), meshes.empty() ? BuiltinShapes() : meshes, options.step, build);
    PrintPlacements(std::cout, summary, result, !options.noText);
    std::vector<Output> outputs;
    if (const std::string path = PicturePath(options); !path.empty()) {
        const OwnedBoard& placed = result.board;
        outputs.push_back(PictureOutput(path,
                                        {PlacementTitle(summary, result), placed.pixels.bytes, placed.mask.width,
                                         placed.mask.height, result.owners, result.shapes},
                                        "board"));
    }
    if (!options.jsonPath.empty()) {
        outputs.push_back(JsonOutput(options.jsonPath, PlacementsJson(summary, result)));
    }
    return outputs;
}

int RunDemo(const DemoOptions& options) {
    // A fault in the user's files is reported before anything else happens.
    const std::vector<NamedMesh> meshes = ReadMeshes(options);
    OwnedBoard board = ShowsOneMask(options) ? OwnedBoard{} : StartingBoard(options);
    const hostsim::Library library(LibraryPath(options));
    const hostsim::EntryPoints entries = hostsim::Start(library);
    std::cout << "library: " << library.Path() << "\n";
    const BuildSettings build{options.margin, options.skipRectFill};
    const std::vector<Output> outputs = ShowsOneMask(options) ? ShowMask(entries, options, meshes.front(), build)
                                                              : PlaceAll(entries, options, std::move(board), meshes, build);
    std::vector<OutputFile> files;
    for (const Output& output : outputs) {
        files.push_back(output.file);
    }
    WriteAll(files);
    for (const Output& output : outputs) {
        std::cout << output.done << "\n";
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
            std::cout << UsageText();
            return kExitSuccess;
        }
        return options.version ? PrintVersions(options) : RunDemo(options);
    } catch (const UsageError& e) {
        return Fail(kExitUsage, std::string(e.what()) + " (see --help)");
    } catch (const InputError& e) {
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
