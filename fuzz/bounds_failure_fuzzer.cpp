// The failure path on its own, linked from the library's objects: the
// message that ReportBoundsFailure hands to the abort for any view and
// index, and the fixed-capacity text routines against a plain model, on a
// text buffer of exactly its capacity plus the terminator.
#include <memory>
#include <string>

#include "host/host_slots.h"
#include "host_rules.h"
#include "runtime/bounds_failure.h"
#include "runtime/fixed_text.h"

namespace {

using namespace mffuzz;

constexpr int32_t kMaxCapacity = 120;
constexpr int32_t kMaxPiece = 160;
constexpr int kMaxAppends = 8;
// An append never copies more than the capacity, so a piece of at most
// kMaxPiece characters always holds what is copied.
static_assert(kMaxCapacity < kMaxPiece);

void CheckReportedFailure(FuzzReader& in, const HostSetup& setup) {
    CheckedArray view{};
    view.length = in.Int();
    view.minIndex = in.Int();
    view.maxIndex = in.Flag() ? in.Int() : static_cast<int32_t>(static_cast<uint32_t>(view.length) - 1u);
    // Only length and window may be read: everything else points nowhere.
    view.data = reinterpret_cast<void*>(0x7ead);
    view.safety.versionWord = reinterpret_cast<uint32_t*>(0x7ead);
    const int32_t index = in.Int();
    const CallRecord record = RunThroughHost(setup, [&] { maskfit::ReportBoundsFailure(&view, index); });
    Require(record.outcome.ending == hostsim::Ending::kAborted, "a bounds failure always aborts");
    Require(record.outcome.exceptionType == "System.IndexOutOfRangeException", "with the exact type");
    if (record.outcome.message != ExpectedBoundsMessage(view, index)) {
        Fail("message \"" + record.outcome.message + "\" for index " + std::to_string(index));
    }
}

// The text as the routines must leave it, and the abort they must end in.
struct TextModel {
    std::string text;
    std::string nullArgument;  // "destination" or "source" once an append met a null
};

void AppendToModel(TextModel& model, int32_t capacity, bool nullText, const char* piece, int32_t count) {
    const int64_t room = capacity - static_cast<int64_t>(model.text.size());
    const int64_t k = count < room ? count : room;
    if (k <= 0) {
        return;
    }
    if (nullText) {
        model.nullArgument = "destination";
    } else if (piece == nullptr) {
        model.nullArgument = "source";
    } else {
        model.text.append(piece, static_cast<size_t>(k));
    }
}

void CheckTextBuilding(FuzzReader& in, const HostSetup& setup) {
    const int32_t capacity = in.Between(0, kMaxCapacity);
    const bool nullText = in.Between(0, 15) == 0;
    auto chars = std::make_unique<char[]>(static_cast<size_t>(capacity) + 1);  // zero-filled, like a FixedText
    int32_t position = 0;
    const maskfit::TextCursor cursor{nullText ? nullptr : chars.get(), capacity, &position};
    TextModel model;
    const int appends = in.Between(0, kMaxAppends);
    for (int n = 0; n < appends && model.nullArgument.empty(); ++n) {
        // AppendDecimal takes no null text: only AppendText guards its addresses.
        if (!nullText && in.Flag()) {
            const int32_t value = in.Int();
            RunThroughHost(setup, [&] { maskfit::AppendDecimal(cursor, value); });
            const std::string digits = std::to_string(value);
            model.text += digits.substr(0, static_cast<size_t>(capacity) - model.text.size());
            continue;
        }
        const int32_t count = in.Flag() ? in.Int() : in.Between(0, kMaxPiece);
        const bool nullPiece = in.Between(0, 7) == 0;
        // A piece of exactly the characters that may be copied.
        const int32_t length = count > 0 ? (count < kMaxPiece ? count : kMaxPiece) : 0;
        auto piece = std::make_unique<char[]>(static_cast<size_t>(length));
        in.Fill(reinterpret_cast<uint8_t*>(piece.get()), static_cast<size_t>(length));
        const char* source = nullPiece ? nullptr : piece.get();
        const CallRecord record = RunThroughHost(setup, [&] { maskfit::AppendText(cursor, source, count); });
        AppendToModel(model, capacity, nullText, source, count);
        if (!model.nullArgument.empty()) {
            Require(record.outcome.ending == hostsim::Ending::kAborted &&
                        record.outcome.exceptionType == "System.ArgumentNullException" &&
                        record.outcome.message == model.nullArgument,
                    "a null address ends the append with the argument's name");
        } else {
            Require(record.outcome.ending == hostsim::Ending::kReturned, "an append returns");
        }
    }
    Require(position == static_cast<int32_t>(model.text.size()), "the position counts the characters written");
    if (!nullText) {
        Require(std::string(chars.get(), static_cast<size_t>(position)) == model.text, "the text is the model's");
        for (int32_t i = position; i <= capacity; ++i) {
            Require(chars[i] == '\0', "nothing is written past the position or at the capacity");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The routines abort through the abort slot; here it leads straight to the host.
    maskfit_host_slots.abort = hostsim::Abort();
    FuzzReader in(data, size);
    const HostSetup setup = ReadHostSetup(in);
    if (in.Flag()) {
        CheckTextBuilding(in, setup);
    } else {
        CheckReportedFailure(in, setup);
    }
    return 0;
}
