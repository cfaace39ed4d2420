// glibc lets a program replace malloc and friends; the replacements count
// and hand over to glibc's own allocator.
#include "allocation_counter.h"

#include <cstdlib>

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* pointer, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
void __libc_free(void* pointer);
}

namespace mfreliability {
namespace {

// Plain thread-locals of the program itself: reaching them allocates nothing.
thread_local bool tCounting = false;
thread_local size_t tCount = 0;

void Count() {
    if (tCounting) {
        ++tCount;
    }
}

}  // namespace

void SetCounting(bool on) { tCounting = on; }
bool Counting() { return tCounting; }
size_t CountedAllocations() { return tCount; }
void ResetCountedAllocations() { tCount = 0; }

}  // namespace mfreliability

using mfreliability::Count;

extern "C" {

void* malloc(size_t size) {
    Count();
    return __libc_malloc(size);
}

void* calloc(size_t count, size_t size) {
    Count();
    return __libc_calloc(count, size);
}

void* realloc(void* pointer, size_t size) {
    Count();
    return __libc_realloc(pointer, size);
}

void* memalign(size_t alignment, size_t size) {
    Count();
    return __libc_memalign(alignment, size);
}

void* aligned_alloc(size_t alignment, size_t size) { return memalign(alignment, size); }

int posix_memalign(void** out, size_t alignment, size_t size) {
    void* pointer = memalign(alignment, size);
    if (pointer == nullptr) {
        return 12;  // ENOMEM
    }
    *out = pointer;
    return 0;
}

void free(void* pointer) { __libc_free(pointer); }

}  // extern "C"
