// A small COM object for the runtime tests; it can run a hook when destroyed.
#pragma once

#include <functional>

#include "platform/com/com_object.h"

namespace zpv::com::test_support {

class ProbeBase : public CComObjectRootEx, public ISupportErrorInfo {
public:
    ~ProbeBase() {
        if (onDestroy) onDestroy();
    }
    void* CastTo(REFIID riid) {
        if (riid == IID_IUnknown) return static_cast<ISupportErrorInfo*>(this);
        return InterfaceIf<ISupportErrorInfo>(this, riid);
    }
    HRESULT InterfaceSupportsErrorInfo(REFIID) override { return S_OK; }
    std::function<void()> onDestroy;
};
using Probe = CComObject<ProbeBase>;

inline CComPtr<Probe> NewProbe() {
    Probe* p = nullptr;
    Probe::CreateInstance(&p);
    return CComPtr<Probe>(p);
}

inline ULONG RefCount(IUnknown* p) {
    p->AddRef();
    return p->Release();
}

// Keeps the calling thread in an apartment for the object's lifetime (whichever model it is
// already in, if any: a refused entry is not undone).
struct ApartmentScope {
    ApartmentScope() : entered(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {}
    ~ApartmentScope() {
        if (entered) CoUninitialize();
    }
    bool entered;
};

}  // namespace zpv::com::test_support
