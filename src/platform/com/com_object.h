// Building blocks for objects that implement COM interfaces: reference counting, the object's
// recursive lock and QueryInterface by table.
#pragma once

#include <atomic>
#include <mutex>
#include <new>

#include "zpv4870_runtime.h"

namespace zpv::com {

// Reference count and the object's own recursive lock. Classes derive from this and list their
// interfaces in CastTo(riid), which returns the interface pointer or null.
class CComObjectRootEx {
public:
    void Lock() { lock_.lock(); }
    void Unlock() { lock_.unlock(); }
    std::recursive_mutex& ObjectLock() { return lock_; }

    // Called once right after construction; a failure destroys the new object.
    HRESULT FinalConstruct() { return S_OK; }
    // Called once before destruction.
    void FinalRelease() {}

protected:
    ULONG InternalAddRef() { return ++refs_; }
    ULONG InternalRelease() { return --refs_; }

private:
    std::atomic<ULONG> refs_{0};
    std::recursive_mutex lock_;
};

// Helper for CastTo implementations: the Interface part of self when riid names it.
template <class Interface, class T>
void* InterfaceIf(T* self, REFIID riid) {
    return riid == ZPV_IID_OF(Interface) ? static_cast<void*>(static_cast<Interface*>(self)) : nullptr;
}

// The creatable, reference-counted form of Base (Base derives from CComObjectRootEx and provides
// void* CastTo(REFIID)). The IUnknown members of every interface of Base land here.
template <class Base>
class CComObject final : public Base {
public:
    template <class... Args>
    explicit CComObject(Args&&... args) : Base(std::forward<Args>(args)...) {}

    // New object with a reference count of zero, FinalConstruct already run.
    template <class... Args>
    static HRESULT CreateInstance(CComObject** pp, Args&&... args) {
        if (!pp) return E_POINTER;
        *pp = nullptr;
        auto* p = new (std::nothrow) CComObject(std::forward<Args>(args)...);
        if (!p) return E_OUTOFMEMORY;
        p->InternalAddRef();  // keep alive while FinalConstruct hands out references
        HRESULT hr = p->FinalConstruct();
        p->InternalRelease();
        if (FAILED(hr)) {
            delete p;
            return hr;
        }
        *pp = p;
        return S_OK;
    }

    ~CComObject() { this->FinalRelease(); }

    ULONG AddRef() override { return this->InternalAddRef(); }
    ULONG Release() override {
        ULONG n = this->InternalRelease();
        if (n == 0) delete this;
        return n;
    }
    HRESULT QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = this->CastTo(riid);
        if (!*ppv) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
};

}  // namespace zpv::com
