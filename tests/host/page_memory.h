// Whole pages of memory, some of which can be made read-only, so that a
// store to a byte that must not be written faults at once instead of
// passing unseen: a vector store that rewrites a neighbour's byte with the
// value it just read leaves the memory as it was, but not on a read-only page.
#ifndef MASKFIT_TESTS_PAGE_MEMORY_H
#define MASKFIT_TESTS_PAGE_MEMORY_H

#include <cstddef>
#include <cstdint>

namespace mftest {

class PageMemory {
public:
    explicit PageMemory(size_t pages);
    ~PageMemory();
    PageMemory(const PageMemory&) = delete;
    PageMemory& operator=(const PageMemory&) = delete;

    static size_t PageSize();
    uint8_t* Page(size_t index) const { return base_ + index * PageSize(); }
    // Loads still pass; any store into the page faults.
    void MakeReadOnly(size_t index);

private:
    uint8_t* base_;
    size_t pages_;
};

}  // namespace mftest

#endif
