#include "platform/InstanceLock.h"

#include <gtest/gtest.h>

#include "support/TempFolder.h"

using platform::InstanceLock;

TEST(InstanceLock, SecondHolderIsRefusedUntilTheFirstGoes) {
    TempFolder folder;
    bool running = true;
    auto first = InstanceLock::Acquire(folder.Path() + "/data", "Game", running);
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(running);
    EXPECT_EQ(InstanceLock::Acquire(folder.Path() + "/data", "Game", running), nullptr);
    EXPECT_TRUE(running);
    first.reset();
    EXPECT_NE(InstanceLock::Acquire(folder.Path() + "/data", "Game", running), nullptr);
    EXPECT_FALSE(running);
}
