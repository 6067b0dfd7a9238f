// Building blocks for objects that implement COM interfaces: reference counting, the object's
// recursive lock and QueryInterface by table.
#pragma once

#include <atomic>
#include <mutex>
#include <new>

#include "zpv4870_runtime.h"

namespace zpv::com {

// Objects of this module alive now; the module may be unloaded only when none is.
inline std::atomic<long>& LiveObjects() {
    static std::atomic<long> count{0};
    return count;
}

// Reference count and the object's own recursive lock. Classes derive from this and list their
// interfaces in CastTo(riid), which returns the interface pointer or null.
class CComObjectRootEx {
public:
    CComObjectRootEx() { LiveObjects().fetch_add(1, std::memory_order_relaxed); }
    ~CComObjectRootEx() { LiveObjects().fetch_sub(1, std::memory_order_relaxed); }
    CComObjectRootEx(const CComObjectRootEx&) = delete;
    CComObjectRootEx& operator=(const CComObjectRootEx&) = delete;

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

// The form of Base for an object that another object (its owner) makes and keeps: the owner
// holds it through ReleaseOwnership(), never through AddRef, and every reference handed out
// holds the owner. A child then never outlives its owner, and the owner's own references do not
// keep it alive: the two are freed together when the last outside reference to either goes.
template <class Base>
class CComChildObject final : public Base {
public:
    explicit CComChildObject(IUnknown* owner) : owner_(owner) {}

    // New object held once by its creator, FinalConstruct already run.
    static HRESULT CreateInstance(IUnknown* owner, CComChildObject** pp) {
        if (!pp || !owner) return E_POINTER;
        *pp = nullptr;
        auto* p = new (std::nothrow) CComChildObject(owner);
        if (!p) return E_OUTOFMEMORY;
        const HRESULT hr = p->FinalConstruct();
        if (FAILED(hr)) {
            delete p;
            return hr;
        }
        *pp = p;
        return S_OK;
    }

    ~CComChildObject() { this->FinalRelease(); }

    // The first outside reference takes one on the owner; the last gives it back.
    ULONG AddRef() override {
        const ULONG before = state_.fetch_add(kOutside, std::memory_order_relaxed);
        if (before < kOutside) owner_->AddRef();
        return before / kOutside + 1;
    }
    ULONG Release() override {
        IUnknown* owner = owner_;  // this may be gone once the count has dropped
        const ULONG after = state_.fetch_sub(kOutside, std::memory_order_acq_rel) - kOutside;
        if (after < kOutside) {
            if (after == 0) delete this;
            owner->Release();
        }
        return after / kOutside;
    }
    HRESULT QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = this->CastTo(riid);
        if (!*ppv) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }

    // The creator lets go; the object goes now or with its last outside reference.
    void ReleaseOwnership() override {
        if (state_.fetch_sub(kOwned, std::memory_order_acq_rel) == kOwned) delete this;
    }

private:
    static constexpr ULONG kOwned = 1;    // the creator's hold
    static constexpr ULONG kOutside = 2;  // one outside reference
    IUnknown* const owner_;
    std::atomic<ULONG> state_{kOwned};
};

// The aggregated form of Base: a part of an outer object. The IUnknown members of Base's
// interfaces delegate to the outer object, so the aggregate has one identity and one count; the
// outer object alone holds the inner, non-delegating IUnknown, whose count keeps the part alive.
template <class Base>
class CComAggObject final : public Base {
public:
    explicit CComAggObject(IUnknown* outer) : outer_(outer), inner_(this) {}

    // New part of outer with its inner IUnknown counted once, FinalConstruct already run.
    static HRESULT CreateInstance(IUnknown* outer, IUnknown** inner) {
        if (!outer || !inner) return E_POINTER;
        *inner = nullptr;
        auto* p = new (std::nothrow) CComAggObject(outer);
        if (!p) return E_OUTOFMEMORY;
        p->inner_.AddRef();
        const HRESULT hr = p->FinalConstruct();
        if (FAILED(hr)) {
            p->inner_.Release();
            return hr;
        }
        *inner = &p->inner_;
        return S_OK;
    }

    ~CComAggObject() { this->FinalRelease(); }

    ULONG AddRef() override { return outer_->AddRef(); }
    ULONG Release() override { return outer_->Release(); }
    HRESULT QueryInterface(REFIID riid, void** ppv) override { return outer_->QueryInterface(riid, ppv); }

private:
    class Inner final : public IUnknown {
    public:
        explicit Inner(CComAggObject* self) : self_(self) {}
        HRESULT QueryInterface(REFIID riid, void** ppv) override {
            if (!ppv) return E_POINTER;
            if (riid == IID_IUnknown) {
                *ppv = this;
                AddRef();
                return S_OK;
            }
            *ppv = self_->CastTo(riid);
            if (!*ppv) return E_NOINTERFACE;
            self_->outer_->AddRef();  // what the outer object hands on counts on the outer object
            return S_OK;
        }
        ULONG AddRef() override { return ++refs_; }
        ULONG Release() override {
            const ULONG n = --refs_;
            if (n == 0) delete self_;
            return n;
        }

    private:
        CComAggObject* self_;
        std::atomic<ULONG> refs_{0};
    };

    IUnknown* outer_;
    Inner inner_;
};

}  // namespace zpv::com
