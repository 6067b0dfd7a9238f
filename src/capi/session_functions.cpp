// The C session: open, close, errors, locking and the instrument utility functions.
#include <cstdint>

#include "ZPV4870.h"
#include "capi/c_call.h"
#include "capi/copy_out.h"
#include "capi/driver_lookup.h"
#include "capi/object_runtime.h"
#include "capi/status_messages.h"
#include "platform/ivi/session_service.h"

using namespace zpv::capi;

namespace {

VARIANT_BOOL ToVariantBool(ViBoolean value) { return value ? VARIANT_TRUE : VARIANT_FALSE; }

// Registers the initialized driver with a new C session; on failure nothing is left behind.
ViStatus OpenSession(IIviDriver* driver, ViSession& vi) {
    if (const ViStatus status = IviSession_New(&vi); status != VI_SUCCESS) return status;
    const char* failure = nullptr;
    DWORD cookie = 0;
    if (IGlobalInterfaceTable* table = InterfaceTable(); !table)
        failure = kTableUnreachable;
    else if (FAILED(table->RegisterInterfaceInGlobal(driver, IID_IUnknown, &cookie)))
        failure = "Could not register IVI-COM driver pointer in global interface table.";
    ViStatus status = VI_SUCCESS;
    if (!failure) {
        status = IviSession_SetDataPtr(vi, reinterpret_cast<void*>(static_cast<std::uintptr_t>(cookie)));
        if (status != VI_SUCCESS) InterfaceTable()->RevokeInterfaceFromGlobal(cookie);
    }
    if (failure || status != VI_SUCCESS) {
        driver->Close();
        IviSession_Dispose(vi);
        vi = 0;
        return failure ? InterfaceTableFailure(0, failure) : status;
    }
    return VI_SUCCESS;
}

// The utility functions' pattern: one driver interface, one call, its text outputs copied out.
template <class I, class Call>
ViStatus WithInterface(ViSession vi, Call&& call) {
    CComPtr<I> itf;
    if (const ViStatus status = FindInterface(vi, itf); status != VI_SUCCESS) return status;
    return call(itf.Get());
}

}  // namespace

extern "C" {

ViStatus ZPV4870_InitWithOptions(ViConstRsrc resourceName, ViBoolean idQuery, ViBoolean reset,
                                 ViConstString optionString, ViSession* newVi) {
    if (!newVi) return ZPV4870_ERROR_NULL_POINTER;
    *newVi = 0;
    return CCall(0, [&]() -> ViStatus {
        CComPtr<IIviDriver> driver;
        if (FAILED(EnterObjectRuntime()) ||
            FAILED(CoCreateInstance(CLSID_ZPV4870, nullptr, CLSCTX_INPROC_SERVER, IID_IIviDriver,
                                    reinterpret_cast<void**>(&driver))))
            return kRuntimeFailure;
        CComBSTR resource, options;
        if (resourceName) resource.Attach(zpv::com::AllocBstr(std::string_view(resourceName)));
        if (optionString) options.Attach(zpv::com::AllocBstr(std::string_view(optionString)));
        const HRESULT initialized = driver->Initialize(resource, ToVariantBool(idQuery), ToVariantBool(reset), options);
        if (FAILED(initialized)) return ToStatus(0, initialized);
        ViSession vi = 0;
        if (const ViStatus status = OpenSession(driver, vi); status != VI_SUCCESS) return status;
        *newVi = vi;
        return ToStatus(vi, initialized);
    });
}

ViStatus ZPV4870_init(ViConstRsrc resourceName, ViBoolean idQuery, ViBoolean reset, ViSession* newVi) {
    return ZPV4870_InitWithOptions(resourceName, idQuery, reset, "", newVi);
}

ViStatus ZPV4870_close(ViSession vi) {
    return CCall(vi, [&]() -> ViStatus {
        CComPtr<IIviDriver> driver;
        if (const ViStatus status = FindInterface(vi, driver); status != VI_SUCCESS) return status;
        const ViStatus closed = ToStatus(vi, driver->Close());
        // The session lock stays held until the handle is gone: a call on another thread finds
        // either the driver or an invalid handle, never a handle whose cookie was revoked.
        if (const ViStatus locked = IviSession_Lock(vi, nullptr); locked != VI_SUCCESS)
            return closed != VI_SUCCESS ? closed : locked;
        void* data = nullptr;
        IviSession_GetDataPtr(vi, &data);
        ViStatus revoked = VI_SUCCESS;
        if (FAILED(InterfaceTable()->RevokeInterfaceFromGlobal(
                static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(data)))))
            revoked = InterfaceTableFailure(vi, "Could not remove IVI-COM driver pointer from global interface table.");
        const ViStatus disposed = IviSession_Dispose(vi);
        const ViStatus released = revoked != VI_SUCCESS ? revoked : disposed;
        return closed != VI_SUCCESS ? closed : released;
    });
}

ViStatus ZPV4870_GetError(ViSession vi, ViStatus* errorCode, ViInt32 bufferSize, ViChar description[]) {
    return IviSession_GetError(vi, bufferSize, errorCode, description);
}

ViStatus ZPV4870_ClearError(ViSession vi) { return IviSession_ClearError(vi); }

ViStatus ZPV4870_LockSession(ViSession vi, ViBoolean* callerHasLock) { return IviSession_Lock(vi, callerHasLock); }

ViStatus ZPV4870_UnlockSession(ViSession vi, ViBoolean* callerHasLock) {
    return IviSession_Unlock(vi, callerHasLock);
}

ViStatus ZPV4870_error_message(ViSession, ViStatus errorCode, ViChar errorMessage[256]) {
    return CCall(0, [&]() -> ViStatus {
        return zpv::ivi::CopyOutText(StatusMessage(errorCode), kMessageBufferSize, errorMessage);
    });
}

ViStatus ZPV4870_error_query(ViSession vi, ViInt32* errorCode, ViChar errorMessage[256]) {
    return CCall(vi, [&]() -> ViStatus {
        if (!errorCode) return NullParameter(vi, "ErrorCode");
        return WithInterface<IIviDriverUtility>(vi, [&](IIviDriverUtility* utility) {
            LONG code = 0;
            CComBSTR message;
            const HRESULT hr = utility->ErrorQuery(&code, &message);
            const ViStatus status = ToStatus(vi, hr);
            if (FAILED(hr)) return status;
            *errorCode = code;
            const ViStatus copied = CopyOut(message, kMessageBufferSize, errorMessage);
            return status != VI_SUCCESS ? status : copied;
        });
    });
}

ViStatus ZPV4870_self_test(ViSession vi, ViInt16* testResult, ViChar testMessage[256]) {
    return CCall(vi, [&]() -> ViStatus {
        if (!testResult) return NullParameter(vi, "TestResult");
        return WithInterface<IIviDriverUtility>(vi, [&](IIviDriverUtility* utility) {
            LONG result = 0;
            CComBSTR message;
            const HRESULT hr = utility->SelfTest(&result, &message);
            const ViStatus status = ToStatus(vi, hr);
            if (FAILED(hr)) return status;
            *testResult = static_cast<ViInt16>(result);
            const ViStatus copied = CopyOut(message, kMessageBufferSize, testMessage);
            return status != VI_SUCCESS ? status : copied;
        });
    });
}

ViStatus ZPV4870_revision_query(ViSession vi, ViChar driverRevision[256], ViChar firmwareRevision[256]) {
    return CCall(vi, [&]() -> ViStatus {
        return WithInterface<IIviDriverIdentity>(vi, [&](IIviDriverIdentity* identity) {
            CComBSTR revision;
            HRESULT hr = identity->get_Revision(&revision);
            ViStatus status = ToStatus(vi, hr);
            if (FAILED(hr)) return status;
            CopyOut(revision, kMessageBufferSize, driverRevision);  // its result is not reported
            CComBSTR firmware;
            hr = identity->get_InstrumentFirmwareRevision(&firmware);
            status = ToStatus(vi, hr);
            if (FAILED(hr)) return status;
            const ViStatus copied = CopyOut(firmware, kMessageBufferSize, firmwareRevision);
            return status != VI_SUCCESS ? status : copied;
        });
    });
}

}  // extern "C"
