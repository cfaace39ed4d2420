// The frame every entry point links around its operation, and the abort
// path that unlinks it: chain head, accessor calls, and the callee-saved
// vector registers the host finds again.
#include <cstring>
#include <filesystem>

#include "drawing_support.h"
#include "entry_calls.h"
#include "test_support.h"

namespace {

using hostsim::Ending;
using mftest::ArgSlots;
using mftest::BothWaysTest;
using mftest::HostTest;
using mftest::I32;
using mftest::kJunk;
using mftest::Ptr;
using mftest::RegisterSet;
using mftest::TestShape;

RegisterSet CallWithRegisters(const void* fn, const ArgSlots& args, const RegisterSet& load) {
    RegisterSet after{};
    mftest::CallWithRegisters(fn, args, load, after);
    return after;
}

void CallSetPixelWithVectors(ShapeMask* mask, int32_t x, const RegisterSet& load, RegisterSet& after) {
    after = CallWithRegisters(reinterpret_cast<const void*>(mftest::Entries().setPixel),
                              {Ptr(mask), kJunk, kJunk, kJunk, I32(9), kJunk, kJunk, I32(x), I32(0)}, load);
}

TEST_F(HostTest, NormalReturnRestoresHeadAndCallsAccessorTwice) {
    TestShape shape(4, 4);
    void* const before = *hostsim::ChainHeadSlot();
    const auto outcome = hostsim::Run([&] { lib.setPixel(&shape.mask, nullptr, nullptr, nullptr, 7, 0, 0, 1, 1); });
    EXPECT_EQ(outcome.ending, Ending::kReturned);
    EXPECT_EQ(*hostsim::ChainHeadSlot(), before);
    EXPECT_EQ(hostsim::AccessorCalls(), 2u);
    EXPECT_EQ(shape.At(1, 1), 7);
}

TEST_F(HostTest, FrameIsLinkedDuringTheCallWithEntryVectors) {
    TestShape shape(4, 4);
    *shape.pixels.versionWord = 8;  // the write check runs inside the frame and sees it
    void* const before = *hostsim::ChainHeadSlot();
    const RegisterSet pattern = mftest::RegisterPattern();
    RegisterSet after{};
    CallSetPixelWithVectors(&shape.mask, 2, pattern, after);

    ASSERT_EQ(Host().safetyCalls.size(), 1u);
    const hostsim::SafetyCall& call = Host().safetyCalls[0];
    ASSERT_NE(call.chainHead, nullptr);
    EXPECT_NE(call.chainHead, before);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(call.chainHead) % 32, 0u) << "frame must be 32-byte aligned";
    EXPECT_EQ(static_cast<void*>(call.frame.next), before);
    EXPECT_EQ(std::memcmp(call.frame.xmm6to15, pattern.xmm6to15, 160), 0) << "frame holds XMM6..15 from entry";
    EXPECT_EQ(std::memcmp(after.xmm6to15, pattern.xmm6to15, 160), 0) << "XMM6..15 preserved across the call";
    EXPECT_EQ(*hostsim::ChainHeadSlot(), before);
}

class AbortFrameTest : public BothWaysTest {};
MASKFIT_BOTH_WAYS(AbortFrameTest);

TEST_P(AbortFrameTest, AbortUnlinksTheFrameBeforeHandingOver) {
    TestShape shape(4, 4);
    void* const before = *hostsim::ChainHeadSlot();
    const auto outcome = hostsim::Run([&] { lib.setPixel(&shape.mask, nullptr, nullptr, nullptr, 7, 0, 0, 16, 0); });
    mftest::ExpectIndexFailure(outcome, mftest::PlainMessage(16, 16));
    EXPECT_EQ(*hostsim::ChainHeadSlot(), before);
    // Once to link, once in the trampoline; the exit never runs.
    EXPECT_EQ(hostsim::AccessorCalls(), 2u);
}

TEST_P(AbortFrameTest, NestedChainKeepsTheOuterFrames) {
    // A host frame already on the chain stays there, whatever the call does.
    EntryFrame hostFrame{};
    void* const outer = *hostsim::ChainHeadSlot();
    hostFrame.next = static_cast<EntryFrame*>(outer);
    *hostsim::ChainHeadSlot() = &hostFrame;
    TestShape shape(2, 2);
    const auto failed = hostsim::Run([&] { lib.setPixel(&shape.mask, nullptr, nullptr, nullptr, 1, 0, 0, 9, 9); });
    EXPECT_EQ(failed.ending, Ending::kAborted);
    EXPECT_EQ(*hostsim::ChainHeadSlot(), &hostFrame);
    const auto passed = hostsim::Run([&] { lib.setPixel(&shape.mask, nullptr, nullptr, nullptr, 1, 0, 0, 1, 1); });
    EXPECT_EQ(passed.ending, Ending::kReturned);
    EXPECT_EQ(*hostsim::ChainHeadSlot(), &hostFrame);
    *hostsim::ChainHeadSlot() = outer;
}

TEST_F(HostTest, AbortHandsOverTheEntryVectors) {
    // Long jump: the registers burst_abort sees are the whole story.
    TestShape shape(4, 4);
    const RegisterSet pattern = mftest::RegisterPattern();
    RegisterSet after{};
    const auto outcome = hostsim::Run([&] { CallSetPixelWithVectors(&shape.mask, 99, pattern, after); });
    mftest::ExpectIndexFailure(outcome, mftest::PlainMessage(99, 16));
    EXPECT_EQ(std::memcmp(Host().xmmAtAbort, pattern.xmm6to15, 160), 0);
}

TEST_F(HostTest, StaticsInitializersMayRunAnyNumberOfTimes) {
    for (const std::string& line : {std::string("5b44166f6ee23825c34a9e4439cdbd6d"), std::string("087fc6aa03b0fde5d3125bed5d3ae601"),
                                    std::string("198931b755f4ad96858ed8380f9293fc")}) {
        const auto statics = mftest::Library().Get<MaskfitStaticsFn>(("burst.initialize.statics." + line).c_str());
        for (int i = 0; i < 3; ++i) {
            statics();
        }
    }
    // The abort still goes through the trampoline: the head is restored.
    TestShape shape(2, 2);
    void* const before = *hostsim::ChainHeadSlot();
    const auto outcome = hostsim::Run([&] { lib.setPixel(&shape.mask, nullptr, nullptr, nullptr, 1, 0, 0, 4, 0); });
    mftest::ExpectIndexFailure(outcome, mftest::PlainMessage(4, 4));
    EXPECT_EQ(*hostsim::ChainHeadSlot(), before);
}

// A second, private instance of the library that has seen burst.initialize
// but not burst.setup_extra.
const hostsim::Library& UnsetLibrary() {
    static const hostsim::Library library = [] {
        namespace fs = std::filesystem;
        const fs::path shipped = mftest::Library().Path();
        const fs::path copy = fs::temp_directory_path() / ("unset_" + shipped.filename().string());
        fs::copy_file(shipped, copy, fs::copy_options::overwrite_existing);
        return hostsim::Library(copy.string());
    }();
    return library;
}

TEST_F(HostTest, BeforeSetupExtraEntryPointsRunWithoutAFrame) {
    const hostsim::Library& library = UnsetLibrary();
    const hostsim::EntryPoints entries = hostsim::ResolveEntryPoints(library);
    library.Get<MaskfitInitializeFn>("burst.initialize")(hostsim::Resolver());

    TestShape shape(4, 4);
    void* const before = *hostsim::ChainHeadSlot();
    const auto passed = hostsim::Run([&] { entries.setPixel(&shape.mask, nullptr, nullptr, nullptr, 5, 0, 0, 3, 2); });
    EXPECT_EQ(passed.ending, Ending::kReturned);
    EXPECT_EQ(shape.At(3, 2), 5);
    EXPECT_EQ(hostsim::AccessorCalls(), 0u);

    // Without the trampoline the abort goes to burst_abort directly.
    const auto failed = hostsim::Run([&] { entries.setPixel(&shape.mask, nullptr, nullptr, nullptr, 5, 0, 0, 16, 0); });
    mftest::ExpectIndexFailure(failed, mftest::PlainMessage(16, 16));
    EXPECT_EQ(*hostsim::ChainHeadSlot(), before);
    EXPECT_EQ(hostsim::AccessorCalls(), 0u);
}

// The host's convention keeps RBX, RBP, RDI, RSI, RSP, R12 to R15 and XMM6
// to XMM15 across a call: each entry point, in each library, on its fast
// path and on its host-checked path, returns them as it found them.
TEST_F(HostTest, EveryEntryPointKeepsEveryCalleeSavedRegister) {
    const RegisterSet pattern = mftest::RegisterPattern();
    for (const mftest::NamedLibrary& library : mftest::kEachLibrary) {
        for (const uint32_t versionWord : {0u, 8u}) {
            mftest::EveryEntryScene scene(0, versionWord);
            for (const mftest::EntryCall& call : mftest::EveryEntryCall(library.entries(), scene)) {
                SCOPED_TRACE(std::string(library.name) + " " + call.name + " version word " +
                             std::to_string(versionWord));
                RegisterSet after{};
                const auto outcome = hostsim::Run([&] { after = CallWithRegisters(call.fn, call.args, pattern); });
                ASSERT_EQ(outcome.ending, Ending::kReturned) << outcome.message;
                for (int i = 0; i < 8; ++i) {
                    EXPECT_EQ(after.general[i], pattern.general[i]) << mftest::kGeneralRegisterNames[i];
                }
                EXPECT_EQ(after.rspAfter, after.rspBefore) << "RSP";
                EXPECT_EQ(std::memcmp(after.xmm6to15, pattern.xmm6to15, 160), 0) << "XMM6..XMM15";
            }
            EXPECT_EQ(Host().safetyCalls.empty(), versionWord == 0) << "fast and checked paths both ran";
            Host().safetyCalls.clear();
        }
    }
}

}  // namespace
