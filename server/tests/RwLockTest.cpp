#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "OrvRwLock.h"

using namespace orv;

TEST(RwLock, AWaitingWriterGoesBeforeNewReaders) {
    OrvRwLock lock;
    lock.lock_shared();  // a read under way
    std::atomic<bool> written{false};
    std::thread writer([&] {
        lock.lock();
        written = true;
        lock.unlock();
    });
    // Once the writer waits, no new read may start; a lock that prefers
    // readers lets them in for ever, and this loop runs out of time.
    bool readerKeptOut = false;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!readerKeptOut && std::chrono::steady_clock::now() < deadline) {
        if (lock.try_lock_shared()) {
            lock.unlock_shared();
            std::this_thread::yield();
        } else {
            readerKeptOut = true;
        }
    }
    EXPECT_TRUE(readerKeptOut);
    EXPECT_FALSE(written);
    lock.unlock_shared();  // the read under way ends: the writer goes
    writer.join();
    EXPECT_TRUE(written);
    EXPECT_TRUE(lock.try_lock_shared());
    lock.unlock_shared();
}
