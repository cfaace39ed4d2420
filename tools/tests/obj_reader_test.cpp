#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "obj_reader.h"

namespace {

using demo::Mesh;
using demo::ObjError;
using demo::ParseObj;

Mesh Parse(const std::string& text) {
    std::istringstream in(text);
    return ParseObj(in, "shape.obj");
}

std::string ErrorOf(const std::string& text) {
    try {
        Parse(text);
    } catch (const ObjError& e) {
        return e.what();
    }
    return "(no error)";
}

const std::string kSquare = "v 0 0 0\nv 4 0 0\nv 4 4 0\nv 0 4 0\n";

TEST(ObjReader, TakesXAndYAndTriangulatesFacesAsFans) {
    const Mesh mesh = Parse(kSquare + "f 1 2 3 4\n");
    ASSERT_EQ(mesh.vertices.size(), 4u);
    EXPECT_EQ(mesh.vertices[2].x, 4.0f);
    EXPECT_EQ(mesh.vertices[3].y, 4.0f);
    EXPECT_EQ(mesh.indices, (std::vector<int32_t>{0, 1, 2, 0, 2, 3}));
}

TEST(ObjReader, ReadsEveryWayOfNamingAVertex) {
    const struct {
        const char* face;
        std::vector<int32_t> indices;
    } cases[] = {
        {"f 1/1 2/2 3/3", {0, 1, 2}},
        {"f 2//7 3//7 4//7", {1, 2, 3}},
        {"f 4/1/2 1/2/3 2/3/4", {3, 0, 1}},
        {"f -1 -2 -3", {3, 2, 1}},  // counted back from the last vertex so far
        {"f -4/1 2 -2//5", {0, 1, 2}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Parse(kSquare + c.face + "\n").indices, c.indices) << c.face;
    }
}

TEST(ObjReader, CountsNegativeReferencesFromTheVerticesReadSoFar) {
    const Mesh mesh = Parse("v 0 0 0\nv 1 0 0\nv 0 1 0\nf -3 -2 -1\nv 5 5 0\nf -3 -2 -1\n");
    EXPECT_EQ(mesh.indices, (std::vector<int32_t>{0, 1, 2, 1, 2, 3}));
}

TEST(ObjReader, PassesOverWhatAMaskHasNoUseFor) {
    const Mesh mesh = Parse(
        "# made by hand\r\n"
        "mtllib shapes.mtl\r\n"
        "o piece\r\n"
        "v 0 0 0 1\r\n"
        "v +2.5 0 0 0.5 0.5 0.5\r\n"
        "\tv 0 1e1\r\n"
        "vt 0 0\r\nvn 0 0 1\r\ng part\r\nusemtl red\r\ns off\r\n"
        "f 1 2 3 # the only face\r\n"
        "l 1 2\r\n");
    ASSERT_EQ(mesh.vertices.size(), 3u);
    EXPECT_EQ(mesh.vertices[1].x, 2.5f);
    EXPECT_EQ(mesh.vertices[2].y, 10.0f);
    EXPECT_EQ(mesh.indices, (std::vector<int32_t>{0, 1, 2}));
}

TEST(ObjReader, NamesTheFileAndLineOfEveryFault) {
    const struct {
        std::string text;
        const char* message;
    } cases[] = {
        {kSquare + "f 1 2 5\n", "shape.obj:5: face names vertex 5, but 4 vertices are defined before it"},
        {kSquare + "f 1 2 -5\n", "shape.obj:5: face names vertex -5, but 4 vertices are defined before it"},
        {"f 1 2 3\n" + kSquare, "shape.obj:1: face names vertex 1, but 0 vertices are defined before it"},
        {kSquare + "f 0 1 2\n", "shape.obj:5: '0' is not a vertex reference"},
        {kSquare + "f 1 two 3\n", "shape.obj:5: 'two' is not a vertex reference"},
        {kSquare + "f 1 2.0 3\n", "shape.obj:5: '2.0' is not a vertex reference"},
        {kSquare + "f /1 2 3\n", "shape.obj:5: '/1' is not a vertex reference"},
        {kSquare + "f 1 99999999999999999999 3\n", "shape.obj:5: '99999999999999999999' is not a vertex reference"},
        {kSquare + "f 1 2\n", "shape.obj:5: a face needs at least three vertices"},
        {"\n\nv 1\n", "shape.obj:3: a vertex needs at least x and y"},
        {"v 1 x 0\n", "shape.obj:1: 'x' is not a finite number"},
        {"v 1 2 zz\n", "shape.obj:1: 'zz' is not a finite number"},
        {"v 1,5 2 0\n", "shape.obj:1: '1,5' is not a finite number"},
        {"v nan 2 0\n", "shape.obj:1: 'nan' is not a finite number"},
        {"v 1 inf 0\n", "shape.obj:1: 'inf' is not a finite number"},
        {"v 1e39 0 0\n", "shape.obj:1: '1e39' is not a finite number"},
        {"v 1024 0 0\n", "shape.obj:1: vertex (1024, 0) lies outside the drawable range -1023 to 1023"},
        {"v 0 -2000 0\n", "shape.obj:1: vertex (0, -2000) lies outside the drawable range -1023 to 1023"},
        {kSquare, "shape.obj: no faces"},
        {"", "shape.obj: no faces"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorOf(c.text).rfind(c.message, 0), 0u) << c.text << "\n gave: " << ErrorOf(c.text);
    }
}

TEST(ObjReader, AcceptsTheLargestDrawableCoordinates) {
    const Mesh mesh = Parse("v -1023 1023 0\nv 0 0 0\nv 1 0 0\nf 1 2 3\n");
    EXPECT_EQ(mesh.vertices[0].x, -1023.0f);
}

TEST(ObjReader, ReportsAFileThatCannotBeOpened) {
    try {
        demo::ReadObjFile(DEMO_TEST_DATA "/no-such-file.obj");
        FAIL() << "no error";
    } catch (const ObjError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("cannot open " DEMO_TEST_DATA "/no-such-file.obj: ", 0), 0u) << e.what();
    }
}

TEST(ObjReader, ReadsAFile) {
    const Mesh mesh = demo::ReadObjFile(DEMO_TEST_DATA "/../../examples/star.obj");
    EXPECT_EQ(mesh.vertices.size(), 11u);
    EXPECT_EQ(mesh.indices.size(), 30u);
}

}  // namespace
