#pragma once

namespace tamblor {

// Blocks of kLargeBlockBytes and more (decoded pictures, textures, the driver's buffers) get pages of
// their own, which go back to the system as soon as they are freed. Left alone, the allocator raises
// that limit each time such a block is freed, and later large blocks land in the heap, where their
// pages stay resident after they are freed. Called once, before the video system starts.
constexpr unsigned long kLargeBlockBytes = 256 * 1024;
void KeepLargeBlocksOffTheHeap();

// Hands the heap's free pages back to the system. Loading pictures and levels frees large buffers
// in the middle of the heap, which the allocator keeps resident until something reuses them; the
// game calls this after loading, where a few milliseconds go unnoticed, never per frame.
void ReleaseFreedMemory();

}  // namespace tamblor
