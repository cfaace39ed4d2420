#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "options.h"

namespace {

using demo::DemoOptions;
using demo::ParseOptions;
using demo::PngChoice;
using demo::UsageError;

std::string ErrorOf(const std::vector<std::string>& args) {
    try {
        ParseOptions(args);
    } catch (const UsageError& e) {
        return e.what();
    }
    return "(no error)";
}

TEST(Options, DefaultsRunTheScenarioOnTheDefaultBoard) {
    const DemoOptions options = ParseOptions({});
    EXPECT_FALSE(options.help);
    EXPECT_FALSE(options.version);
    EXPECT_TRUE(options.libraryPath.empty());
    EXPECT_TRUE(options.objPaths.empty());
    EXPECT_TRUE(options.boardImage.empty());
    EXPECT_EQ(options.boardWidth, 96);
    EXPECT_EQ(options.boardHeight, 64);
    EXPECT_EQ(options.margin, 1);
    EXPECT_EQ(options.step, 1);
    EXPECT_FALSE(options.skipRectFill);
    EXPECT_EQ(options.png, PngChoice::kDefault);
    EXPECT_TRUE(options.jsonPath.empty());
    EXPECT_FALSE(options.noText);
    EXPECT_FALSE(demo::ShowsOneMask(options));
}

TEST(Options, TakesValuesAfterTheOptionOrAfterAnEqualsSign) {
    const DemoOptions options = ParseOptions(
        {"--lib", "x/libm.so", "--board=200X120", "--margin", "0", "--step=4", "--png", "out.png", "--skip-rect-fill"});
    EXPECT_EQ(options.libraryPath, "x/libm.so");
    EXPECT_EQ(options.boardWidth, 200);
    EXPECT_EQ(options.boardHeight, 120);
    EXPECT_EQ(options.margin, 0);
    EXPECT_EQ(options.step, 4);
    EXPECT_EQ(options.png, PngChoice::kFile);
    EXPECT_EQ(options.pngPath, "out.png");
    EXPECT_TRUE(options.skipRectFill);
}

TEST(Options, AcceptsTheLimitsOfEveryRange) {
    const DemoOptions options = ParseOptions({"--board", "1024x1", "--margin", "32", "--step", "1024"});
    EXPECT_EQ(options.boardWidth, 1024);
    EXPECT_EQ(options.boardHeight, 1);
    EXPECT_EQ(options.margin, 32);
    EXPECT_EQ(options.step, 1024);
}

TEST(Options, OneMeshWithoutABoardShowsItsMask) {
    const DemoOptions options = ParseOptions({"--obj", "a.obj", "--margin=3", "--no-png", "--fit", "40", "-h"});
    EXPECT_EQ(options.objPaths, (std::vector<std::string>{"a.obj"}));
    EXPECT_EQ(options.margin, 3);
    EXPECT_EQ(options.png, PngChoice::kNone);
    EXPECT_EQ(options.transform.fit, 40);
    EXPECT_TRUE(options.help);
    EXPECT_TRUE(demo::ShowsOneMask(options));
}

TEST(Options, SeveralMeshesOrOneWithABoardArePlacedInOrder) {
    const DemoOptions several = ParseOptions({"--obj", "b.obj", "--obj=a.obj", "--step", "2", "--flip-y"});
    EXPECT_EQ(several.objPaths, (std::vector<std::string>{"b.obj", "a.obj"}));
    EXPECT_TRUE(several.transform.flipY);
    EXPECT_FALSE(demo::ShowsOneMask(several));
    EXPECT_FALSE(demo::ShowsOneMask(ParseOptions({"--obj", "a.obj", "--board", "10x10"})));
    EXPECT_FALSE(demo::ShowsOneMask(ParseOptions({"--board", "map.png", "--obj", "a.obj", "--scale", "0.5"})));
}

TEST(Options, ABoardIsASizeOrAnImageWhicheverComesLast) {
    const DemoOptions image = ParseOptions({"--board", "10x10", "--board", "maps/Level 1.PNG"});
    EXPECT_EQ(image.boardImage, "maps/Level 1.PNG");
    const DemoOptions size = ParseOptions({"--board", "map.png", "--board", "30x20"});
    EXPECT_TRUE(size.boardImage.empty());
    EXPECT_EQ(size.boardWidth, 30);
    EXPECT_EQ(size.boardHeight, 20);
}

TEST(Options, ReadsTheOutputAndVersionOptions) {
    const DemoOptions options = ParseOptions({"--json", "out.json", "--no-text", "--version", "--obj", "a.obj",
                                              "--scale=2.5"});
    EXPECT_EQ(options.jsonPath, "out.json");
    EXPECT_TRUE(options.noText);
    EXPECT_TRUE(options.version);
    EXPECT_EQ(options.transform.scale, 2.5f);
}

TEST(Options, RejectsEveryBadCommandLineWithItsReason) {
    const struct {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{"--bogus"}, "unknown option '--bogus'"},
        {{"--board-size=3"}, "unknown option '--board-size'"},
        {{"board.png"}, "unexpected argument 'board.png'"},
        {{"-"}, "unexpected argument '-'"},
        {{"--lib"}, "--lib needs a value"},
        {{"--no-png=yes"}, "--no-png takes no value"},
        {{"--board", "96"}, "--board expects WIDTHxHEIGHT (e.g. 96x64) or FILE.png, got '96'"},
        {{"--board", "x64"}, "--board expects WIDTHxHEIGHT (e.g. 96x64) or FILE.png, got 'x64'"},
        {{"--board", "96x"}, "--board expects WIDTHxHEIGHT (e.g. 96x64) or FILE.png, got '96x'"},
        {{"--board", "map.jpg"}, "--board expects WIDTHxHEIGHT (e.g. 96x64) or FILE.png, got 'map.jpg'"},
        {{"--board", "96x64x2"}, "--board height expects a whole number, got '64x2'"},
        {{"--board", " 96x64"}, "--board width expects a whole number, got ' 96'"},
        {{"--board", "0x64"}, "--board width must be from 1 to 1024, got '0'"},
        {{"--board", "96x-64"}, "--board height must be from 1 to 1024, got '-64'"},
        {{"--board", "1025x64"}, "--board width must be from 1 to 1024, got '1025'"},
        {{"--board", "99999999999999999999x64"}, "--board width must be from 1 to 1024, got '99999999999999999999'"},
        {{"--margin", "-1"}, "--margin must be from 0 to 32, got '-1'"},
        {{"--margin", "33"}, "--margin must be from 0 to 32, got '33'"},
        {{"--margin", "1.5"}, "--margin expects a whole number, got '1.5'"},
        {{"--margin="}, "--margin expects a whole number, got ''"},
        {{"--step", "0"}, "--step must be from 1 to 1024, got '0'"},
        {{"--step", "+2"}, "--step expects a whole number, got '+2'"},
        {{"--png", "a.png", "--no-png"}, "--png and --no-png contradict each other"},
        {{"--png="}, "--png needs a file name"},
        {{"--json"}, "--json needs a value"},
        {{"--json="}, "--json needs a file name"},
        {{"--no-text=1"}, "--no-text takes no value"},
        {{"--step", "2", "--obj", "a.obj"},
         "--step applies to placing shapes on a board, not to showing one mesh's mask (add --board to place it)"},
        {{"--obj", "a.obj", "--scale", "0"}, "--scale expects a number above 0 and at most 10000, got '0'"},
        {{"--obj", "a.obj", "--scale", "-2"}, "--scale expects a number above 0 and at most 10000, got '-2'"},
        {{"--obj", "a.obj", "--scale", "1e9"}, "--scale expects a number above 0 and at most 10000, got '1e9'"},
        {{"--obj", "a.obj", "--scale", "2x"}, "--scale expects a number above 0 and at most 10000, got '2x'"},
        {{"--obj", "a.obj", "--scale", "nan"}, "--scale expects a number above 0 and at most 10000, got 'nan'"},
        {{"--obj", "a.obj", "--fit", "0"}, "--fit must be from 1 to 1023, got '0'"},
        {{"--obj", "a.obj", "--fit", "1024"}, "--fit must be from 1 to 1023, got '1024'"},
        {{"--obj", "a.obj", "--scale", "2", "--fit", "10"}, "--scale and --fit contradict each other"},
        {{"--scale", "2"}, "--scale applies to meshes read with --obj"},
        {{"--fit", "20"}, "--fit applies to meshes read with --obj"},
        {{"--flip-y"}, "--flip-y applies to meshes read with --obj"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorOf(c.args), c.message);
    }
}

}  // namespace
