#include "page_memory.h"

#include <cstdlib>

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace mftest {

#if defined(_WIN32)

size_t PageMemory::PageSize() {
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    return info.dwPageSize;
}

PageMemory::PageMemory(size_t pages) : pages_(pages) {
    base_ = static_cast<uint8_t*>(VirtualAlloc(nullptr, pages * PageSize(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (base_ == nullptr) {
        std::abort();
    }
}

PageMemory::~PageMemory() { VirtualFree(base_, 0, MEM_RELEASE); }

void PageMemory::MakeReadOnly(size_t index) {
    DWORD old = 0;
    if (!VirtualProtect(Page(index), PageSize(), PAGE_READONLY, &old)) {
        std::abort();
    }
}

#else

size_t PageMemory::PageSize() { return static_cast<size_t>(sysconf(_SC_PAGESIZE)); }

PageMemory::PageMemory(size_t pages) : pages_(pages) {
    void* base = mmap(nullptr, pages * PageSize(), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (base == MAP_FAILED) {
        std::abort();
    }
    base_ = static_cast<uint8_t*>(base);
}

PageMemory::~PageMemory() { munmap(base_, pages_ * PageSize()); }

void PageMemory::MakeReadOnly(size_t index) {
    if (mprotect(Page(index), PageSize(), PROT_READ) != 0) {
        std::abort();
    }
}

#endif

}  // namespace mftest
