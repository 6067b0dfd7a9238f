// A small COM object for the runtime tests: answers for IUnknown and ISupportErrorInfo and can run
// a hook when it is destroyed.
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

// Enters an apartment on the calling thread for the object's lifetime.
class ApartmentScope {
public:
    explicit ApartmentScope(DWORD model = COINIT_MULTITHREADED) : hr_(CoInitializeEx(nullptr, model)) {}
    ~ApartmentScope() {
        if (SUCCEEDED(hr_)) CoUninitialize();
    }
    HRESULT Result() const { return hr_; }

private:
    HRESULT hr_;
};

}  // namespace zpv::com::test_support
