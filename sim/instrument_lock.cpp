#include "zpv4870sim/instrument_lock.h"

#include <algorithm>

namespace zpv::sim {

namespace {

// Waiters also wake this often to look at conditions nobody signals (a peer hanging up).
constexpr auto kRecheck = std::chrono::milliseconds(50);

}  // namespace

InstrumentLock::Owner InstrumentLock::NewOwner() {
    std::lock_guard guard(mutex_);
    return nextOwner_++;
}

bool InstrumentLock::Grantable(Owner owner, std::string_view sharedKey) const {
    if (exclusive_ != 0 && exclusive_ != owner) return false;
    const bool sharer = shared_.count(owner) != 0;
    if (sharedKey.empty()) return shared_.empty() || (sharer && shared_.size() == 1);
    return shared_.empty() || sharedKey == sharedKey_;
}

bool InstrumentLock::Usable(Owner owner) const {
    if (exclusive_ != 0) return exclusive_ == owner;
    return shared_.empty() || shared_.count(owner) != 0;
}

InstrumentLock::Outcome InstrumentLock::Wait(std::unique_lock<std::mutex>& guard, Clock::time_point deadline,
                                             const Cancelled& cancelled, const std::function<bool()>& ready) {
    for (;;) {
        if (ready()) return Outcome::Granted;
        if (cancelled && cancelled()) return Outcome::Cancelled;
        const auto now = Clock::now();
        if (now >= deadline) return Outcome::TimedOut;
        changed_.wait_until(guard, std::min(deadline, now + kRecheck));
    }
}

InstrumentLock::Outcome InstrumentLock::Acquire(Owner owner, std::string_view sharedKey, Clock::time_point deadline,
                                                const Cancelled& cancelled) {
    std::unique_lock guard(mutex_);
    const Outcome outcome = Wait(guard, deadline, cancelled, [&] { return Grantable(owner, sharedKey); });
    if (outcome != Outcome::Granted) return outcome;
    if (sharedKey.empty()) {
        exclusive_ = owner;
    } else {
        if (shared_.empty()) sharedKey_ = std::string(sharedKey);
        shared_.insert(owner);
    }
    return outcome;
}

InstrumentLock::Released InstrumentLock::Release(Owner owner) {
    std::lock_guard guard(mutex_);
    Released released = Released::Nothing;
    if (exclusive_ == owner) {
        exclusive_ = 0;
        released = Released::Exclusive;
    } else if (shared_.erase(owner)) {
        released = Released::Shared;
    }
    if (shared_.empty()) sharedKey_.clear();
    changed_.notify_all();
    return released;
}

void InstrumentLock::ReleaseAll(Owner owner) {
    std::lock_guard guard(mutex_);
    if (exclusive_ == owner) exclusive_ = 0;
    shared_.erase(owner);
    if (shared_.empty()) sharedKey_.clear();
    changed_.notify_all();
}

bool InstrumentLock::MayUse(Owner owner) const {
    std::lock_guard guard(mutex_);
    return Usable(owner);
}

InstrumentLock::Outcome InstrumentLock::WaitUsable(Owner owner, Clock::time_point deadline,
                                                   const Cancelled& cancelled) {
    std::unique_lock guard(mutex_);
    return Wait(guard, deadline, cancelled, [&] { return Usable(owner); });
}

bool InstrumentLock::ExclusiveHeld() const {
    std::lock_guard guard(mutex_);
    return exclusive_ != 0;
}

std::size_t InstrumentLock::Holders() const {
    std::lock_guard guard(mutex_);
    return shared_.size() + (exclusive_ != 0 && shared_.count(exclusive_) == 0 ? 1 : 0);
}

void InstrumentLock::Wake() {
    std::lock_guard guard(mutex_);
    changed_.notify_all();
}

}  // namespace zpv::sim
