#include "bench_support.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <map>
#include <random>

namespace mfbench {

const hostsim::EntryPoints& LiteralEntries() {
    static const hostsim::Library library(hostsim::LiteralLibraryPath());
    static const hostsim::EntryPoints entries = hostsim::Start(library);
    return entries;
}

const hostsim::EntryPoints& FastEntries() {
    static const hostsim::Library library(hostsim::DefaultLibraryPath());
    static const hostsim::EntryPoints entries = hostsim::Start(library);
    return entries;
}

CheckedArray OwnedPixels::View() {
    CheckedArray view{};
    view.data = bytes.data();
    view.length = static_cast<int32_t>(bytes.size());
    view.minIndex = 0;
    view.maxIndex = view.length - 1;
    view.safety.versionWord = versionWord.get();
    view.safety.version = *versionWord;
    return view;
}

namespace {

DirtyRect UntouchedDirty() { return DirtyRect{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN}; }

}  // namespace

BenchShape::BenchShape(int32_t width, int32_t height) : pixels(static_cast<size_t>(width) * height) {
    mask.width = width;
    mask.height = height;
    mask.bounds = MaskBounds{0, 0, width, height};
    mask.dirty = UntouchedDirty();
    mask.pixels = pixels.View();
}

BenchBoard::BenchBoard(int32_t width, int32_t height) : pixels(static_cast<size_t>(width) * height) {
    mask.width = width;
    mask.height = height;
    mask.bounds = MaskBounds{width, height, 0, 0};
    mask.dirty = UntouchedDirty();
    mask.pixels = pixels.View();
}

void CoverWithDisks(uint8_t* pixels, int32_t width, int32_t height, double coverage, int32_t minRadius,
                    int32_t maxRadius, uint32_t seed, uint8_t value) {
    std::mt19937 random(seed);
    const auto target = static_cast<int64_t>(coverage * width * height);
    int64_t covered =
        std::count_if(pixels, pixels + static_cast<int64_t>(width) * height, [](uint8_t pixel) { return pixel != 0; });
    while (covered < target) {
        const int32_t cx = static_cast<int32_t>(random() % static_cast<uint32_t>(width));
        const int32_t cy = static_cast<int32_t>(random() % static_cast<uint32_t>(height));
        const int32_t r = minRadius + static_cast<int32_t>(random() % static_cast<uint32_t>(maxRadius - minRadius + 1));
        for (int32_t y = std::max(0, cy - r); y <= std::min(height - 1, cy + r); ++y) {
            for (int32_t x = std::max(0, cx - r); x <= std::min(width - 1, cx + r); ++x) {
                uint8_t& pixel = pixels[static_cast<int64_t>(y) * width + x];
                if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r && pixel == 0) {
                    pixel = value;
                    ++covered;
                }
            }
        }
    }
}

void AddGridCell(Mesh& mesh, std::mt19937& random, int32_t columns, int32_t column, int32_t row) {
    const auto add = [&](int32_t p, int32_t q, int32_t r) {
        const bool flip = (random() & 1) != 0;
        mesh.indices.insert(mesh.indices.end(), {p, flip ? r : q, flip ? q : r});
    };
    const int32_t a = row * (columns + 1) + column, b = a + 1;
    const int32_t c = a + columns + 1, d = c + 1;
    if ((random() & 1) != 0) {
        add(a, b, d);
        add(a, d, c);
    } else {
        add(a, b, c);
        add(b, d, c);
    }
}

ShapeBuild::ShapeBuild(int32_t width, int32_t height, const Mesh& mesh, const BuildOptions& options)
    : shape(width, height) {
    job.margin = options.margin;
    job.skipRectFill = options.rectFill ? 0 : 1;
    job.maxCoord = options.maxCoord;
    job.drawSize = options.drawSize;
    job.shapeIndex = 0;
    job.vertices = mesh.vertices.data();
    job.indices = mesh.indices.data();
    job.indexCount = static_cast<int32_t>(mesh.indices.size());
    job.shapes.data = &shape.mask;
    job.shapes.length = 1;
    job.shapes.minIndex = 0;
    job.shapes.maxIndex = 0;
    job.shapes.safety = shape.mask.pixels.safety;
}

void ShapeBuild::Run(const hostsim::EntryPoints& entries) {
    entries.buildShapeMask(&job, nullptr, nullptr, nullptr, 0);
}

void CountDrawing(benchmark::State& state, const std::vector<uint8_t>& pixels, int64_t triangles) {
    const auto drawn = std::count_if(pixels.begin(), pixels.end(),
                                     [](uint8_t pixel) { return pixel == FILL_INTERIOR || pixel == FILL_BORDER; });
    state.counters["pixels"] = benchmark::Counter(static_cast<double>(drawn), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["per_triangle"] = benchmark::Counter(
        static_cast<double>(triangles), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

namespace {

constexpr char kLiteralSuffix[] = "/literal";
constexpr char kFastSuffix[] = "/fast";
constexpr char kBitPackedSuffix[] = "/bitpacked";
constexpr char kFloorSuffix[] = "/floor";

std::vector<std::string>& WorkloadNames() {
    static std::vector<std::string> names;
    return names;
}

// Prints the usual console lines, then one table of every workload: CPU
// time per iteration of each variant measured and the ratios that matter.
// With repetitions the median stands for the variant.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type == Run::RT_Iteration || median) {
                const double seconds = run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
                nanoseconds_[run.run_name.function_name] = seconds * 1e9;
            }
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf(
            "\n| Workload | literal (ns) | fast (ns) | literal / fast | bit-packed (ns) | fast / bit-packed | "
            "floor (ns) | fast / floor |\n|---|---:|---:|---:|---:|---:|---:|---:|\n");
        std::vector<std::string> names = WorkloadNames();
        std::sort(names.begin(), names.end());
        for (const std::string& name : names) {
            const double fast = Time(name + kFastSuffix);
            if (fast <= 0) {
                continue;  // filtered out of this run
            }
            const double literal = Time(name + kLiteralSuffix);
            const double bitPacked = Time(name + kBitPackedSuffix);
            const double floor = Time(name + kFloorSuffix);
            std::printf("| %s | %s | %s | %s | %s | %s | %s | %s |\n", name.c_str(), Cell(literal, "").c_str(),
                        Cell(fast, "").c_str(), Cell(literal > 0 ? literal / fast : 0, "x").c_str(),
                        Cell(bitPacked, "").c_str(), Cell(bitPacked > 0 ? fast / bitPacked : 0, "x").c_str(),
                        Cell(floor, "").c_str(), Cell(floor > 0 ? fast / floor : 0, "x").c_str());
        }
        std::fflush(stdout);
    }

private:
    double Time(const std::string& run) const {
        const auto found = nanoseconds_.find(run);
        return found == nanoseconds_.end() ? 0 : found->second;
    }

    // Three significant digits at least; a dash for what was not measured.
    static std::string Cell(double value, const char* unit) {
        if (value <= 0) {
            return "-";
        }
        char text[32];
        std::snprintf(text, sizeof text, value < 10 ? "%.2f%s" : value < 100 ? "%.1f%s" : "%.0f%s", value, unit);
        return text;
    }

    std::map<std::string, double> nanoseconds_;
};

}  // namespace

bool RegisterPair(const std::string& name, const Workload& workload) {
    WorkloadNames().push_back(name);
    benchmark::RegisterBenchmark((name + kLiteralSuffix).c_str(),
                                 [workload](benchmark::State& state) { workload(state, LiteralEntries()); });
    benchmark::RegisterBenchmark((name + kFastSuffix).c_str(),
                                 [workload](benchmark::State& state) { workload(state, FastEntries()); });
    return true;
}

bool RegisterComparison(const std::string& name, const Comparison& comparison) {
    WorkloadNames().push_back(name);
    const auto counted = [comparison](const std::function<void(benchmark::State&)>& variant) {
        return [comparison, variant](benchmark::State& state) {
            variant(state);
            state.SetBytesProcessed(state.iterations() * comparison.bytes());
        };
    };
    const auto library = [comparison](const hostsim::EntryPoints& (*entries)()) {
        return [comparison, entries](benchmark::State& state) { comparison.library(state, entries()); };
    };
    if (comparison.literal) {
        benchmark::RegisterBenchmark((name + kLiteralSuffix).c_str(), counted(library(LiteralEntries)));
    }
    benchmark::RegisterBenchmark((name + kFastSuffix).c_str(), counted(library(FastEntries)));
    benchmark::RegisterBenchmark((name + kBitPackedSuffix).c_str(), counted(comparison.bitPacked));
    benchmark::RegisterBenchmark((name + kFloorSuffix).c_str(), counted(comparison.floor));
    return true;
}

}  // namespace mfbench

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    mfbench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
