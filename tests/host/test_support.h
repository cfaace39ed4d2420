// Shared fixtures for tests that drive the loaded library through the
// simulated host.
#ifndef MASKFIT_TESTS_TEST_SUPPORT_H
#define MASKFIT_TESTS_TEST_SUPPORT_H

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host_sim.h"

namespace mftest {

// The library, loaded and started once for the whole test process.
const hostsim::Library& Library();
const hostsim::EntryPoints& Entries();
// What the shipped library's start-up asked the resolver for.
const std::vector<std::string>& StartupRequests();
// The literal build, loaded beside the shipped one, for differential tests.
const hostsim::EntryPoints& LiteralEntries();

// A dirty rectangle whose minimums lie above and maximums below every coordinate.
inline DirtyRect UntouchedDirty() { return DirtyRect{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN}; }

// Pixel memory with a safety handle whose version matches, so no host check runs.
struct Pixels {
    std::vector<uint8_t> bytes;
    std::unique_ptr<uint32_t> versionWord = std::make_unique<uint32_t>(0);

    explicit Pixels(size_t count, uint8_t fill = 0) : bytes(count, fill) {}
    CheckedArray View();  // unrestricted window over all bytes
    uint8_t& operator[](size_t i) { return bytes[i]; }
};

CheckedArray ViewOf(void* data, int32_t length, uint32_t* versionWord);

// A mask of width x height with its own pixels, origin (0, 0), untouched dirty.
struct TestShape {
    Pixels pixels;
    ShapeMask mask{};
    TestShape(int32_t width, int32_t height);
    uint8_t At(int32_t x, int32_t y) const { return pixels.bytes[static_cast<size_t>(y * mask.width + x)]; }
    void Set(int32_t x, int32_t y, uint8_t v) { pixels.bytes[static_cast<size_t>(y * mask.width + x)] = v; }
};

struct TestBoard {
    Pixels pixels;
    BoardMask mask{};
    TestBoard(int32_t width, int32_t height);
    uint8_t At(int32_t x, int32_t y) const { return pixels.bytes[static_cast<size_t>(y * mask.width + x)]; }
    void Set(int32_t x, int32_t y, uint8_t v) { pixels.bytes[static_cast<size_t>(y * mask.width + x)] = v; }
};

// Renders a mask as rows of characters for readable comparisons:
// '.' empty, '#' 234, '+' 90, 'r' 79, '?' anything else.
std::string Render(const uint8_t* pixels, int32_t width, int32_t height);

// Every test starts with fresh host records and leaves by long jump unless
// it says otherwise; the chain head is checked to be back where it was.
class HostTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    static hostsim::ThreadState& Host() { return hostsim::State(); }
    const hostsim::EntryPoints& lib = Entries();

private:
    void* headBefore_ = nullptr;
};

// Runs the same test body once per way of leaving the library.
class BothWaysTest : public HostTest, public ::testing::WithParamInterface<hostsim::LeaveBy> {
protected:
    void SetUp() override;
};

std::string LeaveByName(const ::testing::TestParamInfo<hostsim::LeaveBy>& info);

#define MASKFIT_BOTH_WAYS(suite)                                                                               \
    INSTANTIATE_TEST_SUITE_P(Leave, suite,                                                                     \
                             ::testing::Values(hostsim::LeaveBy::kLongJump, hostsim::LeaveBy::kException), \
                             ::mftest::LeaveByName)

// Expects a bounds failure with this message.
void ExpectIndexFailure(const hostsim::Outcome& outcome, const std::string& message);
std::string PlainMessage(int64_t index, int64_t length);
extern const char kRestrictedWindowMessage[];

}  // namespace mftest

#endif
