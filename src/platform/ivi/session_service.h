// The shared session service behind the C interface: session handles, one stored value per
// session, a recursive per-session lock, and the last error of each session (and, for session 0,
// of each thread). Thread-safe.
#pragma once

#include "platform/ivi/vi_types.h"

inline constexpr ViStatus IVI_ERROR_INVALID_SESSION_HANDLE = ZPV4870_ERROR_INVALID_SESSION_HANDLE;

// C linkage and exported: programs and other drivers share the one service of the process.
extern "C" {

ZPV4870_EXPORT ViStatus IviSession_New(ViSession* newSession);
ZPV4870_EXPORT ViStatus IviSession_Dispose(ViSession session);
ZPV4870_EXPORT ViStatus IviSession_SetDataPtr(ViSession session, void* data);
ZPV4870_EXPORT ViStatus IviSession_GetDataPtr(ViSession session, void** data);

// Recursive lock. With callerHasLock: Lock does nothing when it is already VI_TRUE and sets it
// after locking; Unlock does nothing when it is VI_FALSE and clears it after unlocking.
ZPV4870_EXPORT ViStatus IviSession_Lock(ViSession session, ViBoolean* callerHasLock);
ZPV4870_EXPORT ViStatus IviSession_Unlock(ViSession session, ViBoolean* callerHasLock);

// Session 0 keeps the calling thread's last error.
ZPV4870_EXPORT ViStatus IviSession_SetError(ViSession session, ViStatus code, const char* description);
// Copies the description with the buffer rule of the C interface (bufferSize 0 or no buffer:
// returns the size needed, including the NUL, and keeps the error); a delivered error is cleared.
ZPV4870_EXPORT ViStatus IviSession_GetError(ViSession session, ViInt32 bufferSize, ViStatus* code, char* description);
ZPV4870_EXPORT ViStatus IviSession_ClearError(ViSession session);

}  // extern "C"
