#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "output_files.h"

namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

std::string Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class OutputFiles : public testing::Test {
protected:
    void SetUp() override {
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string In(const char* name) const { return (dir_ / name).string(); }

    fs::path dir_ = fs::temp_directory_path() / "maskfit_output_files_test";
};

TEST_F(OutputFiles, WritesEveryFileAndReplacesEarlierOutput) {
    std::ofstream(In("a.txt")) << "old";
    demo::WriteAll({{In("a.txt"), Bytes("first")}, {In("b.txt"), Bytes("second")}});
    EXPECT_EQ(Contents(In("a.txt")), "first");
    EXPECT_EQ(Contents(In("b.txt")), "second");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 2);
}

TEST_F(OutputFiles, AFileThatCannotBeWrittenLeavesNothingBehind) {
    std::ofstream(In("a.txt")) << "old";
    const std::string unwritable = In("no-such-dir/b.txt");
    try {
        demo::WriteAll({{In("a.txt"), Bytes("new")}, {In("c.txt"), Bytes("new")}, {unwritable, Bytes("x")}});
        FAIL() << "no error";
    } catch (const demo::OutputError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("cannot write " + unwritable + ": ", 0), 0u) << e.what();
    }
    EXPECT_EQ(Contents(In("a.txt")), "old");
    EXPECT_FALSE(fs::exists(In("c.txt")));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1) << "a temporary is left";
}

}  // namespace
