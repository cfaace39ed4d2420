// RasterizeTriangles and BuildShapeMask with arbitrary meshes: the vertex
// list and the index list are allocated to exactly their counts (so nothing
// at or past indexCount may be read), on window-exact pixel memory, and for
// the job a random block and a shapes array of which only the window exists.

#include "drawing_rules.h"
#include "fuzz_masks.h"
#include "host_rules.h"
#include "runtime/int_math.h"
#include "work_limit.h"

namespace {

using namespace mffuzz;
using maskfit::WrapAdd;
using maskfit::WrapSub;

constexpr int32_t kMaxPixels = 2048;
constexpr int32_t kMaxVertices = 10;
constexpr int32_t kMaxIndices = 40;
constexpr int32_t kMaxShapes = 3;
constexpr int32_t kMaxFilledCoord = 64;
constexpr int64_t kMaxWork = 1 << 17;
constexpr uint64_t kIgnoredValue = 0x7ead;

struct MeshPlan {
    HostSetup host;
    bool buildJob = false;
    std::vector<Vec2> vertices;
    std::vector<int32_t> indices;  // exactly the entries that exist
    int32_t indexCount = 0;
    // RasterizeTriangles
    ShapePlan shape;
    int32_t marginX = 0, marginY = 0;
    // BuildShapeMask
    ShapeBuildJob block{};
    ArrayPlan shapes;
    std::vector<ShapePlan> elements;  // one per index of the shapes window
};

class MeshWorld {
public:
    explicit MeshWorld(const MeshPlan& plan)
        : plan_(plan),
          vertices_(plan.vertices),
          indices_(plan.indices),
          shape_(plan.shape, 1),
          shapes_(plan.shapes, 2),
          job_(plan.block) {
        for (size_t k = 0; k < plan.elements.size(); ++k) {
            elements_.emplace_back(plan.elements[k], static_cast<int32_t>(3 + k));
            std::memcpy(shapes_.Element(ElementIndex(k)), &elements_.back().mask, sizeof(ShapeMask));
        }
        job_->vertices = vertices_.get();
        job_->indices = indices_.get();
        job_->indexCount = plan.indexCount;
        job_->shapes = shapes_.View();
    }

    void Call(const hostsim::EntryPoints& lib) {
        if (plan_.buildJob) {
            lib.buildShapeMask(job_.get(), kNotRead, kNotRead, kNotRead, 3);
        } else {
            result_ = lib.rasterizeTriangles(kIgnoredValue, kIgnoredValue, kIgnoredValue, vertices_.get(), -1, indices_.get(),
                                             plan_.indexCount, &shape_.mask, plan_.marginX, plan_.marginY);
        }
    }

    std::vector<CheckedArray> Views() const {
        std::vector<CheckedArray> views = {shape_.mask.pixels, shapes_.View()};
        for (const BackedShape& element : elements_) {
            views.push_back(element.mask.pixels);
        }
        return views;
    }

    void CheckEffects(const CallRecord& record) const {
        const MeshWorld untouched(plan_);
        if (plan_.buildJob) {
            CheckBuild(untouched, record.outcome.ending == hostsim::Ending::kReturned);
            return;
        }
        if (record.outcome.ending == hostsim::Ending::kReturned) {
            Require(result_ == 1, "RasterizeTriangles returns 1");
        }
        CheckOnlyDirtyWidened(untouched.shape_.mask, shape_.mask);
        CheckDrawnPixels(untouched.shape_.pixels.Contents(), shape_.pixels.Contents(), FILL_INTERIOR, false);
    }

    std::vector<uint8_t> Snapshot() const {
        std::vector<uint8_t> out;
        AppendMask(out, shape_);
        for (size_t k = 0; k < elements_.size(); ++k) {
            AppendRecord(out, StoredElement(k));
            AppendBytes(out, elements_[k].pixels.Contents());
        }
        out.push_back(static_cast<uint8_t>(result_));
        return out;
    }

private:
    int32_t ElementIndex(size_t k) const { return WrapAdd(plan_.shapes.minIndex, static_cast<int32_t>(k)); }

    ShapeMask StoredElement(size_t k) const {
        ShapeMask stored;
        std::memcpy(&stored, shapes_.Element(ElementIndex(k)), sizeof stored);
        return stored;
    }

    // Only the element at shapeIndex changes, and its record only when the
    // job returns: then with the reset-and-drawn dirty rectangle and the
    // content rectangle grown from it.
    void CheckBuild(const MeshWorld& untouched, bool returned) const {
        for (size_t k = 0; k < elements_.size(); ++k) {
            const ShapeMask before = untouched.StoredElement(k);
            const ShapeMask after = StoredElement(k);
            const std::vector<uint8_t> pixelsBefore = untouched.elements_[k].pixels.Contents();
            const std::vector<uint8_t> pixelsAfter = elements_[k].pixels.Contents();
            if (ElementIndex(k) != plan_.block.shapeIndex) {
                Require(SameRecord(before, after) && pixelsBefore == pixelsAfter,
                        "the job leaves the other elements alone");
                continue;
            }
            CheckDrawnPixels(pixelsBefore, pixelsAfter, FILL_INTERIOR, plan_.block.skipRectFill == 0);
            if (!returned) {
                Require(SameRecord(before, after), "a failed job leaves the record as it was");
                continue;
            }
            CheckStoredRecord(before, after);
        }
    }

    void CheckStoredRecord(const ShapeMask& before, const ShapeMask& after) const {
        const ShapeBuildJob& job = plan_.block;
        ShapeMask same = after;
        same.dirty = before.dirty;
        same.bounds = before.bounds;
        Require(SameRecord(same, before), "the job stores back every field it does not rebuild");
        const DirtyRect& d = after.dirty;
        Require(d.xMin <= job.drawSize && d.yMin <= job.drawSize && d.xMax >= 0 && d.yMax >= 0,
                "the dirty rectangle starts from the reset");
        const int32_t x0 = WrapSub(d.xMin, job.margin);
        const int32_t y0 = WrapSub(d.yMin, job.margin);
        const int32_t x1 = WrapAdd(d.xMax, job.margin);
        const int32_t y1 = WrapAdd(d.yMax, job.margin);
        const MaskBounds expected{x0 > 0 ? x0 : 0, y0 > 0 ? y0 : 0, x1 < job.maxCoord ? x1 : job.maxCoord,
                                  y1 < job.maxCoord ? y1 : job.maxCoord};
        Require(std::memcmp(&after.bounds, &expected, sizeof expected) == 0,
                "the content rectangle is the drawn extent grown by the margin");
    }

    const MeshPlan& plan_;
    Exact<Vec2> vertices_;
    Exact<int32_t> indices_;
    BackedShape shape_;
    BackedArray shapes_;
    std::vector<BackedShape> elements_;
    Exact<ShapeBuildJob> job_;  // exactly one block: reads past it are caught
    int32_t result_ = -1;
};

void ReadMesh(FuzzReader& in, MeshPlan& plan) {
    plan.vertices.resize(static_cast<size_t>(in.Between(1, kMaxVertices)));
    for (Vec2& v : plan.vertices) {
        v.x = in.Float();
        v.y = in.Float();
    }
    plan.indexCount = in.Flag() ? in.Int() : in.Between(-3, kMaxIndices);
    const int32_t entries = plan.indexCount > 0 ? plan.indexCount : 0;
    plan.indices.resize(static_cast<size_t>(entries < kMaxIndices ? entries : kMaxIndices));
    for (int32_t& index : plan.indices) {
        index = in.Between(0, static_cast<int32_t>(plan.vertices.size()) - 1);
    }
}

void ReadBuildJob(FuzzReader& in, MeshPlan& plan) {
    ShapeBuildJob& job = plan.block;
    in.Fill(reinterpret_cast<uint8_t*>(&job), sizeof job);  // the host's own bytes, then the fields read
    job.margin = in.Int();
    job.skipRectFill = in.Flag() ? in.Int() : 0;
    job.maxCoord = in.Int();
    job.drawSize = in.Int();
    plan.shapes = ReadArrayPlan(in, in.Between(0, kMaxShapes), kMaxShapes, sizeof(ShapeMask));
    for (size_t k = 0; k < WindowCount(plan.shapes.minIndex, plan.shapes.maxIndex); ++k) {
        plan.elements.push_back(ReadShapePlan(in, kMaxPixels));
    }
    job.shapeIndex = in.Flag() ? in.Int() : WrapAdd(plan.shapes.minIndex, in.Between(-1, kMaxShapes));
}

int64_t MeshWork(const MeshPlan& plan, int32_t limitX, int32_t limitY, int32_t marginX, int32_t marginY) {
    int64_t work = 0;
    for (size_t k = 0; k + 3 <= plan.indices.size(); k += 3) {
        const Vec2* v = plan.vertices.data();
        work = SaturatingSum(work, TriangleWork(v[plan.indices[k]], v[plan.indices[k + 1]], v[plan.indices[k + 2]], limitX, limitY,
                             marginX, marginY));
    }
    return work;
}

// The rectangle fill covers at most columns and rows 0 to maxCoord.
bool BuildWorkFits(const MeshPlan& plan) {
    const ShapeBuildJob& job = plan.block;
    if (job.skipRectFill == 0 && job.maxCoord > kMaxFilledCoord) {
        return false;
    }
    return MeshWork(plan, job.drawSize, job.drawSize, job.margin, job.margin) <= kMaxWork;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzReader in(data, size);
    MeshPlan plan;
    plan.host = ReadHostSetup(in);
    plan.buildJob = in.Flag();
    ReadMesh(in, plan);
    if (plan.indexCount > kMaxIndices) {
        return 0;  // the list would have to hold that many entries
    }
    if (plan.buildJob) {
        ReadBuildJob(in, plan);
        if (!BuildWorkFits(plan)) {
            return 0;
        }
    } else {
        plan.shape = ReadShapePlan(in, kMaxPixels);
        plan.marginX = in.Int();
        plan.marginY = in.Int();
        const MaskBounds& limits = plan.shape.record.bounds;
        if (MeshWork(plan, limits.x0, limits.y0, plan.marginX, plan.marginY) > kMaxWork) {
            return 0;
        }
    }
    RunOnBothLibraries<MeshWorld>(plan);
    return 0;
}
