#include "exact_memory.h"

#include <algorithm>

#include "host_rules.h"

#if defined(__SANITIZE_ADDRESS__)
#define MASKFIT_EXACT_BY_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MASKFIT_EXACT_BY_SANITIZER 1
#endif
#endif

#if !defined(MASKFIT_EXACT_BY_SANITIZER)
#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/mman.h>
#include <unistd.h>
#endif
#endif

namespace mffuzz {
namespace {

GuardedEdge guardedEdge = GuardedEdge::kAfterLast;

#if !defined(MASKFIT_EXACT_BY_SANITIZER)
constexpr uint8_t kSparePattern = 0xA5;

size_t PageSize() {
#if defined(_WIN32)
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    return info.dwPageSize;
#else
    return static_cast<size_t>(sysconf(_SC_PAGESIZE));
#endif
}

// Pages readable and writable between two inaccessible ones.
uint8_t* MapBetweenGuards(size_t bytes) {
    const size_t page = PageSize();
#if defined(_WIN32)
    auto* mapping = static_cast<uint8_t*>(VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    DWORD old = 0;
    Require(mapping != nullptr && VirtualProtect(mapping, page, PAGE_NOACCESS, &old) &&
                VirtualProtect(mapping + bytes - page, page, PAGE_NOACCESS, &old),
            "guarded memory is available");
#else
    void* address = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    Require(address != MAP_FAILED, "guarded memory is available");
    auto* mapping = static_cast<uint8_t*>(address);
    Require(mprotect(mapping, page, PROT_NONE) == 0 && mprotect(mapping + bytes - page, page, PROT_NONE) == 0,
            "guarded memory is available");
#endif
    return mapping;
}

void Unmap(uint8_t* mapping, size_t bytes) {
#if defined(_WIN32)
    (void)bytes;
    VirtualFree(mapping, 0, MEM_RELEASE);
#else
    munmap(mapping, bytes);
#endif
}
#endif

}  // namespace

void SetGuardedEdge(GuardedEdge edge) { guardedEdge = edge; }

ExactBlock::ExactBlock(ExactBlock&& other) noexcept
    : data_(other.data_), bytes_(other.bytes_), mapping_(other.mapping_), mappingBytes_(other.mappingBytes_) {
    other.data_ = nullptr;
    other.mapping_ = nullptr;
}

#if defined(MASKFIT_EXACT_BY_SANITIZER)

ExactBlock::ExactBlock(size_t bytes)
    : data_(new uint8_t[bytes]()), bytes_(bytes), mapping_(nullptr), mappingBytes_(0) {
    (void)guardedEdge;
}

ExactBlock::~ExactBlock() { delete[] data_; }

#else

ExactBlock::ExactBlock(size_t bytes) : bytes_(bytes) {
    const size_t page = PageSize();
    const size_t usable = (bytes + page - 1) / page * page;
    mappingBytes_ = usable + 2 * page;
    mapping_ = MapBetweenGuards(mappingBytes_);
    uint8_t* const first = mapping_ + page;
    data_ = guardedEdge == GuardedEdge::kAfterLast ? first + usable - bytes : first;
    std::fill(first, first + usable, kSparePattern);
    std::fill(data_, data_ + bytes, uint8_t{0});
}

ExactBlock::~ExactBlock() {
    if (mapping_ == nullptr) {
        return;  // moved from
    }
    const size_t page = PageSize();
    const uint8_t* const usableBegin = mapping_ + page;
    const uint8_t* const usableEnd = mapping_ + mappingBytes_ - page;
    const bool spareKept = std::all_of(usableBegin, static_cast<const uint8_t*>(data_),
                                       [](uint8_t b) { return b == kSparePattern; }) &&
                           std::all_of(static_cast<const uint8_t*>(data_) + bytes_, usableEnd,
                                       [](uint8_t b) { return b == kSparePattern; });
    Unmap(mapping_, mappingBytes_);
    Require(spareKept, "nothing is written next to the memory of a window, list or block");
}

#endif

}  // namespace mffuzz
