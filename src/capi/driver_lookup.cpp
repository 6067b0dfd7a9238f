#include "capi/driver_lookup.h"

#include <cstdint>

#include "capi/object_runtime.h"
#include "platform/ivi/session_service.h"

namespace zpv::capi {

IGlobalInterfaceTable* InterfaceTable() {
    // The table lives as long as the process, so one reference serves every call.
    static IGlobalInterfaceTable* const table = [] {
        IGlobalInterfaceTable* t = nullptr;
        if (FAILED(CoCreateInstance(CLSID_StdGlobalInterfaceTable, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IGlobalInterfaceTable, reinterpret_cast<void**>(&t))))
            return static_cast<IGlobalInterfaceTable*>(nullptr);
        return t;
    }();
    return table;
}

ViStatus InterfaceTableFailure(ViSession session, const char* text) {
    return SetError(session, ZPV4870_ERROR_CANNOT_RECOVER, text);
}

namespace {

ViStatus LookUp(ViSession session, REFIID riid, void** itf) {
    if (FAILED(EnterObjectRuntime())) return SetError(session, ZPV4870_ERROR_CANNOT_RECOVER, "Could not initialize COM.");
    void* data = nullptr;
    if (const ViStatus status = IviSession_GetDataPtr(session, &data); status != VI_SUCCESS) return status;
    IGlobalInterfaceTable* table = InterfaceTable();
    if (!table) return InterfaceTableFailure(session, kTableUnreachable);
    const auto cookie = static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(data));
    const HRESULT hr = table->GetInterfaceFromGlobal(cookie, riid, itf);
    if (hr == E_NOINTERFACE) return ToStatus(session, hr);
    if (FAILED(hr))
        return InterfaceTableFailure(session, "Could not retrieve pointer to IVI-COM driver from global interface table.");
    return VI_SUCCESS;
}

}  // namespace

ViStatus FindDriverInterface(ViSession session, REFIID riid, void** itf) {
    *itf = nullptr;
    if (session != 0) {
        if (const ViStatus status = IviSession_Lock(session, nullptr); status != VI_SUCCESS) return status;
    }
    // The lock guards the lookup only; the driver object serializes its own members.
    struct Unlock {
        ViSession session;
        ~Unlock() {
            if (session != 0) IviSession_Unlock(session, nullptr);
        }
    } unlock{session};
    return LookUp(session, riid, itf);
}

}  // namespace zpv::capi
