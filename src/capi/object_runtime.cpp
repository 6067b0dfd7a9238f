#include "capi/object_runtime.h"

namespace zpv::capi {

namespace {
// Set only when this interface's own entry succeeded; the apartment is never left again.
thread_local bool tEntered = false;
}  // namespace

HRESULT EnterObjectRuntime() {
    if (tEntered) return S_OK;
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (hr == RPC_E_CHANGED_MODE) return S_OK;  // the thread chose the other model itself
    if (hr == S_FALSE) {
        // Entered before by the thread's own code: balance ours, the thread keeps its entry.
        CoUninitialize();
        return S_OK;
    }
    if (FAILED(hr)) return hr;
    tEntered = true;
    return S_OK;
}

}  // namespace zpv::capi
