// Apartment entry is bookkeeping only: there is no message pump or marshalling here, but callers
// still see the entry counting and model conflicts that COM would report.
#include "platform/com/apartment.h"

#include "zpv4870_runtime.h"

namespace {

struct ApartmentState {
    unsigned entries = 0;
    DWORD model = COINIT_MULTITHREADED;
};

thread_local ApartmentState tState;

}  // namespace

namespace zpv::com {

bool IsApartmentEntered() { return tState.entries > 0; }

}  // namespace zpv::com

HRESULT CoInitializeEx(void* pvReserved, DWORD dwCoInit) {
    if (pvReserved) return E_INVALIDARG;
    // Other flag bits are tuning hints with no meaning here.
    const DWORD model = dwCoInit & COINIT_APARTMENTTHREADED;
    if (tState.entries == 0) {
        tState.model = model;
        tState.entries = 1;
        return S_OK;
    }
    if (tState.model != model) return RPC_E_CHANGED_MODE;
    ++tState.entries;
    return S_FALSE;
}

void CoUninitialize() {
    if (tState.entries > 0) --tState.entries;
}
