#include <gtest/gtest.h>

#include <string>

#include "json_report.h"
#include "library_version.h"
#include "started_library.h"

namespace {

TEST(JsonString, EscapesWhatJsonRequiresAndPassesTheRestThrough) {
    EXPECT_EQ(demo::JsonString("plain"), "\"plain\"");
    EXPECT_EQ(demo::JsonString("a \"b\" c\\d"), "\"a \\\"b\\\" c\\\\d\"");
    EXPECT_EQ(demo::JsonString(std::string("tab\there\nnul\0", 13)), "\"tab\\u0009here\\u000anul\\u0000\"");
    EXPECT_EQ(demo::JsonString("C:\\maps\\h\xc3\xb6hle.png"), "\"C:\\\\maps\\\\h\xc3\xb6hle.png\"");
}

// The version comes out of the loaded file: the library carries it, the
// test program does not.
TEST(EmbeddedVersion, IsTheLibrarysOwnAndAbsentElsewhere) {
    const void* insideLibrary = reinterpret_cast<const void*>(demotest::StartedLibrary().canPlace);
    EXPECT_EQ(demo::EmbeddedVersion(insideLibrary), MASKFIT_VERSION_STRING);
    const void* insideProgram = reinterpret_cast<const void*>(&demotest::StartedLibrary);
    EXPECT_EQ(demo::EmbeddedVersion(insideProgram), "");
}

}  // namespace
