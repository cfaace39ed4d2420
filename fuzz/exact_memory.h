// Host memory of exactly the bytes a call may use. Under AddressSanitizer it
// is an ordinary allocation, whose redzones catch any access outside it.
// Without the sanitizer (the GCC and MinGW replays) the block lies against
// an inaccessible page on one side, its first or its last byte at the page
// edge, so that a stray access across that edge faults at once; the spare
// bytes on its other side hold a pattern, checked when the block is freed,
// so that a stray write there is caught too.
#ifndef MASKFIT_FUZZ_EXACT_MEMORY_H
#define MASKFIT_FUZZ_EXACT_MEMORY_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <vector>

namespace mffuzz {

// Which edge of each block lies against the inaccessible page; a replay
// runs every input once with each.
enum class GuardedEdge { kAfterLast, kBeforeFirst };
void SetGuardedEdge(GuardedEdge edge);

class ExactBlock {
public:
    explicit ExactBlock(size_t bytes);
    ~ExactBlock();
    ExactBlock(ExactBlock&& other) noexcept;
    ExactBlock& operator=(ExactBlock&&) = delete;

    uint8_t* Data() const { return data_; }
    size_t Size() const { return bytes_; }

private:
    uint8_t* data_;
    size_t bytes_;
    uint8_t* mapping_;  // pages around the block, when guarded
    size_t mappingBytes_;
};

// Exact memory holding copies of `count` records.
template <typename T>
class Exact {
    static_assert(std::is_trivially_copyable_v<T>);

public:
    Exact(const T* items, size_t count) : block_(count * sizeof(T)) {
        if (count != 0) {
            std::memcpy(block_.Data(), items, count * sizeof(T));
        }
    }
    explicit Exact(const std::vector<T>& items) : Exact(items.data(), items.size()) {}
    explicit Exact(const T& item) : Exact(&item, 1) {}

    T* get() const { return reinterpret_cast<T*>(block_.Data()); }
    T* operator->() const { return get(); }
    T& operator*() const { return *get(); }
    T& operator[](size_t i) const { return get()[i]; }

private:
    ExactBlock block_;
};

}  // namespace mffuzz

#endif
