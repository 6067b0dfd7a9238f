// The instrument's lock as its LAN clients see it: one exclusive holder, or any number of holders
// of one shared lock (named by its key). The VXI-11 and HiSLIP servers may share one, so a lock
// taken through either protocol keeps the clients of both out. Waiting is bounded by a deadline
// and may be cancelled (device clear, a client leaving, the server stopping).
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <string_view>

namespace zpv::sim {

class InstrumentLock {
public:
    using Owner = std::uint64_t;
    using Clock = std::chrono::steady_clock;
    using Cancelled = std::function<bool()>;

    enum class Outcome { Granted, TimedOut, Cancelled };
    enum class Released { Exclusive, Shared, Nothing };

    Owner NewOwner();

    // An empty key asks for the exclusive lock. A holder of the shared lock may take the exclusive
    // one as well; asking again for what one holds succeeds at once.
    Outcome Acquire(Owner owner, std::string_view sharedKey, Clock::time_point deadline,
                    const Cancelled& cancelled = {});
    // Gives up the exclusive lock if held, else the shared one.
    Released Release(Owner owner);
    void ReleaseAll(Owner owner);

    // May the owner use the instrument now: nobody else holds the exclusive lock, and a shared
    // lock, if any, includes the owner.
    bool MayUse(Owner owner) const;
    Outcome WaitUsable(Owner owner, Clock::time_point deadline, const Cancelled& cancelled = {});

    bool ExclusiveHeld() const;
    std::size_t Holders() const;  // owners holding any lock

    // Wakes every waiter to look at its cancel condition again.
    void Wake();

private:
    bool Grantable(Owner owner, std::string_view sharedKey) const;
    bool Usable(Owner owner) const;
    Outcome Wait(std::unique_lock<std::mutex>& guard, Clock::time_point deadline, const Cancelled& cancelled,
                 const std::function<bool()>& ready);

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    Owner nextOwner_ = 1;
    Owner exclusive_ = 0;
    std::string sharedKey_;
    std::set<Owner> shared_;
};

}  // namespace zpv::sim
