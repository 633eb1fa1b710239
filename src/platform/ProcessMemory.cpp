#include "platform/ProcessMemory.h"

// Any C library header defines __GLIBC__ on glibc; without one first, the
// test below never holds and the threshold is never set.
#include <cstdlib>

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
