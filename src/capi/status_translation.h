// From object-interface HRESULTs to the C interface's statuses, with the error text carried over.
#pragma once

#include <cstdint>

#include "platform/ivi/vi_types.h"
#include "zpv4870_runtime.h"

namespace zpv::capi {

// The C status of an HRESULT; codes without a translation pass through unchanged.
ViStatus TranslateStatus(HRESULT hr);

// The object interface's status a C status comes from (the lowest, where several translate to
// it); 0 for one no object status translates to. The generators of the catalog and the C++ face
// name statuses with it.
std::uint32_t ObjectStatusOf(ViStatus status);

// TranslateStatus, and when the thread holds error information from the object interface, its
// description recorded on the session (session 0: the thread's last error).
ViStatus ToStatus(ViSession session, HRESULT hr);

// Records text with status on the session (on the thread's last error when the handle is not
// valid) and returns status.
ViStatus SetError(ViSession session, ViStatus status, const char* text);

// Records "Parameter <name> is VI_NULL." with the null-pointer status and returns it.
ViStatus NullParameter(ViSession session, const char* name);

}  // namespace zpv::capi
