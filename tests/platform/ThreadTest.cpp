#include <gtest/gtest.h>

#include <atomic>
#include <future>

#include "platform/Thread.h"
#include "platform/TimedMutex.h"

namespace {

TEST(ThreadTest, AResumeBeforeTheSuspendIsNotLost) {
    std::promise<void> resumed;
    std::atomic<bool> finished{false};
    platform::Thread thread([&](platform::Thread& self) {
        resumed.get_future().wait();
        self.SuspendSelf();
        finished = true;
    });
    thread.Resume();
    resumed.set_value();
    thread.Join();
    EXPECT_TRUE(finished);
}

TEST(ThreadTest, ResumeWakesASuspendedThread) {
    std::promise<void> suspending;
    std::atomic<int> wakes{0};
    platform::Thread thread([&](platform::Thread& self) {
        suspending.set_value();
        self.SuspendSelf();
        ++wakes;
        self.SuspendSelf();
        ++wakes;
    });
    suspending.get_future().wait();
    thread.Resume();
    thread.Resume();
    while (wakes.load() == 0) {
        std::this_thread::yield();
    }
    thread.Resume();
    thread.Join();
    thread.Join();
    EXPECT_EQ(wakes.load(), 2);
}

TEST(ThreadTest, TheThreadCannotJoinItself) {
    std::atomic<bool> returned{false};
    {
        platform::Thread thread([&](platform::Thread& self) {
            self.Join();
            returned = true;
        });
    }
    EXPECT_TRUE(returned);
}

TEST(TimedMutexTest, TheHolderTakesItAgainAndOthersWait) {
    platform::TimedMutex mutex("test lock");
    ASSERT_TRUE(mutex.TryLockFor(0));
    ASSERT_TRUE(mutex.TryLockFor(0));
    EXPECT_TRUE(mutex.IsHeldByCaller());

    std::promise<void> tried;
    std::promise<void> released;
    std::thread other([&] {
        EXPECT_FALSE(mutex.Unlock());
        EXPECT_FALSE(mutex.IsHeldByCaller());
        EXPECT_FALSE(mutex.TryLockFor(5));
        tried.set_value();
        released.get_future().wait();
        EXPECT_TRUE(mutex.TryLockFor(0));
        EXPECT_TRUE(mutex.Unlock());
    });
    tried.get_future().wait();
    EXPECT_TRUE(mutex.Unlock());
    EXPECT_TRUE(mutex.IsHeldByCaller());
    EXPECT_TRUE(mutex.Unlock());
    EXPECT_FALSE(mutex.Unlock());
    released.set_value();
    other.join();
    EXPECT_FALSE(mutex.IsHeldByCaller());
}

TEST(TimedMutexTest, AWaiterGetsTheLockWhenItIsReleased) {
    platform::TimedMutex mutex("test lock");
    ASSERT_TRUE(mutex.TryLockFor(0));
    std::promise<void> waiting;
    std::atomic<bool> acquired{false};
    std::thread other([&] {
        waiting.set_value();
        // Far longer than the test can take: only the release ends the wait.
        acquired = mutex.TryLockFor(600000);
        mutex.Unlock();
    });
    waiting.get_future().wait();
    EXPECT_FALSE(acquired);
    mutex.Unlock();
    other.join();
    EXPECT_TRUE(acquired);
}

}  // namespace
