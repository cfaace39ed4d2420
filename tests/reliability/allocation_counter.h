// Counts heap allocations made on the calling thread while counting is on.
// The test program that links allocation_counter.cpp replaces malloc and
// its relatives (and so operator new, which the C++ runtime builds on them)
// for the whole process, the loaded library included.
#ifndef MASKFIT_TESTS_RELIABILITY_ALLOCATION_COUNTER_H
#define MASKFIT_TESTS_RELIABILITY_ALLOCATION_COUNTER_H

#include <cstddef>

namespace mfreliability {

void SetCounting(bool on);
bool Counting();
// Allocations counted on this thread since the last reset.
size_t CountedAllocations();
void ResetCountedAllocations();

}  // namespace mfreliability

#endif
