#include "obj_reader.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <fstream>
#include <string_view>
#include <vector>

namespace demo {
namespace {

std::vector<std::string_view> SplitWords(std::string_view line) {
    std::vector<std::string_view> words;
    size_t at = 0;
    while (at < line.size()) {
        const size_t start = line.find_first_not_of(" \t", at);
        if (start == std::string_view::npos) {
            break;
        }
        const size_t end = std::min(line.find_first_of(" \t", start), line.size());
        words.push_back(line.substr(start, end - start));
        at = end;
    }
    return words;
}

// A line without its comment and its carriage return.
std::string_view Statement(const std::string& line) {
    std::string_view text = line;
    text = text.substr(0, text.find('#'));
    if (!text.empty() && text.back() == '\r') {
        text.remove_suffix(1);
    }
    return text;
}

class ObjParser {
public:
    explicit ObjParser(const std::string& name) : name_(name) {}

    void ParseLine(const std::string& line) {
        ++lineNumber_;
        const std::vector<std::string_view> words = SplitWords(Statement(line));
        if (words.empty()) {
            return;
        }
        if (words[0] == "v") {
            ParseVertex(words);
        } else if (words[0] == "f") {
            ParseFace(words);
        }
    }

    Mesh Finish() {
        if (mesh_.indices.empty()) {
            throw ObjError(name_ + ": no faces; the mask of a mesh is drawn from its `f` statements");
        }
        return std::move(mesh_);
    }

private:
    [[noreturn]] void Fail(const std::string& problem) const {
        throw ObjError(name_ + ":" + std::to_string(lineNumber_) + ": " + problem);
    }

    float ParseCoordinate(std::string_view word) const {
        std::string_view digits = word;
        if (digits.size() > 1 && digits[0] == '+' && digits[1] != '-') {
            digits.remove_prefix(1);  // from_chars takes no plus sign; OBJ writers may
        }
        float value = 0.0f;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (error != std::errc() || end != digits.data() + digits.size() || !std::isfinite(value)) {
            Fail("'" + std::string(word) + "' is not a finite number");
        }
        return value;
    }

    void ParseVertex(const std::vector<std::string_view>& words) {
        if (words.size() < 3) {
            Fail("a vertex needs at least x and y");
        }
        std::vector<float> numbers;  // x, y, then z, w or a colour: checked, not used
        for (size_t k = 1; k < words.size(); ++k) {
            numbers.push_back(ParseCoordinate(words[k]));
        }
        const Vec2 v{numbers[0], numbers[1]};
        if (std::fabs(v.x) > kMaxCoordinate || std::fabs(v.y) > kMaxCoordinate) {
            const std::string limit = std::to_string(static_cast<int32_t>(kMaxCoordinate));
            Fail("vertex (" + std::string(words[1]) + ", " + std::string(words[2]) +
                 ") lies outside the drawable range -" + limit + " to " + limit);
        }
        mesh_.vertices.push_back(v);
    }

    // "7", "7/2", "7//3" and "7/2/3" all name vertex 7; -1 names the last
    // vertex defined so far.
    int32_t ParseVertexReference(std::string_view word) const {
        const std::string_view number = word.substr(0, word.find('/'));
        long long reference = 0;
        const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), reference);
        if (error != std::errc() || end != number.data() + number.size() || reference == 0) {
            Fail("'" + std::string(word) + "' is not a vertex reference (1-based, or negative to count back)");
        }
        const long long defined = static_cast<long long>(mesh_.vertices.size());
        const long long index = reference > 0 ? reference - 1 : defined + reference;
        if (index < 0 || index >= defined) {
            Fail("face names vertex " + std::to_string(reference) + ", but " + std::to_string(defined) +
                 " vertices are defined before it");
        }
        return static_cast<int32_t>(index);
    }

    void ParseFace(const std::vector<std::string_view>& words) {
        if (words.size() < 4) {
            Fail("a face needs at least three vertices");
        }
        std::vector<int32_t> corners;
        for (size_t k = 1; k < words.size(); ++k) {
            corners.push_back(ParseVertexReference(words[k]));
        }
        const size_t added = 3 * (corners.size() - 2);
        if (mesh_.indices.size() + added > static_cast<size_t>(kMaxIndexCount)) {
            Fail("the mesh has more than " + std::to_string(kMaxIndexCount / 3) + " triangles");
        }
        for (size_t k = 1; k + 1 < corners.size(); ++k) {
            mesh_.indices.insert(mesh_.indices.end(), {corners[0], corners[k], corners[k + 1]});
        }
    }

    std::string name_;
    int32_t lineNumber_ = 0;
    Mesh mesh_;
};

}  // namespace

Mesh ParseObj(std::istream& in, const std::string& name) {
    ObjParser parser(name);
    std::string line;
    while (std::getline(in, line)) {
        parser.ParseLine(line);
    }
    if (in.bad()) {
        throw ObjError(name + ": read failed");
    }
    return parser.Finish();
}

Mesh ReadObjFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw ObjError("cannot open " + path + ": " + std::strerror(errno));
    }
    return ParseObj(in, path);
}

}  // namespace demo
