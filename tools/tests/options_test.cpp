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
    EXPECT_TRUE(options.libraryPath.empty());
    EXPECT_TRUE(options.objPath.empty());
    EXPECT_EQ(options.boardWidth, 96);
    EXPECT_EQ(options.boardHeight, 64);
    EXPECT_EQ(options.margin, 1);
    EXPECT_EQ(options.step, 1);
    EXPECT_FALSE(options.skipRectFill);
    EXPECT_EQ(options.png, PngChoice::kDefault);
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

TEST(Options, ObjModeKeepsTheMarginAndPictureOptions) {
    const DemoOptions options = ParseOptions({"--obj", "a.obj", "--margin=3", "--no-png", "-h"});
    EXPECT_EQ(options.objPath, "a.obj");
    EXPECT_EQ(options.margin, 3);
    EXPECT_EQ(options.png, PngChoice::kNone);
    EXPECT_TRUE(options.help);
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
        {{"--board", "96"}, "--board expects WIDTHxHEIGHT, e.g. 96x64, got '96'"},
        {{"--board", "x64"}, "--board expects WIDTHxHEIGHT, e.g. 96x64, got 'x64'"},
        {{"--board", "96x"}, "--board expects WIDTHxHEIGHT, e.g. 96x64, got '96x'"},
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
        {{"--obj", "a.obj", "--board", "10x10"}, "--board applies to the built-in scenario, not to --obj"},
        {{"--step", "2", "--obj", "a.obj"}, "--step applies to the built-in scenario, not to --obj"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorOf(c.args), c.message);
    }
}

}  // namespace
