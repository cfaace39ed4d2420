// Runs a function on a thread of its own with a stack of a given size, the
// way a host may run jobs on threads with small stacks.
#ifndef MASKFIT_TESTS_RELIABILITY_SMALL_STACK_THREAD_H
#define MASKFIT_TESTS_RELIABILITY_SMALL_STACK_THREAD_H

#include <cstddef>
#include <functional>

namespace mfreliability {

// Bytes of the stack that the thread touched, where it can be measured
// (Linux: the stack is ours and pre-filled with a pattern, under a guard
// page); 0 where it cannot (Windows reserves the stack itself; memcheck
// hides a finished thread's stack).
size_t RunOnSmallStack(size_t stackBytes, const std::function<void()>& body);

}  // namespace mfreliability

#endif
