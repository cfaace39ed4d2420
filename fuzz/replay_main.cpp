// Replays fuzz inputs without libFuzzer, so that the code under test is the
// code the shipped compilers generate: each argument is an input file or a
// folder of them, and each input runs twice, once with every exact block
// against a guard page after its last byte and once before its first. A
// broken rule stops the process with its message, as under the fuzzer.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "exact_memory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> InputsOf(const fs::path& argument) {
    std::vector<fs::path> inputs;
    if (fs::is_directory(argument)) {
        for (const fs::directory_entry& entry : fs::directory_iterator(argument)) {
            if (entry.is_regular_file()) {
                inputs.push_back(entry.path());
            }
        }
        std::sort(inputs.begin(), inputs.end());
    } else if (fs::is_regular_file(argument)) {
        inputs.push_back(argument);
    }
    return inputs;
}

void Replay(const fs::path& input) {
    std::ifstream file(input, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    for (const mffuzz::GuardedEdge edge : {mffuzz::GuardedEdge::kAfterLast, mffuzz::GuardedEdge::kBeforeFirst}) {
        mffuzz::SetGuardedEdge(edge);
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s INPUT_OR_FOLDER...\n", argv[0]);
        return 2;
    }
    size_t replayed = 0;
    for (int i = 1; i < argc; ++i) {
        const std::vector<fs::path> inputs = InputsOf(argv[i]);
        if (inputs.empty() && !fs::is_directory(argv[i])) {
            std::fprintf(stderr, "%s: no such input or folder\n", argv[i]);
            return 2;
        }
        for (const fs::path& input : inputs) {
            std::fprintf(stderr, "%s\n", input.string().c_str());
            Replay(input);
            ++replayed;
        }
    }
    std::printf("%zu inputs replayed, each with both guarded edges\n", replayed);
    return 0;
}
