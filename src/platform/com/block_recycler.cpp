#include "platform/com/block_recycler.h"

#include <malloc.h>
#include <pthread.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <vector>

namespace zpv::com::recycler {

namespace {

using Clock = std::chrono::steady_clock;

// The default response limit of a session (64 MiB); sessions with a larger one raise it.
constexpr std::size_t kDefaultLimit = 64u << 20;
// A thread that alternates a few reply sizes keeps one block per size.
constexpr std::size_t kMostBlocks = 8;
constexpr std::chrono::milliseconds kDefaultIdle{2000};

std::atomic<std::size_t> limit{kDefaultLimit};
std::atomic<long long> idleMs{kDefaultIdle.count()};

struct KeptBlock {
    void* block;
    std::size_t usable;
    Clock::time_point since;
};

// A block given back while the thread ends, after its pool is gone, is simply freed.
enum class PoolState : unsigned char { NotYet, Alive, Gone };
thread_local PoolState poolState = PoolState::NotYet;

// One thread's kept blocks. Its own thread takes and gives; the sweeper and ReleaseAll free.
class Pool {
public:
    Pool();
    ~Pool();

    void* Take(std::size_t bytes, std::size_t* usable) {
        std::lock_guard lock(mutex_);
        auto best = blocks_.end();
        for (auto it = blocks_.begin(); it != blocks_.end(); ++it)
            if (it->usable >= bytes && it->usable / 2 <= bytes && (best == blocks_.end() || it->usable < best->usable))
                best = it;
        if (best == blocks_.end()) return nullptr;
        void* block = best->block;
        *usable = best->usable;
        bytes_ -= best->usable;
        blocks_.erase(best);
        return block;
    }

    // Keeps the block, freeing the oldest ones beyond the limits; false when it is too large.
    bool Keep(void* block, std::size_t usable) {
        const std::size_t most = limit.load(std::memory_order_relaxed);
        if (usable > most) return false;
        std::vector<void*> released;
        {
            std::lock_guard lock(mutex_);
            blocks_.push_back({block, usable, Clock::now()});
            bytes_ += usable;
            while (bytes_ > most || blocks_.size() > kMostBlocks) {
                released.push_back(blocks_.front().block);
                bytes_ -= blocks_.front().usable;
                blocks_.erase(blocks_.begin());
            }
        }
        for (void* old : released) std::free(old);
        return true;
    }

    // Frees the blocks kept since before `before` (all of them: Clock::time_point::max()).
    void Release(Clock::time_point before) {
        std::vector<void*> released;
        {
            std::lock_guard lock(mutex_);
            const auto stale = std::stable_partition(blocks_.begin(), blocks_.end(),
                                                     [&](const KeptBlock& b) { return b.since >= before; });
            for (auto it = stale; it != blocks_.end(); ++it) {
                released.push_back(it->block);
                bytes_ -= it->usable;
            }
            blocks_.erase(stale, blocks_.end());
        }
        for (void* old : released) std::free(old);
    }

    Kept Figures() {
        std::lock_guard lock(mutex_);
        return {blocks_.size(), bytes_};
    }

private:
    std::mutex mutex_;
    std::vector<KeptBlock> blocks_;  // oldest first
    std::size_t bytes_ = 0;
};

// Every thread's pool, for the sweeper and ReleaseAll. Never destroyed: threads may still end
// while the process exits.
struct Registry {
    std::mutex mutex;
    std::vector<Pool*> pools;
};
Registry& Pools() {
    static Registry* registry = new Registry;
    return *registry;
}

template <class Each>
void ForEachPool(Each each) {
    Registry& registry = Pools();
    std::lock_guard lock(registry.mutex);
    for (Pool* pool : registry.pools) each(*pool);
}

Pool::Pool() {
    poolState = PoolState::Alive;
    Registry& registry = Pools();
    std::lock_guard lock(registry.mutex);
    registry.pools.push_back(this);
}

Pool::~Pool() {
    {
        Registry& registry = Pools();
        std::lock_guard lock(registry.mutex);
        registry.pools.erase(std::find(registry.pools.begin(), registry.pools.end(), this));
    }
    Release(Clock::time_point::max());
    poolState = PoolState::Gone;
}

Pool* ThisThreadsPool() {
    if (poolState == PoolState::Gone) return nullptr;
    thread_local Pool pool;
    return &pool;
}

// Frees idle blocks once a second, from the first kept block until the library unloads. A forked
// child has no sweeper; its blocks still go at ReleaseAll and within the limit.
class Sweeper {
public:
    void EnsureRunning() {
        std::lock_guard lock(mutex_);
        if (started_) return;
        started_ = pthread_create(&thread_, nullptr, &Sweeper::Run, this) == 0;
        owner_ = getpid();
    }
    ~Sweeper() {
        {
            std::lock_guard lock(mutex_);
            if (!started_ || owner_ != getpid()) return;
            stopping_ = true;
        }
        wake_.notify_all();
        pthread_join(thread_, nullptr);
    }

private:
    static void* Run(void* self) {
        static_cast<Sweeper*>(self)->Loop();
        return nullptr;
    }
    void Loop() {
        std::unique_lock lock(mutex_);
        while (!stopping_) {
            const auto idle = IdleTime();
            wake_.wait_for(lock, std::clamp(idle / 2, std::chrono::milliseconds(10), std::chrono::milliseconds(1000)));
            if (stopping_) break;
            lock.unlock();
            const auto before = Clock::now() - idle;
            ForEachPool([&](Pool& pool) { pool.Release(before); });
            lock.lock();
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    pthread_t thread_{};
    pid_t owner_ = 0;
    bool started_ = false;
    bool stopping_ = false;
};

Sweeper sweeper;

}  // namespace

void* TakeKept(std::size_t bytes, std::size_t* usable) {
    *usable = 0;
    Pool* pool = bytes < kSmallestKept / 2 ? nullptr : ThisThreadsPool();
    return pool ? pool->Take(bytes, usable) : nullptr;
}

void* Take(std::size_t bytes, std::size_t* usable) {
    if (void* block = TakeKept(bytes, usable)) return block;
    void* block = std::malloc(bytes ? bytes : 1);
    *usable = block ? malloc_usable_size(block) : 0;
    return block;
}

void Give(void* block) {
    if (!block) return;
    const std::size_t usable = malloc_usable_size(block);
    Pool* pool = usable < kSmallestKept ? nullptr : ThisThreadsPool();
    if (!pool || !pool->Keep(block, usable)) {
        std::free(block);
        return;
    }
    sweeper.EnsureRunning();
}

void ReleaseAll() {
    ForEachPool([](Pool& pool) { pool.Release(Clock::time_point::max()); });
}

std::size_t Limit() { return limit.load(std::memory_order_relaxed); }

void RaiseLimit(std::size_t bytes) {
    std::size_t current = limit.load(std::memory_order_relaxed);
    while (bytes > current && !limit.compare_exchange_weak(current, bytes)) {
    }
}

std::chrono::milliseconds IdleTime() { return std::chrono::milliseconds(idleMs.load(std::memory_order_relaxed)); }

void SetIdleTime(std::chrono::milliseconds idle) { idleMs.store(idle.count(), std::memory_order_relaxed); }

Kept KeptByThisThread() {
    Pool* pool = ThisThreadsPool();
    return pool ? pool->Figures() : Kept{};
}

Kept KeptInProcess() {
    Kept all;
    ForEachPool([&](Pool& pool) {
        const Kept one = pool.Figures();
        all.blocks += one.blocks;
        all.bytes += one.bytes;
    });
    return all;
}

}  // namespace zpv::com::recycler
