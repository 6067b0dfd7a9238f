// How a C call finds the driver object of its session: the session holds the cookie under which
// the object is registered in the process-wide interface table, so any thread can fetch it.
#pragma once

#include "ZPV4870.h"
#include "capi/status_translation.h"

namespace zpv::capi {

// The process's interface table; null when it cannot be reached.
IGlobalInterfaceTable* InterfaceTable();

// Records the interface-table failure text with the unrecoverable-failure status.
ViStatus InterfaceTableFailure(ViSession session, const char* text);

inline constexpr const char* kTableUnreachable = "Could not access global interface table.";

// Interface riid of the session's driver object, under the session lock for the lookup only.
ViStatus FindDriverInterface(ViSession session, REFIID riid, void** itf);

template <class I>
ViStatus FindInterface(ViSession session, CComPtr<I>& itf) {
    return FindDriverInterface(session, ZPV_IID_OF(I), reinterpret_cast<void**>(&itf));
}

}  // namespace zpv::capi
