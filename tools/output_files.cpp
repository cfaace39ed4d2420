#include "output_files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace demo {
namespace {

std::string TemporaryPath(const std::string& path) { return path + ".partial"; }

// An empty `problem` means success.
std::string WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return std::strerror(errno);
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const int writeError = errno;
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        return std::strerror(written ? errno : writeError);
    }
    return "";
}

void RemoveTemporaries(const std::vector<OutputFile>& files, size_t count) {
    for (size_t k = 0; k < count; ++k) {
        std::error_code ignored;
        std::filesystem::remove(TemporaryPath(files[k].path), ignored);
    }
}

}  // namespace

void WriteAll(const std::vector<OutputFile>& files) {
    for (size_t k = 0; k < files.size(); ++k) {
        const std::string problem = WriteFile(TemporaryPath(files[k].path), files[k].bytes);
        if (!problem.empty()) {
            RemoveTemporaries(files, k + 1);
            throw OutputError("cannot write " + files[k].path + ": " + problem);
        }
    }
    for (size_t k = 0; k < files.size(); ++k) {
        std::error_code error;
        std::filesystem::rename(TemporaryPath(files[k].path), files[k].path, error);
        if (error) {
            RemoveTemporaries(files, files.size());
            throw OutputError("cannot write " + files[k].path + ": " + error.message());
        }
    }
}

}  // namespace demo
