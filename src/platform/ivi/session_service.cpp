#include "platform/ivi/session_service.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <thread>
#include <unordered_map>

#include "platform/ivi/text_buffer.h"

namespace {

struct LastError {
    ViStatus code = VI_SUCCESS;
    std::string description;
};

// A recursive lock that may be abandoned: a session disposed while another thread holds or waits
// for its lock must not leave a locked mutex to destroy.
class SessionLock {
public:
    // False when the session was disposed while waiting.
    bool Lock() {
        std::unique_lock guard(mutex_);
        const auto self = std::this_thread::get_id();
        released_.wait(guard, [&] { return disposed_ || depth_ == 0 || owner_ == self; });
        if (disposed_) return false;
        owner_ = self;
        ++depth_;
        return true;
    }
    // False when the calling thread does not hold the lock.
    bool Unlock() {
        std::lock_guard guard(mutex_);
        if (depth_ == 0 || owner_ != std::this_thread::get_id()) return false;
        if (--depth_ == 0) {
            owner_ = {};
            released_.notify_one();
        }
        return true;
    }
    void Dispose() {
        std::lock_guard guard(mutex_);
        disposed_ = true;
        released_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable released_;
    std::thread::id owner_;
    int depth_ = 0;
    bool disposed_ = false;
};

struct Session {
    SessionLock lock;
    std::mutex dataMutex;  // guards the fields below
    void* data = nullptr;
    LastError error;
};

class SessionTable {
public:
    ViSession Add(std::shared_ptr<Session> session) {
        std::lock_guard guard(mutex_);
        // Handles are not reused soon, so a stale handle finds nothing rather than a stranger.
        do {
            ++next_;
        } while (next_ == 0 || sessions_.count(next_));
        sessions_.emplace(next_, std::move(session));
        return next_;
    }
    std::shared_ptr<Session> Find(ViSession handle) {
        std::lock_guard guard(mutex_);
        auto it = sessions_.find(handle);
        return it == sessions_.end() ? nullptr : it->second;
    }
    std::shared_ptr<Session> Remove(ViSession handle) {
        std::lock_guard guard(mutex_);
        auto it = sessions_.find(handle);
        if (it == sessions_.end()) return nullptr;
        auto session = std::move(it->second);
        sessions_.erase(it);
        return session;
    }

private:
    std::mutex mutex_;
    std::unordered_map<ViSession, std::shared_ptr<Session>> sessions_;
    ViSession next_ = 0;
};

SessionTable& Sessions() {
    static auto* table = new SessionTable;  // outlives objects torn down at exit
    return *table;
}

thread_local LastError threadError;

constexpr ViStatus kVisaAllocationError = static_cast<ViStatus>(0xBFFF003C);  // VI_ERROR_ALLOC
constexpr ViStatus kVisaSystemError = static_cast<ViStatus>(0xBFFF0000);      // VI_ERROR_SYSTEM_ERROR

// C entry points let no exception out: out of memory and anything else become statuses.
template <class F>
ViStatus Guarded(F&& f) noexcept {
    try {
        return f();
    } catch (const std::bad_alloc&) {
        return kVisaAllocationError;
    } catch (...) {
        return kVisaSystemError;
    }
}

}  // namespace

ViStatus IviSession_New(ViSession* newSession) {
    return Guarded([&]() -> ViStatus {
        if (!newSession) return IVI_ERROR_INVALID_SESSION_HANDLE;
        *newSession = Sessions().Add(std::make_shared<Session>());
        return VI_SUCCESS;
    });
}

ViStatus IviSession_Dispose(ViSession session) {
    return Guarded([&]() -> ViStatus {
        auto record = Sessions().Remove(session);
        if (!record) return IVI_ERROR_INVALID_SESSION_HANDLE;
        record->lock.Dispose();
        return VI_SUCCESS;
    });
}

ViStatus IviSession_SetDataPtr(ViSession session, void* data) {
    return Guarded([&]() -> ViStatus {
        auto record = Sessions().Find(session);
        if (!record) return IVI_ERROR_INVALID_SESSION_HANDLE;
        std::lock_guard guard(record->dataMutex);
        record->data = data;
        return VI_SUCCESS;
    });
}

ViStatus IviSession_GetDataPtr(ViSession session, void** data) {
    return Guarded([&]() -> ViStatus {
        auto record = Sessions().Find(session);
        if (!record) return IVI_ERROR_INVALID_SESSION_HANDLE;
        std::lock_guard guard(record->dataMutex);
        if (data) *data = record->data;
        return VI_SUCCESS;
    });
}

ViStatus IviSession_Lock(ViSession session, ViBoolean* callerHasLock) {
    return Guarded([&]() -> ViStatus {
        auto record = Sessions().Find(session);
        if (!record) return IVI_ERROR_INVALID_SESSION_HANDLE;
        if (callerHasLock && *callerHasLock) return VI_SUCCESS;
        if (!record->lock.Lock()) return IVI_ERROR_INVALID_SESSION_HANDLE;
        if (callerHasLock) *callerHasLock = VI_TRUE;
        return VI_SUCCESS;
    });
}

ViStatus IviSession_Unlock(ViSession session, ViBoolean* callerHasLock) {
    return Guarded([&]() -> ViStatus {
        auto record = Sessions().Find(session);
        if (!record) return IVI_ERROR_INVALID_SESSION_HANDLE;
        if (callerHasLock && !*callerHasLock) return VI_SUCCESS;
        record->lock.Unlock();
        if (callerHasLock) *callerHasLock = VI_FALSE;
        return VI_SUCCESS;
    });
}

namespace {

// Runs f on the last-error record of the session (the thread's for session 0).
template <class F>
ViStatus WithError(ViSession session, F&& f) {
    if (session == 0) {
        f(threadError);
        return VI_SUCCESS;
    }
    auto record = Sessions().Find(session);
    if (!record) return IVI_ERROR_INVALID_SESSION_HANDLE;
    std::lock_guard guard(record->dataMutex);
    f(record->error);
    return VI_SUCCESS;
}

}  // namespace

ViStatus IviSession_SetError(ViSession session, ViStatus code, const char* description) {
    return Guarded([&]() -> ViStatus {
        return WithError(session, [&](LastError& e) {
            e.code = code;
            e.description = description ? description : "";
        });
    });
}

ViStatus IviSession_GetError(ViSession session, ViInt32 bufferSize, ViStatus* code, char* description) {
    return Guarded([&]() -> ViStatus {
        ViStatus result = VI_SUCCESS;
        ViStatus status = WithError(session, [&](LastError& e) {
            if (code) *code = e.code;
            result = zpv::ivi::CopyOutText(e.description, bufferSize, description);
            if (description && bufferSize != 0) e = LastError{};
        });
        return status != VI_SUCCESS ? status : result;
    });
}

ViStatus IviSession_ClearError(ViSession session) {
    return Guarded([&]() -> ViStatus {
        return WithError(session, [](LastError& e) { e = LastError{}; });
    });
}
