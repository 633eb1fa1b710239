#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/ProcessMemory.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

// Keeps the compiler from leaving out an allocation that is never read.
void* volatile keep = nullptr;

// glibc raises its mapping threshold to the size of each mapped block that is
// freed, so a second picture of that size would stay in the heap once freed.
// With the threshold fixed, every large block is mapped and given back.
TEST(ProcessMemoryTest, EveryLargeBlockFreedGoesBackToTheSystem) {
#if !defined(__GLIBC__) || defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "only glibc's own allocator keeps these counts";
#else
    platform::ReturnLargeBlocksToTheSystem();
    constexpr size_t kPictureBytes = 4 << 20;
    for (int picture = 0; picture < 3; ++picture) {
        const size_t mappedBefore = mallinfo2().hblkhd;
        keep = std::malloc(kPictureBytes);
        ASSERT_NE(keep, nullptr);
        const size_t mappedWhileHeld = mallinfo2().hblkhd;
        std::free(keep);
        keep = nullptr;
        EXPECT_GE(mappedWhileHeld, mappedBefore + kPictureBytes) << "picture " << picture;
        EXPECT_EQ(mallinfo2().hblkhd, mappedBefore) << "picture " << picture;
    }
#endif
}

}  // namespace
