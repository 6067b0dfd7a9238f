// The per-object stack of calls in progress: nested calls on one thread (Initialize calling
// Reset) push a second entry, so error information names the innermost interface.
#pragma once

#include <mutex>
#include <utility>
#include <vector>

#include "context/call_context.h"

namespace zpv::driver {

class CallContextStack {
public:
    CallContextStack() { entries_.reserve(8); }

    void Push(const MethodInfo* info) {
        std::lock_guard lock(mutex_);
        entries_.push_back(info);
    }
    void Pop() {
        std::lock_guard lock(mutex_);
        if (!entries_.empty()) entries_.pop_back();
    }
    const MethodInfo* Top() const {
        std::lock_guard lock(mutex_);
        return entries_.empty() ? nullptr : entries_.back();
    }

private:
    mutable std::mutex mutex_;
    std::vector<const MethodInfo*> entries_;
};

// The innermost call in progress on this thread, whichever object it runs on: a failure inside an
// output phase member names the phase's interface even though the driver reports it.
inline thread_local const MethodInfo* tInnermostCall = nullptr;

// Pushes for the lifetime of the scope.
class CallContextScope {
public:
    CallContextScope(CallContextStack& stack, const MethodInfo* info)
        : stack_(stack), outer_(std::exchange(tInnermostCall, info)) {
        stack_.Push(info);
    }
    ~CallContextScope() {
        stack_.Pop();
        tInnermostCall = outer_;
    }
    CallContextScope(const CallContextScope&) = delete;
    CallContextScope& operator=(const CallContextScope&) = delete;

private:
    CallContextStack& stack_;
    const MethodInfo* outer_;
};

}  // namespace zpv::driver
