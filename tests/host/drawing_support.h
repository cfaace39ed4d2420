// Helpers shared by the tests of the drawing operations: the border brush,
// the triangle rasterizer, the triangle list fill and the shape build job.
#ifndef MASKFIT_TESTS_DRAWING_SUPPORT_H
#define MASKFIT_TESTS_DRAWING_SUPPORT_H

#include <algorithm>
#include <cstddef>
#include <ostream>
#include <string>

#include "test_support.h"

// Field-wise comparison and printing, so that rectangle expectations read as
// one line and print all four corners on failure.
inline bool operator==(const DirtyRect& a, const DirtyRect& b) {
    return a.xMin == b.xMin && a.yMin == b.yMin && a.xMax == b.xMax && a.yMax == b.yMax;
}

inline bool operator==(const MaskBounds& a, const MaskBounds& b) {
    return a.x0 == b.x0 && a.y0 == b.y0 && a.x1 == b.x1 && a.y1 == b.y1;
}

inline std::ostream& operator<<(std::ostream& out, const DirtyRect& d) {
    return out << "dirty(" << d.xMin << ", " << d.yMin << ", " << d.xMax << ", " << d.yMax << ")";
}

inline std::ostream& operator<<(std::ostream& out, const MaskBounds& b) {
    return out << "bounds(" << b.x0 << ", " << b.y0 << ", " << b.x1 << ", " << b.y1 << ")";
}

inline bool operator==(const AtomicSafetyHandle& a, const AtomicSafetyHandle& b) {
    return a.versionWord == b.versionWord && a.version == b.version && a.safetyId == b.safetyId;
}

inline std::ostream& operator<<(std::ostream& out, const AtomicSafetyHandle& h) {
    return out << "handle(" << static_cast<const void*>(h.versionWord) << ", " << h.version << ", " << h.safetyId
               << ")";
}

namespace mftest {

// The shipped library takes its fast paths wherever the handles and windows
// allow them; the literal build never does. The drawing tests run each
// example against both, so that both ways of computing it are held to it.
class EachLibraryTest : public HostTest, public testing::WithParamInterface<bool> {
protected:
    const hostsim::EntryPoints& Library() const { return GetParam() ? LiteralEntries() : Entries(); }
};

inline std::string LibraryName(const testing::TestParamInfo<bool>& info) {
    return info.param ? "Literal" : "Shipped";
}

#define MASKFIT_EACH_LIBRARY(suite) \
    INSTANTIATE_TEST_SUITE_P(Library, suite, ::testing::Bool(), ::mftest::LibraryName)

// For tests that are parameterized otherwise: both libraries, by name.
struct NamedLibrary {
    const char* name;
    const hostsim::EntryPoints& (*entries)();
};
inline constexpr NamedLibrary kEachLibrary[] = {{"shipped", &Entries}, {"literal", &LiteralEntries}};

inline std::string Picture(const TestShape& shape) {
    return Render(shape.pixels.bytes.data(), shape.mask.width, shape.mask.height);
}

inline std::string BlankPicture(int32_t width, int32_t height) {
    std::string row(static_cast<size_t>(width), '.');
    row += '\n';
    std::string picture;
    for (int32_t y = 0; y < height; ++y) {
        picture += row;
    }
    return picture;
}

// A picture given by its first rows, completed with empty rows.
inline std::string Padded(const std::string& rows, int32_t width, int32_t height) {
    const auto given = static_cast<int32_t>(std::count(rows.begin(), rows.end(), '\n'));
    return rows + BlankPicture(width, height - given);
}

// A version word of 6 against a version of 1 fails both tests, so every read
// and every write through the view calls the host.
inline void RequireHostChecks(CheckedArray& view) {
    *view.safety.versionWord = 6;
    view.safety.version = 1;
}

// Host checks recorded on this thread, of one kind.
inline size_t CountChecks(bool write) {
    size_t count = 0;
    for (const hostsim::SafetyCall& call : hostsim::State().safetyCalls) {
        count += call.write == write ? 1 : 0;
    }
    return count;
}

}  // namespace mftest

#endif
