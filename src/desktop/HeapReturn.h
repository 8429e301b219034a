#pragma once

namespace desktop {

// Blocks from this size up get a mapping of their own, which goes back to the system when
// they are freed.
inline constexpr int kOwnMappingFromBytes = 128 * 1024;

// Keeps memory freed by the browser engine from staying with the process. Each page load
// allocates and frees large buffers (pictures, frames, network data). By default glibc raises
// the size from which blocks get their own mapping each time such a block is freed, after
// which they come from the heap, where freed space in the middle is kept for later: over a
// day of lookups the process holds hundreds of megabytes it no longer uses. A fixed size
// keeps large blocks off the heap. A size the user chose (MALLOC_MMAP_THRESHOLD_) is kept.
// Call before the application object exists.
void keepLargeBlocksOffTheHeap();

} // namespace desktop
