#include "platform/InstanceLock.h"

#include <gtest/gtest.h>

#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/TempFolder.h"

using platform::InstanceLock;
using Outcome = InstanceLock::Outcome;

namespace {

TEST(InstanceLock, SecondHolderIsRefusedUntilTheFirstGoes) {
    TempFolder folder;
    InstanceLock::Attempt first = InstanceLock::Acquire(folder.Path() + "/data");
    ASSERT_EQ(first.outcome, Outcome::Locked);
    ASSERT_NE(first.lock, nullptr);
    EXPECT_EQ(first.problem, "");
    const InstanceLock::Attempt second = InstanceLock::Acquire(folder.Path() + "/data");
    EXPECT_EQ(second.outcome, Outcome::AlreadyRunning);
    EXPECT_EQ(second.lock, nullptr);
    first.lock.reset();
    EXPECT_EQ(InstanceLock::Acquire(folder.Path() + "/data").outcome, Outcome::Locked);
}

// Whatever is removed from the folder, or put there, while the lock is held
// leaves it held: no second copy gets in.
TEST(InstanceLock, NothingRemovedOrReplacedInTheFolderLetsASecondHolderIn) {
    TempFolder folder;
    const std::string data = folder.Path() + "/data";
    std::filesystem::create_directories(data);
    std::ofstream(data + "/Game.lock") << "an earlier lock file";
    const InstanceLock::Attempt first = InstanceLock::Acquire(data);
    ASSERT_EQ(first.outcome, Outcome::Locked);
    for (const auto& entry : std::filesystem::directory_iterator(data)) std::filesystem::remove_all(entry.path());
    EXPECT_EQ(InstanceLock::Acquire(data).outcome, Outcome::AlreadyRunning);
    std::ofstream(data + "/Game.lock") << "a new file in its place";
    EXPECT_EQ(InstanceLock::Acquire(data).outcome, Outcome::AlreadyRunning);
}

// A folder that cannot be made holds nothing another copy could spoil: the
// copy may run, told which folder and why.
TEST(InstanceLock, AFolderThatCannotBeMadeLetsTheCopyRunWithTheReason) {
    TempFolder folder;
    std::ofstream(folder.Path() + "/home") << "a file where a folder should be";
    const std::string data = folder.Path() + "/home/data";
    const InstanceLock::Attempt attempt = InstanceLock::Acquire(data);
    EXPECT_EQ(attempt.outcome, Outcome::ReadOnly);
    EXPECT_EQ(attempt.lock, nullptr);
    EXPECT_EQ(attempt.problem, "The game's data folder cannot be made: Not a directory.\nFolder: \"" + data + "\"");
}

// An existing folder on a read-only mount (a live medium) is still locked,
// and said to be unwritable. Mode bits do not stop root, so the folder is
// seen read-only through a mount of its own, in a child with a private
// mount namespace; where that cannot be made the case is skipped.
TEST(InstanceLock, AnExistingReadOnlyFolderIsLockedAndSaidToBeUnwritable) {
    TempFolder folder;
    const std::string data = folder.Path() + "/data";
    std::filesystem::create_directories(data);
    constexpr int kNoMount = 77;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            mount(data.c_str(), data.c_str(), nullptr, MS_BIND, nullptr) != 0 ||
            mount(nullptr, data.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0)
            _exit(kNoMount);
        const InstanceLock::Attempt attempt = InstanceLock::Acquire(data);
        const bool told =
            attempt.problem == "The game's data folder cannot be written: Read-only file system.\nFolder: \"" + data + "\"";
        const bool held = InstanceLock::Acquire(data).outcome == Outcome::AlreadyRunning;
        _exit(attempt.outcome == Outcome::ReadOnly && attempt.lock != nullptr && told && held ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == kNoMount) GTEST_SKIP() << "no private read-only mount here";
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
