// The frame around every member of the object interface: it serializes calls on the object,
// records the call in progress, refuses calls before Initialize where the member needs a session,
// clears stale error information, checks out-pointers and clears return values, then runs the
// member. It is the one place where a failure turns into the caller's status.
#pragma once

#include <exception>
#include <mutex>
#include <new>
#include <string>
#include <type_traits>
#include <utility>

#include "context/call_context.h"
#include "context/call_context_stack.h"
#include "errors/error_reporter.h"
#include "trace/call_tracer.h"
#include "zpv4870_runtime.h"

namespace zpv::driver {

// Whether the member needs an initialized session (most do; identity constants and the
// sub-interface getters do not).
enum class Gate { Always, Initialized };

// An out-pointer parameter: checked for null, and for a return value cleared before the member runs.
template <class T>
struct OutParam {
    const char* name;
    T* ptr;
    bool isReturnValue;
};
template <class T>
OutParam<T> RetVal(T* ptr, const char* name = "val") {
    return {name, ptr, true};
}
template <class T>
OutParam<T> InOut(T* ptr, const char* name) {
    return {name, ptr, false};
}

namespace frame_detail {

template <class T>
void Clear(T* p) {
    if constexpr (std::is_pointer_v<T>)
        *p = nullptr;
    else if constexpr (std::is_same_v<T, VARIANT>)
        VariantInit(p);
    else
        *p = T{};
}

}  // namespace frame_detail

namespace frame_detail {

// The last line of defence: an exception from a member (out of memory in a container, a bug)
// becomes a status with a description; nothing crosses the object interface as an exception.
template <class Target>
HRESULT StatusOfException(Target& target, std::exception_ptr failure) noexcept {
    HRESULT status = E_UNEXPECTED;
    std::string what = "an unknown exception";
    try {
        std::rethrow_exception(failure);
    } catch (const std::bad_alloc&) {
        status = E_OUTOFMEMORY;
    } catch (const std::exception& e) {
        what = e.what();
    } catch (...) {
    }
    try {
        if (status == E_OUTOFMEMORY)
            target.Reporter().ReportErrorText(status, "ZPV4870: Could not allocate necessary memory.");
        else
            target.Reporter().ReportErrorText(status, "ZPV4870: Unexpected failure inside the driver: " + what + ".");
    } catch (...) {
        // No memory even for the description: the status alone has to do.
    }
    return status;
}

}  // namespace frame_detail

// Target requirements: ObjectLock() (recursive mutex), CallContexts(), IsInitialized(),
// Reporter() (IErrorReporter&), Tracer() (the call recorder, null while tracing is off).
template <class Target, class Body, class... Outs>
HRESULT RunFrame(Target& target, const MethodInfo& info, Gate gate, Body&& body, OutParam<Outs>... outs) noexcept {
    try {
        std::lock_guard lock(target.ObjectLock());
        CallContextScope context(target.CallContexts(), &info);
        errors::IErrorReporter& reporter = target.Reporter();

        if (gate == Gate::Initialized && !target.IsInitialized())
            return reporter.Report<errors::MessageId::NotInitialized>();
        SetErrorInfo(0, nullptr);

        HRESULT status = S_OK;
        [[maybe_unused]] auto check = [&](auto& out) {
            if (out.ptr) return true;
            status = reporter.Report<errors::MessageId::NullPointer>({}, info.methodName, out.name);
            return false;
        };
        if (!(check(outs) && ...)) return status;
        [[maybe_unused]] auto clear = [](auto& out) {
            if (out.isReturnValue) frame_detail::Clear(out.ptr);
        };
        (clear(outs), ...);

        trace::ICallTracer* tracer = target.Tracer();
        if (!tracer) return std::forward<Body>(body)();
        status = tracer->BeginCall(info);
        if (SUCCEEDED(status)) status = std::forward<Body>(body)();
        tracer->EndCall(info, status);
        return status;
    } catch (...) {
        return frame_detail::StatusOfException(target, std::current_exception());
    }
}

}  // namespace zpv::driver

// Builds the member's method info once (thread-safe) and runs body inside the frame of *this.
#define ZPV_FRAME(Interface, Method, gate, body, ...)                                         \
    do {                                                                                        \
        static const ::zpv::driver::MethodInfo zpvMethodInfo(IID_##Interface, #Interface, #Method); \
        return ::zpv::driver::RunFrame(*this, zpvMethodInfo, gate, body __VA_OPT__(, ) __VA_ARGS__); \
    } while (0)
