// Per-thread error information: the object a failing call fills in and the thread slot that
// holds the last one published.
#include <mutex>
#include <new>
#include <optional>
#include <string>
#include <utility>

#include "platform/com/com_object.h"
#include "zpv4870_runtime.h"

namespace {

using zpv::com::CComObject;
using zpv::com::CComObjectRootEx;
using zpv::com::InterfaceIf;

class CErrorInfo : public CComObjectRootEx, public IErrorInfo, public ICreateErrorInfo {
public:
    void* CastTo(REFIID riid) {
        if (riid == IID_IUnknown) return static_cast<IErrorInfo*>(this);
        if (void* p = InterfaceIf<IErrorInfo>(this, riid)) return p;
        return InterfaceIf<ICreateErrorInfo>(this, riid);
    }

    // ICreateErrorInfo
    HRESULT SetGUID(REFGUID rguid) override {
        std::lock_guard guard(ObjectLock());
        guid_ = rguid;
        return S_OK;
    }
    HRESULT SetSource(LPOLESTR szSource) override { return Store(source_, szSource); }
    HRESULT SetDescription(LPOLESTR szDescription) override { return Store(description_, szDescription); }
    HRESULT SetHelpFile(LPOLESTR szHelpFile) override { return Store(helpFile_, szHelpFile); }
    HRESULT SetHelpContext(DWORD dwHelpContext) override {
        std::lock_guard guard(ObjectLock());
        helpContext_ = dwHelpContext;
        return S_OK;
    }

    // IErrorInfo
    HRESULT GetGUID(GUID* pGUID) override {
        if (!pGUID) return E_POINTER;
        std::lock_guard guard(ObjectLock());
        *pGUID = guid_;
        return S_OK;
    }
    HRESULT GetSource(BSTR* pBstrSource) override { return Fetch(source_, pBstrSource); }
    HRESULT GetDescription(BSTR* pBstrDescription) override { return Fetch(description_, pBstrDescription); }
    HRESULT GetHelpFile(BSTR* pBstrHelpFile) override { return Fetch(helpFile_, pBstrHelpFile); }
    HRESULT GetHelpContext(DWORD* pdwHelpContext) override {
        if (!pdwHelpContext) return E_POINTER;
        std::lock_guard guard(ObjectLock());
        *pdwHelpContext = helpContext_;
        return S_OK;
    }

private:
    // A null text means "not set", which the getter hands back as a null BSTR.
    HRESULT Store(std::optional<std::wstring>& field, const OLECHAR* text) {
        std::lock_guard guard(ObjectLock());
        try {
            if (text)
                field.emplace(text);
            else
                field.reset();
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
        return S_OK;
    }
    HRESULT Fetch(const std::optional<std::wstring>& field, BSTR* out) {
        if (!out) return E_POINTER;
        std::lock_guard guard(ObjectLock());
        *out = nullptr;
        if (!field) return S_OK;
        *out = SysAllocStringLen(field->data(), static_cast<UINT>(field->size()));
        return *out ? S_OK : E_OUTOFMEMORY;
    }

    GUID guid_ = GUID_NULL;
    std::optional<std::wstring> source_;
    std::optional<std::wstring> description_;
    std::optional<std::wstring> helpFile_;
    DWORD helpContext_ = 0;
};

// Holds one reference to the thread's current error information, dropped at thread exit.
struct ThreadErrorSlot {
    IErrorInfo* info = nullptr;
    ~ThreadErrorSlot() {
        if (IErrorInfo* p = std::exchange(info, nullptr)) p->Release();
    }
};

thread_local ThreadErrorSlot t_errorSlot;

}  // namespace

HRESULT CreateErrorInfo(ICreateErrorInfo** pperrinfo) {
    if (!pperrinfo) return E_POINTER;
    *pperrinfo = nullptr;
    CComObject<CErrorInfo>* object = nullptr;
    HRESULT hr = CComObject<CErrorInfo>::CreateInstance(&object);
    if (FAILED(hr)) return hr;
    object->AddRef();
    *pperrinfo = object;
    return S_OK;
}

HRESULT SetErrorInfo(ULONG dwReserved, IErrorInfo* perrinfo) {
    if (dwReserved != 0) return E_INVALIDARG;
    if (perrinfo) perrinfo->AddRef();
    // Swap before releasing: the old object's destruction may itself publish error information.
    if (IErrorInfo* previous = std::exchange(t_errorSlot.info, perrinfo)) previous->Release();
    return S_OK;
}

HRESULT GetErrorInfo(ULONG dwReserved, IErrorInfo** pperrinfo) {
    if (!pperrinfo) return E_POINTER;
    *pperrinfo = nullptr;
    if (dwReserved != 0) return E_INVALIDARG;
    *pperrinfo = std::exchange(t_errorSlot.info, nullptr);
    return *pperrinfo ? S_OK : S_FALSE;
}
