// The process-wide interface table. Every apartment here is free-threaded, so an entry is simply
// a counted reference that any thread may query; no marshalling is involved.
#include "platform/com/global_interface_table.h"

#include <mutex>
#include <new>
#include <unordered_map>

namespace {

class GlobalInterfaceTable final : public IGlobalInterfaceTable {
public:
    HRESULT QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IGlobalInterfaceTable) {
            *ppv = static_cast<IGlobalInterfaceTable*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    // The table lives for the process, so counting references would change nothing.
    ULONG AddRef() override { return 2; }
    ULONG Release() override { return 1; }

    HRESULT RegisterInterfaceInGlobal(IUnknown* pUnk, REFIID riid, DWORD* pdwCookie) override {
        if (!pdwCookie) return E_INVALIDARG;
        *pdwCookie = 0;
        if (!pUnk) return E_INVALIDARG;
        void* itf = nullptr;
        if (const HRESULT hr = pUnk->QueryInterface(riid, &itf); FAILED(hr)) return hr;
        auto* held = static_cast<IUnknown*>(itf);
        try {
            std::lock_guard lock(mutex_);
            // Skip 0 and, after the counter wraps, cookies still in use.
            do {
                if (++lastCookie_ == 0) ++lastCookie_;
            } while (entries_.contains(lastCookie_));
            entries_.emplace(lastCookie_, held);
            *pdwCookie = lastCookie_;
        } catch (const std::bad_alloc&) {
            held->Release();
            return E_OUTOFMEMORY;
        }
        return S_OK;
    }

    HRESULT RevokeInterfaceFromGlobal(DWORD dwCookie) override {
        IUnknown* held = nullptr;
        {
            std::lock_guard lock(mutex_);
            const auto it = entries_.find(dwCookie);
            if (it == entries_.end()) return E_INVALIDARG;
            held = it->second;
            entries_.erase(it);
        }
        // Outside the lock: a final Release may revoke other entries of its own.
        held->Release();
        return S_OK;
    }

    HRESULT GetInterfaceFromGlobal(DWORD dwCookie, REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        IUnknown* held = nullptr;
        {
            std::lock_guard lock(mutex_);
            const auto it = entries_.find(dwCookie);
            if (it == entries_.end()) return E_INVALIDARG;
            held = it->second;
            held->AddRef();  // keeps it alive should another thread revoke it meanwhile
        }
        const HRESULT hr = held->QueryInterface(riid, ppv);
        held->Release();
        return hr;
    }

private:
    std::mutex mutex_;
    std::unordered_map<DWORD, IUnknown*> entries_;
    DWORD lastCookie_ = 0;
};

GlobalInterfaceTable& Table() {
    // Never destroyed: entries may still be revoked by other objects' teardown at exit.
    static auto* table = new GlobalInterfaceTable;
    return *table;
}

class TableClassObject final : public IClassFactory {
public:
    HRESULT QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *ppv = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return 2; }
    ULONG Release() override { return 1; }

    HRESULT CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (pUnkOuter) return CLASS_E_NOAGGREGATION;
        return Table().QueryInterface(riid, ppv);
    }
    HRESULT LockServer(bool) override { return S_OK; }
};

}  // namespace

namespace zpv::com {

HRESULT GetGlobalInterfaceTableClassObject(REFIID riid, void** ppv) {
    static TableClassObject classObject;
    if (!ppv) return E_POINTER;
    return classObject.QueryInterface(riid, ppv);
}

}  // namespace zpv::com
