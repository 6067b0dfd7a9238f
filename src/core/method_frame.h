// The frame around every member of the object interface: it serializes calls on the object,
// records the call in progress, refuses calls before Initialize where the member needs a session,
// clears stale error information, checks out-pointers and clears return values, then runs the
// member. It is the one place where a failure turns into the caller's status.
#pragma once

#include <array>
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
#include "trace/value_rendering.h"
#include "zpv4870_runtime.h"
#include "platform/text/sentence.h"

namespace zpv::driver {

// Whether the member needs an initialized session (most do; identity constants and the
// sub-interface getters do not).
enum class Gate { Always, Initialized };

// A parameter as the frame sees it: checked for null when it is a pointer the member needs,
// cleared before the member runs when it is a return value, and handed to the trace.
template <class T>
struct FrameParam {
    const char* name;
    T* ptr;  // the parameter's value (In) or the pointee of an out-pointer
    bool checkNull;
    bool isReturnValue;
    trace::Direction direction;
};
// A return value ("val" of a getter): must not be null, cleared, traced after the call.
template <class T>
FrameParam<T> RetVal(T* ptr, const char* name = "val") {
    return {name, ptr, true, true, trace::Direction::Out};
}
// An in-out pointer: must not be null, keeps its content, traced before and after.
template <class T>
FrameParam<T> InOut(T* ptr, const char* name) {
    return {name, ptr, true, false, trace::Direction::InOut};
}
// An input passed by pointer that may not be null (an array to send).
template <class T>
FrameParam<T> Required(T* ptr, const char* name) {
    return {name, ptr, true, false, trace::Direction::In};
}
// An input passed by value.
template <class T>
FrameParam<T> In(const T& value, const char* name) {
    return {name, const_cast<T*>(&value), false, false, trace::Direction::In};
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
            target.Reporter().ReportErrorText(status, "ZPV4870: Unexpected failure inside the driver: " + text::Sentence(what));
    } catch (...) {
        // No memory even for the description: the status alone has to do.
    }
    return status;
}

}  // namespace frame_detail

// Target requirements: ObjectLock() (recursive mutex), CallContexts(), IsInitialized(),
// Reporter() (IErrorReporter&), Tracer() (the call recorder, null while tracing is off).
template <class Target, class Body, class... Params>
HRESULT RunFrame(Target& target, const MethodInfo& info, Gate gate, Body&& body, FrameParam<Params>... params) noexcept {
    try {
        std::lock_guard lock(target.ObjectLock());
        CallContextScope context(target.CallContexts(), &info);
        errors::IErrorReporter& reporter = target.Reporter();

        if (gate == Gate::Initialized && !target.IsInitialized())
            return reporter.Report<errors::MessageId::NotInitialized>();
        SetErrorInfo(0, nullptr);

        HRESULT status = S_OK;
        [[maybe_unused]] auto check = [&](auto& p) {
            if (!p.checkNull || p.ptr) return true;
            status = reporter.Report<errors::MessageId::NullPointer>({}, info.methodName, p.name);
            return false;
        };
        if (!(check(params) && ...)) return status;
        [[maybe_unused]] auto clear = [](auto& p) {
            if (p.isReturnValue) frame_detail::Clear(p.ptr);
        };
        (clear(params), ...);

        trace::ICallTracer* tracer = target.Tracer();
        trace::CallRecord call;
        if (!tracer) {
            if (!info.opensTrace) return std::forward<Body>(body)();
            // The call that opens the trace file is its first record, from the time it started.
            call.start = trace::CallClock();
            call.startTime = trace::CallStartTime();
            status = std::forward<Body>(body)();
            if (!(tracer = target.Tracer())) return status;
        }
        // Only a traced call builds its parameter records: nothing is rendered or copied here.
        const std::array<trace::ParameterRecord, sizeof...(Params)> records{
            trace::ParameterRecord{params.name, params.direction, params.ptr, &trace::RenderValue<Params>}...};
        if (call.start == 0) {
            status = tracer->BeginCall(info, records, call);
            if (SUCCEEDED(status)) status = std::forward<Body>(body)();
        } else {
            tracer->BeginCall(info, records, call);
        }
        const HRESULT written = tracer->EndCall(info, status, records, call);
        return SUCCEEDED(status) && FAILED(written) ? written : status;
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
