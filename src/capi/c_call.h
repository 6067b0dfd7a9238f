// The one door of every exported C function: nothing thrown inside reaches a C caller.
#pragma once

#include <new>

#include "capi/status_translation.h"

namespace zpv::capi {

// What the C functions return when the object runtime itself fails; its own code is not passed on.
inline constexpr ViStatus kRuntimeFailure = static_cast<ViStatus>(0x80000000);

template <class Body>
ViStatus CCall(ViSession session, Body&& body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return SetError(session, ZPV4870_ERROR_OUT_OF_MEMORY, "Could not allocate necessary memory.");
    } catch (...) {
        return SetError(session, ZPV4870_ERROR_CANNOT_RECOVER, "Failure cannot recover.");
    }
}

}  // namespace zpv::capi
