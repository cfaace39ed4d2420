#include "small_stack_thread.h"

#include <cstdint>
#include <cstdlib>

#if defined(_WIN32)
#include <windows.h>
#else
#include <pthread.h>
#include <sys/mman.h>
#include <unistd.h>
#if __has_include(<valgrind/valgrind.h>)
#include <valgrind/valgrind.h>
#endif
#endif
#if !defined(RUNNING_ON_VALGRIND)
#define RUNNING_ON_VALGRIND 0
#endif

namespace mfreliability {
namespace {

#if defined(_WIN32)

DWORD WINAPI RunBody(LPVOID body) {
    (*static_cast<const std::function<void()>*>(body))();
    return 0;
}

#else

constexpr uint8_t kUntouched = 0xA5;

void* RunBody(void* body) {
    (*static_cast<const std::function<void()>*>(body))();
    return nullptr;
}

// The stack grows down from its top: the lowest byte that lost the pattern
// marks the deepest use.
size_t TouchedBytes(const uint8_t* stack, size_t size) {
    size_t untouched = 0;
    while (untouched < size && stack[untouched] == kUntouched) {
        ++untouched;
    }
    return size - untouched;
}

#endif

}  // namespace

#if defined(_WIN32)

size_t RunOnSmallStack(size_t stackBytes, const std::function<void()>& body) {
    HANDLE thread = CreateThread(nullptr, stackBytes, &RunBody, const_cast<std::function<void()>*>(&body),
                                 STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (thread == nullptr) {
        std::abort();
    }
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    return 0;
}

#else

size_t RunOnSmallStack(size_t stackBytes, const std::function<void()>& body) {
    const auto page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    // A guard page below the stack turns an overflow into a crash.
    void* mapping = mmap(nullptr, stackBytes + page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping == MAP_FAILED || mprotect(mapping, page, PROT_NONE) != 0) {
        std::abort();
    }
    auto* stack = static_cast<uint8_t*>(mapping) + page;
    for (size_t i = 0; i < stackBytes; ++i) {
        stack[i] = kUntouched;
    }
    pthread_attr_t attributes;
    pthread_t thread;
    if (pthread_attr_init(&attributes) != 0 || pthread_attr_setstack(&attributes, stack, stackBytes) != 0 ||
        pthread_create(&thread, &attributes, &RunBody, const_cast<std::function<void()>*>(&body)) != 0) {
        std::abort();
    }
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
    // Memcheck rightly counts a finished thread's stack as gone: no measure there.
    const size_t touched = RUNNING_ON_VALGRIND ? 0 : TouchedBytes(stack, stackBytes);
    munmap(mapping, stackBytes + page);
    return touched;
}

#endif

}  // namespace mfreliability
