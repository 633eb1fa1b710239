#include "platform/InstanceLock.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

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

// A lock file that cannot be opened is no lock: the caller learns which file
// and why, and is not told that another copy runs.
TEST(InstanceLock, AFolderInPlaceOfTheLockFileIsNamedAsTheProblem) {
    TempFolder folder;
    std::filesystem::create_directories(folder.Path() + "/data/Game.lock");
    bool running = true;
    std::string problem;
    EXPECT_EQ(InstanceLock::Acquire(folder.Path() + "/data", "Game", running, &problem), nullptr);
    EXPECT_FALSE(running);
    EXPECT_NE(problem.find("\"" + folder.Path() + "/data/Game.lock\""), std::string::npos) << problem;
    EXPECT_NE(problem.find("Is a directory"), std::string::npos) << problem;
}
