#include "test_support.h"

namespace mftest {

const hostsim::Library& Library() {
    static const hostsim::Library library(hostsim::DefaultLibraryPath());
    return library;
}

namespace {

struct Started {
    hostsim::EntryPoints entries;
    std::vector<std::string> requests;
};

const Started& Shipped() {
    static const Started started = [] {
        Started s;
        s.entries = hostsim::Start(Library(), &s.requests);
        return s;
    }();
    return started;
}

}  // namespace

const hostsim::EntryPoints& Entries() { return Shipped().entries; }
const std::vector<std::string>& StartupRequests() { return Shipped().requests; }

const hostsim::EntryPoints& LiteralEntries() {
    static const hostsim::Library library(hostsim::LiteralLibraryPath());
    static const hostsim::EntryPoints entries = hostsim::Start(library);
    return entries;
}

CheckedArray ViewOf(void* data, int32_t length, uint32_t* versionWord) {
    CheckedArray view{};
    view.data = data;
    view.length = length;
    view.minIndex = 0;
    view.maxIndex = static_cast<int32_t>(static_cast<uint32_t>(length) - 1u);
    view.safety.versionWord = versionWord;
    view.safety.version = *versionWord;
    view.safety.safetyId = 77;
    view.label = 5;
    return view;
}

CheckedArray Pixels::View() { return ViewOf(bytes.data(), static_cast<int32_t>(bytes.size()), versionWord.get()); }

TestShape::TestShape(int32_t width, int32_t height) : pixels(static_cast<size_t>(width) * height) {
    mask.width = width;
    mask.height = height;
    mask.dirty = UntouchedDirty();
    mask.pixels = pixels.View();
}

TestBoard::TestBoard(int32_t width, int32_t height) : pixels(static_cast<size_t>(width) * height) {
    mask.width = width;
    mask.height = height;
    mask.dirty = UntouchedDirty();
    mask.pixels = pixels.View();
}

std::string Render(const uint8_t* pixels, int32_t width, int32_t height) {
    std::string out;
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            switch (pixels[y * width + x]) {
                case 0: out += '.'; break;
                case FILL_INTERIOR: out += '#'; break;
                case FILL_BORDER: out += '+'; break;
                case FILL_RECT: out += 'r'; break;
                default: out += '?'; break;
            }
        }
        out += '\n';
    }
    return out;
}

void HostTest::SetUp() {
    (void)Entries();
    hostsim::State().leaveBy = hostsim::LeaveBy::kLongJump;
    hostsim::ResetState();
    headBefore_ = *hostsim::ChainHeadSlot();
}

void HostTest::TearDown() { EXPECT_EQ(*hostsim::ChainHeadSlot(), headBefore_) << "frame chain head not restored"; }

void BothWaysTest::SetUp() {
    HostTest::SetUp();
    hostsim::State().leaveBy = GetParam();
}

std::string LeaveByName(const ::testing::TestParamInfo<hostsim::LeaveBy>& info) {
    return info.param == hostsim::LeaveBy::kLongJump ? "LongJump" : "Exception";
}

void ExpectIndexFailure(const hostsim::Outcome& outcome, const std::string& message) {
    EXPECT_EQ(outcome.ending, hostsim::Ending::kAborted);
    EXPECT_EQ(outcome.exceptionType, "System.IndexOutOfRangeException");
    EXPECT_EQ(outcome.message, message);
}

std::string PlainMessage(int64_t index, int64_t length) {
    return "Index " + std::to_string(index) + " is out of range of '" + std::to_string(length) + "' Length.";
}

const char kRestrictedWindowMessage[] =
    "ReadWriteBuffers are restricted to only read & write the element at the job index. You can use double "
    "buffering strategies to avoid race conditions due to reading & writing in parallel to the same elements "
    "from a job.";

}  // namespace mftest
