// The blocks kept for the next large reply: the right one is handed out, the total stays within the
// limit, and they go when idle, when their thread ends, or when asked.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <cstdlib>
#include <thread>
#include <vector>

#include "platform/com/block_recycler.h"

namespace zpv::com::recycler {
namespace {

using namespace std::chrono_literals;

class BlockRecycler : public ::testing::Test {
protected:
    void SetUp() override { ReleaseAll(); }
    void TearDown() override {
        SetIdleTime(idle_);
        ReleaseAll();
    }
    std::chrono::milliseconds idle_ = IdleTime();
};

TEST_F(BlockRecycler, HandsOutTheSmallestFittingBlockAndNeverOneFarTooLarge) {
    void* large = std::malloc(8u << 20);
    void* medium = std::malloc(100000);
    Give(large);
    Give(medium);
    Give(std::malloc(1000));  // too small to be worth keeping
    EXPECT_EQ(KeptByThisThread().blocks, 2u);

    std::size_t usable = 0;
    void* fresh = Take(20000, &usable);  // the medium block is more than twice as large
    EXPECT_NE(fresh, medium);
    EXPECT_NE(fresh, large);
    EXPECT_GE(usable, 20000u);
    std::free(fresh);
    EXPECT_EQ(Take(90000, &usable), medium);
    EXPECT_GE(usable, 100000u);
    std::free(medium);
    EXPECT_EQ(TakeKept(100000, &usable), nullptr) << "no kept block fits: none is made";
    EXPECT_EQ(Take(6u << 20, &usable), large);
    std::free(large);
    EXPECT_EQ(KeptByThisThread().blocks, 0u);
}

TEST_F(BlockRecycler, KeepsNoMoreThanTheLimitAndFreesTheOldestFirst) {
    const std::size_t quarter = Limit() / 4;
    std::vector<void*> blocks;
    for (int i = 0; i < 6; ++i) blocks.push_back(std::malloc(quarter));
    for (void* block : blocks) Give(block);
    const Kept kept = KeptByThisThread();
    EXPECT_LE(kept.bytes, Limit());
    EXPECT_GE(kept.blocks, 3u);
    std::size_t usable = 0;
    void* newest = Take(quarter, &usable);
    EXPECT_NE(newest, blocks[0]) << "the oldest block should have gone first";
    std::free(newest);

    Give(std::malloc(Limit() + 1));  // larger than any reply may be
    EXPECT_LE(KeptByThisThread().bytes, Limit());
}

TEST_F(BlockRecycler, IdleBlocksGoAndEveryThreadsBlocksGoWhenAsked) {
    SetIdleTime(50ms);
    Give(std::malloc(1u << 20));
    const auto until = std::chrono::steady_clock::now() + 5s;
    while (KeptInProcess().blocks > 0 && std::chrono::steady_clock::now() < until) std::this_thread::sleep_for(10ms);
    EXPECT_EQ(KeptInProcess().blocks, 0u) << "an idle block was kept";

    SetIdleTime(1h);
    bool given = false;
    bool release = false;
    std::mutex mutex;
    std::condition_variable changed;
    std::thread reader([&] {
        Give(std::malloc(1u << 20));
        std::unique_lock lock(mutex);
        given = true;
        changed.notify_all();
        changed.wait(lock, [&] { return release; });
    });
    {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return given; });
    }
    EXPECT_EQ(KeptInProcess().blocks, 1u);
    EXPECT_EQ(KeptByThisThread().blocks, 0u) << "blocks belong to the thread that gave them";
    ReleaseAll();
    EXPECT_EQ(KeptInProcess().blocks, 0u);
    {
        std::lock_guard lock(mutex);
        release = true;
    }
    changed.notify_all();
    reader.join();

    std::thread([] { Give(std::malloc(1u << 20)); }).join();
    EXPECT_EQ(KeptInProcess().blocks, 0u) << "a thread's blocks outlived it";
}

}  // namespace
}  // namespace zpv::com::recycler
