// FindPlacement with random job blocks on window-exact memory: the board and
// shape pixels and the result array exist only within their windows. The
// search is predicted candidate by candidate with the fit test's oracle, so
// the hit written, the failing index and every host check are exact.

#include "fit_prediction.h"
#include "fuzz_masks.h"
#include "runtime/int_math.h"
#include "work_limit.h"

namespace {

using namespace mffuzz;
using maskfit::WrapAdd;

constexpr int32_t kMaxPixels = 512;
constexpr int32_t kMaxResults = 4;
constexpr size_t kMaxCandidates = 256;
constexpr int64_t kMaxPixelTests = 1 << 15;

struct PlacementPlan {
    HostSetup host;
    PlacementSearchJob block{};  // ranges, output index and host bytes; records come from the plans below
    BoardPlan board;
    ShapePlan shape;
    ArrayPlan results;
};

// The candidates of one axis in order: a step of 0 or below holds `start`
// alone, and the axis ends where the next value would pass INT32_MAX.
std::vector<int32_t> Candidates(const SearchRange& range) {
    std::vector<int32_t> out;
    for (int64_t c = range.start; c <= range.end && out.size() <= kMaxCandidates; c += range.step) {
        out.push_back(static_cast<int32_t>(c));
        if (range.step <= 0) {
            break;
        }
    }
    return out;
}

class PlacementWorld {
public:
    explicit PlacementWorld(const PlacementPlan& plan)
        : plan_(plan),
          board_(plan.board, 1),
          shape_(plan.shape, 2),
          results_(plan.results, 3),
          job_(plan.block) {
        job_->board = board_.mask;
        job_->shape = shape_.mask;
        job_->results = results_.View();
    }

    void Call(const hostsim::EntryPoints& lib) { lib.findPlacement(job_.get(), kNotRead, kNotRead, kNotRead, 7); }

    std::vector<CheckedArray> Views() const { return {board_.mask.pixels, shape_.mask.pixels, results_.View()}; }

    void CheckEffects(const CallRecord& record) const {
        CheckPredictedWorld(*this, plan_, record, "the search writes the predicted hit and nothing else");
    }

    std::vector<uint8_t> Snapshot() const {
        PlacementSearchJob job = *job_;
        job.results.data = nullptr;
        job.results.safety.versionWord = nullptr;
        job.board = BoardMask{};
        job.shape = ShapeMask{};
        const auto* bytes = reinterpret_cast<const uint8_t*>(&job);
        std::vector<uint8_t> out(bytes, bytes + sizeof job);
        AppendRecord(out, job_->board);
        AppendRecord(out, job_->shape);
        AppendBytes(out, board_.pixels.Contents());
        AppendBytes(out, shape_.pixels.Contents());
        AppendBytes(out, results_.Contents());
        return out;
    }

    // Applies the predicted hit to this world's result array.
    Prediction Predict() {
        Prediction prediction(plan_.host);
        const BoardMask& board = job_->board;
        const ShapeMask& shape = job_->shape;
        for (const int32_t y : Candidates(job_->yRange)) {
            if (WrapAdd(y, shape.bounds.y1) >= board.bounds.y0) {
                return prediction;
            }
            for (const int32_t x : Candidates(job_->xRange)) {
                if (WrapAdd(x, shape.bounds.x1) >= board.bounds.x0) {
                    continue;
                }
                const int32_t fits = PredictCanPlace(prediction, board, shape, x, y);
                if (prediction.Stopped()) {
                    return prediction;
                }
                if (fits != 0) {
                    if (prediction.Access(job_->results, job_->outputIndex, true)) {
                        const PlacementResult hit{x, y, 1, 0};
                        std::memcpy(results_.Element(job_->outputIndex), &hit, sizeof hit);
                    }
                    return prediction;
                }
            }
        }
        return prediction;
    }

private:
    const PlacementPlan& plan_;
    BackedBoard board_;
    BackedShape shape_;
    BackedArray results_;
    Exact<PlacementSearchJob> job_;  // exactly one block: reads past it are caught
};

SearchRange ReadRange(FuzzReader& in) {
    SearchRange range{};
    range.start = in.Int();
    range.end = in.Flag() ? in.Int() : WrapAdd(range.start, in.Between(-2, 40));
    range.step = in.Int();
    range.hostWord = in.Int();
    return range;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzReader in(data, size);
    PlacementPlan plan;
    plan.host = ReadHostSetup(in);
    in.Fill(plan.block.hostHeader, sizeof plan.block.hostHeader);
    plan.block.xRange = ReadRange(in);
    plan.block.yRange = ReadRange(in);
    plan.block.reserved68 = in.Int();
    plan.board = ReadBoardPlan(in, kMaxPixels);
    plan.shape = ReadShapePlan(in, kMaxPixels);
    plan.results = ReadArrayPlan(in, in.Between(0, kMaxResults), kMaxResults, sizeof(PlacementResult));
    in.Fill(plan.results.contents.data(), plan.results.contents.size());
    plan.block.outputIndex = in.Flag() ? in.Int() : WrapAdd(plan.results.minIndex, in.Between(-1, kMaxResults));
    // Every row is visited even when its column range is empty.
    const size_t rows = Candidates(plan.block.yRange).size();
    const size_t columns = Candidates(plan.block.xRange).size();
    if (rows * (columns > 0 ? columns : 1) > kMaxCandidates ||
        SaturatingProduct(static_cast<int64_t>(rows * columns), FitTestWork(plan.shape.record)) > kMaxPixelTests) {
        return 0;
    }
    RunOnBothLibraries<PlacementWorld>(plan);
    return 0;
}
