// Exclusive and shared locks on resources, kept per resource name for the sessions of this
// process. Transports whose peer enforces locks itself may keep using this for local bookkeeping.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/visa/status.h"

namespace zpv::visa {

class ResourceLocks {
public:
    using Owner = std::uint64_t;  // one per session, never 0

    static ResourceLocks& Instance();
    static Owner NewOwner();

    // Waits up to timeoutMs for the lock. Nested locks by the same owner count up.
    ViStatus Lock(const std::string& resource, Owner owner, ViUInt32 lockType, ViUInt32 timeoutMs,
                  std::string_view requestedKey, std::string* accessKey);
    // Drops one level, the exclusive lock first.
    ViStatus Unlock(const std::string& resource, Owner owner);
    void ReleaseAll(const std::string& resource, Owner owner);
    // False while another owner holds the exclusive lock, or a shared lock this owner is not part of.
    bool MayAccess(const std::string& resource, Owner owner) const;

private:
    struct State {
        Owner exclusiveOwner = 0;
        unsigned exclusiveDepth = 0;
        std::string sharedKey;
        std::unordered_map<Owner, unsigned> shared;  // owner -> nesting depth
    };

    static bool Grantable(const State& s, Owner owner, ViUInt32 lockType, std::string_view requestedKey);
    void DropIfUnused(const std::string& resource);

    mutable std::mutex mutex_;
    std::condition_variable released_;
    std::unordered_map<std::string, State> locks_;
};

}  // namespace zpv::visa
