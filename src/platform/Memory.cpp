#include "platform/Memory.h"

#include <cstdlib>  // says whether the C library is glibc

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace tamblor {

void KeepLargeBlocksOffTheHeap() {
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, static_cast<int>(kLargeBlockBytes));
#endif
}

void ReleaseFreedMemory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

}  // namespace tamblor
