// The one body of every C function wrapper: check the output pointers, find the member's object
// (the driver's interface, or the phases the channel name selects), call, map the status, and
// hand the outputs to the caller.
#pragma once

#include <type_traits>
#include <vector>

#include "capi/attribute_access.h"
#include "capi/c_call.h"
#include "capi/driver_lookup.h"
#include "capi/wrapper_arguments.h"

namespace zpv::capi {

enum class Scope { Session, AllPhases, FirstPhase };

template <class I, Scope S, class Member, class... Args>
ViStatus Wrap(ViSession vi, ViConstString channel, Member member, Args&&... args) {
    return CCall(vi, [&]() -> ViStatus {
        ViStatus status = VI_SUCCESS;
        // Absent output pointers are reported in parameter order, before anything is touched.
        ((status = status != VI_SUCCESS ? status : args.CheckPresent(vi)), ...);
        if (status != VI_SUCCESS) return status;

        std::vector<CComPtr<I>> targets;
        if constexpr (S == Scope::Session) {
            targets.emplace_back();
            status = FindInterface(vi, targets.front());
        } else {
            status = SelectPhases(vi, channel, S == Scope::AllPhases, targets);
        }
        if (status != VI_SUCCESS) return status;

        // Every phase in selector order; the first that does not succeed ends the loop (changes
        // made on the phases before it stay).
        for (const CComPtr<I>& target : targets) {
            const HRESULT hr = (static_cast<I*>(target.Get())->*member)(args...);
            status = ToStatus(vi, hr);
            if (FAILED(hr)) return status;
            if (status != VI_SUCCESS) break;
        }
        ViStatus delivered = VI_SUCCESS;
        ((delivered = delivered != VI_SUCCESS ? delivered : args.Commit(vi)), ...);
        if constexpr ((std::is_same_v<std::decay_t<Args>, TextOut> || ...)) return TextResult(status, delivered);
        return status != VI_SUCCESS ? status : delivered;
    });
}

}  // namespace zpv::capi
