#include "platform/ProcessMemory.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace platform {

void ReturnLargeBlocksToTheSystem() {
#if defined(__GLIBC__)
    // Setting the threshold fixes it: glibc no longer raises it to the size
    // of each large block freed.
    constexpr int kLargeBlockBytes = 128 * 1024;
    mallopt(M_MMAP_THRESHOLD, kLargeBlockBytes);
#endif
}

}  // namespace platform
