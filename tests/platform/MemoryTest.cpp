// The hand-back of freed heap pages, seen in the process's resident pages. Sanitizers bring
// allocators of their own, so the check skips there.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/Memory.h"

#if defined(__GLIBC__)
#include <unistd.h>
#endif

namespace tamblor {
namespace {

#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
// Keeps the compiler from dropping an allocation that is never read.
void* Kept(void* block) {
    asm volatile("" : : "r"(block) : "memory");
    return block;
}

long ResidentBytes() {
    long pages = 0;
    long resident = 0;
    FILE* statm = std::fopen("/proc/self/statm", "r");
    if (statm == nullptr)
        return -1;
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
        resident = -1;
    std::fclose(statm);
    return resident * sysconf(_SC_PAGESIZE);
}
#endif

TEST(Memory, FreedHeapPagesGoBackToTheSystem) {
#if !defined(__GLIBC__) || defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "only glibc's allocator is asked to hand pages back";
#else
    // 16 MiB of small blocks, written to, freed below one that stays: the heap cannot shrink from its
    // top, so the pages stay resident until they are handed back.
    std::vector<char*> small;
    for (int i = 0; i < 4096; ++i) {
        char* b = static_cast<char*>(Kept(std::malloc(4000)));
        for (int k = 0; k < 4000; k += 512) b[k] = 1;
        small.push_back(b);
    }
    void* pin = Kept(std::malloc(64));
    for (char* b : small) std::free(b);
    long resident = ResidentBytes();
    ReleaseFreedMemory();
    EXPECT_GT(resident - ResidentBytes(), 4L << 20);
    std::free(pin);
#endif
}

}  // namespace
}  // namespace tamblor
