#include "platform/core/allocator.h"

#include <malloc.h>

namespace plat {

void ReturnLargeBlocksWhenFreed() {
    // Setting the threshold also stops it (and the heap's trim threshold) from rising.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
}

}  // namespace plat
