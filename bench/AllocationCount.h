#pragma once
// Counts the heap allocations of the whole program: linking AllocationCount.cpp replaces the global
// operator new and delete (with malloc and free underneath). Shared by the frame benchmark and the
// tests that check a steady frame allocates nothing.
#include <cstdint>

namespace tamblor::bench {

// Allocations made since the program started.
uint64_t AllocationCount();

}  // namespace tamblor::bench
