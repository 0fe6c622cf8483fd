#pragma once

namespace tamblor {

// Hands the heap's free pages back to the system. Loading pictures and levels frees large buffers
// in the middle of the heap, which the allocator keeps resident until something reuses them; the
// game calls this after loading, where a few milliseconds go unnoticed, never per frame.
void ReleaseFreedMemory();

}  // namespace tamblor
