#include "platform/visa/resource_locks.h"

#include <atomic>

#include "platform/visa/deadline.h"

namespace zpv::visa {

ResourceLocks& ResourceLocks::Instance() {
    static ResourceLocks locks;
    return locks;
}

ResourceLocks::Owner ResourceLocks::NewOwner() {
    static std::atomic<Owner> next{1};
    return next.fetch_add(1);
}

bool ResourceLocks::Grantable(const State& s, Owner owner, ViUInt32 lockType, std::string_view requestedKey) {
    if (s.exclusiveOwner != 0 && s.exclusiveOwner != owner) return false;
    bool sharer = s.shared.count(owner) != 0;
    if (lockType == VI_EXCLUSIVE_LOCK) return s.shared.empty() || sharer;
    if (s.shared.empty()) return true;
    // Joining a shared lock takes its key; a holder nesting may leave the key out.
    return requestedKey == s.sharedKey || (sharer && requestedKey.empty());
}

ViStatus ResourceLocks::Lock(const std::string& resource, Owner owner, ViUInt32 lockType, ViUInt32 timeoutMs,
                             std::string_view requestedKey, std::string* accessKey) {
    if (lockType != VI_EXCLUSIVE_LOCK && lockType != VI_SHARED_LOCK) return VI_ERROR_INV_LOCK_TYPE;
    std::unique_lock<std::mutex> guard(mutex_);
    auto ready = [&] { return Grantable(locks_[resource], owner, lockType, requestedKey); };
    Deadline deadline = Deadline::After(timeoutMs);
    if (deadline.Infinite()) {
        released_.wait(guard, ready);
    } else if (!released_.wait_until(guard, deadline.End(), ready)) {
        DropIfUnused(resource);
        return VI_ERROR_RSRC_LOCKED;
    }

    State& s = locks_[resource];
    if (lockType == VI_EXCLUSIVE_LOCK) {
        bool nested = s.exclusiveOwner == owner;
        s.exclusiveOwner = owner;
        ++s.exclusiveDepth;
        if (accessKey) accessKey->clear();
        return nested ? VI_SUCCESS_NESTED_EXCLUSIVE : VI_SUCCESS;
    }
    if (s.shared.empty()) {
        static std::atomic<unsigned> keys{1};
        s.sharedKey =
            requestedKey.empty() ? "zpv-shared-" + std::to_string(keys.fetch_add(1)) : std::string(requestedKey);
    }
    bool nested = s.shared[owner]++ > 0;
    if (accessKey) *accessKey = s.sharedKey;
    return nested ? VI_SUCCESS_NESTED_SHARED : VI_SUCCESS;
}

ViStatus ResourceLocks::Unlock(const std::string& resource, Owner owner) {
    std::lock_guard<std::mutex> guard(mutex_);
    auto it = locks_.find(resource);
    if (it == locks_.end()) return VI_ERROR_SESN_NLOCKED;
    State& s = it->second;
    ViStatus status = VI_SUCCESS;
    if (s.exclusiveOwner == owner) {
        if (--s.exclusiveDepth == 0) s.exclusiveOwner = 0;
    } else if (auto sharer = s.shared.find(owner); sharer != s.shared.end()) {
        if (--sharer->second == 0) s.shared.erase(sharer);
        if (s.shared.empty()) s.sharedKey.clear();
    } else {
        return VI_ERROR_SESN_NLOCKED;
    }
    if (s.exclusiveOwner == owner)
        status = VI_SUCCESS_NESTED_EXCLUSIVE;
    else if (s.shared.count(owner))
        status = VI_SUCCESS_NESTED_SHARED;
    DropIfUnused(resource);
    released_.notify_all();
    return status;
}

void ResourceLocks::ReleaseAll(const std::string& resource, Owner owner) {
    std::lock_guard<std::mutex> guard(mutex_);
    auto it = locks_.find(resource);
    if (it == locks_.end()) return;
    State& s = it->second;
    if (s.exclusiveOwner == owner) {
        s.exclusiveOwner = 0;
        s.exclusiveDepth = 0;
    }
    s.shared.erase(owner);
    if (s.shared.empty()) s.sharedKey.clear();
    DropIfUnused(resource);
    released_.notify_all();
}

bool ResourceLocks::MayAccess(const std::string& resource, Owner owner) const {
    std::lock_guard<std::mutex> guard(mutex_);
    auto it = locks_.find(resource);
    if (it == locks_.end()) return true;
    const State& s = it->second;
    if (s.exclusiveOwner != 0) return s.exclusiveOwner == owner;
    return s.shared.empty() || s.shared.count(owner) != 0;
}

void ResourceLocks::DropIfUnused(const std::string& resource) {
    auto it = locks_.find(resource);
    if (it != locks_.end() && it->second.exclusiveOwner == 0 && it->second.shared.empty()) locks_.erase(it);
}

}  // namespace zpv::visa
