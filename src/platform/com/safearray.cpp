// One-dimensional safe arrays. The descriptor and the element block are separate allocations so
// that a redimension can replace the block while callers keep the descriptor pointer.
#include <cstdlib>
#include <cstring>
#include <limits>

#include "platform/com/block_recycler.h"
#include "zpv4870_runtime.h"

namespace {

// Element size for the accepted element types, 0 for any other.
ULONG ElementSize(VARTYPE vt) {
    switch (vt) {
        case VT_I1:
        case VT_UI1:
            return 1;
        case VT_I2:
        case VT_UI2:
        case VT_BOOL:
            return 2;
        case VT_I4:
        case VT_UI4:
        case VT_INT:
        case VT_UINT:
        case VT_R4:
            return 4;
        case VT_I8:
        case VT_UI8:
        case VT_R8:
            return 8;
        case VT_BSTR:
            return sizeof(BSTR);
        case VT_UNKNOWN:
            return sizeof(IUnknown*);
        case VT_VARIANT:
            return sizeof(VARIANT);
        default:
            return 0;
    }
}

USHORT FeaturesFor(VARTYPE vt) {
    switch (vt) {
        case VT_BSTR:
            return FADF_HAVEVARTYPE | FADF_BSTR;
        case VT_UNKNOWN:
            return FADF_HAVEVARTYPE | FADF_UNKNOWN;
        case VT_VARIANT:
            return FADF_HAVEVARTYPE | FADF_VARIANT;
        default:
            return FADF_HAVEVARTYPE;
    }
}

// The last index must stay representable as a LONG.
bool BoundsFit(LONG lLbound, ULONG cElements) {
    return static_cast<std::int64_t>(lLbound) + cElements - 1 <= std::numeric_limits<LONG>::max();
}

// Zeroed room for count elements; never null on success, even for an empty array, so that
// AccessData always hands out a usable pointer.
void* AllocElements(ULONG cbElements, ULONG count) {
    const std::size_t bytes = static_cast<std::size_t>(cbElements) * count;
    return std::calloc(bytes ? bytes : 1, 1);
}

void* ElementAt(const SAFEARRAY* psa, ULONG offset) {
    return static_cast<char*>(psa->pvData) + static_cast<std::size_t>(offset) * psa->cbElements;
}

// Frees what elements [first, first+count) own and zeroes them. Numbers and bytes own nothing:
// a large byte array is released without visiting its elements.
void ReleaseElements(SAFEARRAY* psa, ULONG first, ULONG count, bool zero = true) {
    const bool owning = psa->vt == VT_BSTR || psa->vt == VT_UNKNOWN || psa->vt == VT_VARIANT;
    for (ULONG i = first; owning && i < first + count; ++i) {
        void* e = ElementAt(psa, i);
        switch (psa->vt) {
            case VT_BSTR:
                SysFreeString(*static_cast<BSTR*>(e));
                break;
            case VT_UNKNOWN:
                if (auto* p = *static_cast<IUnknown**>(e)) p->Release();
                break;
            case VT_VARIANT:
                VariantClear(static_cast<VARIANT*>(e));
                break;
            default:
                break;
        }
    }
    if (zero) std::memset(ElementAt(psa, first), 0, static_cast<std::size_t>(count) * psa->cbElements);
}

// Copies one element from src to the uninitialized dst, taking its own reference or string.
HRESULT CopyElement(VARTYPE vt, const void* src, void* dst, ULONG cbElements) {
    switch (vt) {
        case VT_BSTR: {
            BSTR s = *static_cast<const BSTR*>(src);
            BSTR copy = nullptr;
            if (s) {
                copy = SysAllocStringByteLen(reinterpret_cast<const char*>(s), SysStringByteLen(s));
                if (!copy) return E_OUTOFMEMORY;
            }
            *static_cast<BSTR*>(dst) = copy;
            return S_OK;
        }
        case VT_UNKNOWN: {
            IUnknown* p = *static_cast<IUnknown* const*>(src);
            if (p) p->AddRef();
            *static_cast<IUnknown**>(dst) = p;
            return S_OK;
        }
        case VT_VARIANT:
            VariantInit(static_cast<VARIANT*>(dst));
            return VariantCopy(static_cast<VARIANT*>(dst), static_cast<const VARIANT*>(src));
        default:
            std::memcpy(dst, src, cbElements);
            return S_OK;
    }
}

// Offset of the element at rgIndices[0], or DISP_E_BADINDEX.
HRESULT OffsetOf(const SAFEARRAY* psa, const LONG* rgIndices, ULONG& offset) {
    const std::int64_t rel = static_cast<std::int64_t>(rgIndices[0]) - psa->rgsabound[0].lLbound;
    if (rel < 0 || rel >= static_cast<std::int64_t>(psa->rgsabound[0].cElements)) return DISP_E_BADINDEX;
    offset = static_cast<ULONG>(rel);
    return S_OK;
}

}  // namespace

SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lLbound, ULONG cElements) {
    const ULONG cb = ElementSize(vt);
    if (cb == 0 || !BoundsFit(lLbound, cElements)) return nullptr;
    auto* psa = static_cast<SAFEARRAY*>(std::calloc(1, sizeof(SAFEARRAY)));
    if (!psa) return nullptr;
    psa->pvData = AllocElements(cb, cElements);
    if (!psa->pvData) {
        std::free(psa);
        return nullptr;
    }
    psa->cDims = 1;
    psa->fFeatures = FeaturesFor(vt);
    psa->cbElements = cb;
    psa->rgsabound[0] = {cElements, lLbound};
    psa->vt = vt;
    return psa;
}

HRESULT SafeArrayDestroyData(SAFEARRAY* psa) {
    if (!psa) return E_INVALIDARG;
    if (psa->cLocks > 0) return DISP_E_ARRAYISLOCKED;
    // Released elements are zeroed rather than the block freed, so the bounds stay truthful.
    ReleaseElements(psa, 0, psa->rgsabound[0].cElements);
    return S_OK;
}

HRESULT SafeArrayDestroy(SAFEARRAY* psa) {
    if (!psa) return S_OK;
    if (psa->cLocks > 0) return DISP_E_ARRAYISLOCKED;
    ReleaseElements(psa, 0, psa->rgsabound[0].cElements, false);  // the block goes anyway
    zpv::com::recycler::Give(psa->pvData);
    std::free(psa);
    return S_OK;
}

HRESULT SafeArrayCopy(SAFEARRAY* psa, SAFEARRAY** ppsaOut) {
    if (!ppsaOut) return E_INVALIDARG;
    *ppsaOut = nullptr;
    if (!psa) return S_OK;
    SAFEARRAY* copy = SafeArrayCreateVector(psa->vt, psa->rgsabound[0].lLbound, psa->rgsabound[0].cElements);
    if (!copy) return E_OUTOFMEMORY;
    for (ULONG i = 0; i < psa->rgsabound[0].cElements; ++i) {
        const HRESULT hr = CopyElement(psa->vt, ElementAt(psa, i), ElementAt(copy, i), psa->cbElements);
        if (FAILED(hr)) {
            SafeArrayDestroy(copy);  // elements not yet reached are still zero
            return hr;
        }
    }
    *ppsaOut = copy;
    return S_OK;
}

HRESULT SafeArrayRedim(SAFEARRAY* psa, SAFEARRAYBOUND* psaboundNew) {
    if (!psa || !psaboundNew) return E_INVALIDARG;
    if (psa->cLocks > 0) return DISP_E_ARRAYISLOCKED;
    const ULONG oldCount = psa->rgsabound[0].cElements;
    const ULONG newCount = psaboundNew->cElements;
    if (!BoundsFit(psaboundNew->lLbound, newCount)) return E_INVALIDARG;

    // Allocate before touching anything so that a failure leaves the array as it was.
    void* block = AllocElements(psa->cbElements, newCount);
    if (!block) return E_OUTOFMEMORY;
    if (newCount < oldCount) ReleaseElements(psa, newCount, oldCount - newCount);
    const ULONG kept = newCount < oldCount ? newCount : oldCount;
    std::memcpy(block, psa->pvData, static_cast<std::size_t>(psa->cbElements) * kept);
    std::free(psa->pvData);
    psa->pvData = block;
    psa->rgsabound[0] = *psaboundNew;
    return S_OK;
}

UINT SafeArrayGetDim(SAFEARRAY* psa) { return psa ? psa->cDims : 0; }

UINT SafeArrayGetElemsize(SAFEARRAY* psa) { return psa ? psa->cbElements : 0; }

HRESULT SafeArrayGetLBound(SAFEARRAY* psa, UINT nDim, LONG* plLbound) {
    if (!psa || !plLbound) return E_INVALIDARG;
    if (nDim != 1) return DISP_E_BADINDEX;
    *plLbound = psa->rgsabound[0].lLbound;
    return S_OK;
}

HRESULT SafeArrayGetUBound(SAFEARRAY* psa, UINT nDim, LONG* plUbound) {
    if (!psa || !plUbound) return E_INVALIDARG;
    if (nDim != 1) return DISP_E_BADINDEX;
    const SAFEARRAYBOUND& b = psa->rgsabound[0];
    *plUbound = static_cast<LONG>(static_cast<std::int64_t>(b.lLbound) + b.cElements - 1);
    return S_OK;
}

HRESULT SafeArrayGetVartype(SAFEARRAY* psa, VARTYPE* pvt) {
    if (!psa || !pvt) return E_INVALIDARG;
    if (!(psa->fFeatures & FADF_HAVEVARTYPE)) return E_INVALIDARG;
    *pvt = psa->vt;
    return S_OK;
}

HRESULT SafeArrayLock(SAFEARRAY* psa) {
    if (!psa) return E_INVALIDARG;
    if (psa->cLocks == std::numeric_limits<ULONG>::max()) return E_UNEXPECTED;
    ++psa->cLocks;
    return S_OK;
}

HRESULT SafeArrayUnlock(SAFEARRAY* psa) {
    if (!psa) return E_INVALIDARG;
    if (psa->cLocks == 0) return E_UNEXPECTED;
    --psa->cLocks;
    return S_OK;
}

HRESULT SafeArrayAccessData(SAFEARRAY* psa, void** ppvData) {
    if (!psa || !ppvData) return E_INVALIDARG;
    if (const HRESULT hr = SafeArrayLock(psa); FAILED(hr)) return hr;
    *ppvData = psa->pvData;
    return S_OK;
}

HRESULT SafeArrayUnaccessData(SAFEARRAY* psa) { return SafeArrayUnlock(psa); }

HRESULT SafeArrayGetElement(SAFEARRAY* psa, LONG* rgIndices, void* pv) {
    if (!psa || !rgIndices || !pv) return E_INVALIDARG;
    ULONG offset = 0;
    if (const HRESULT hr = OffsetOf(psa, rgIndices, offset); FAILED(hr)) return hr;
    // Locked while copying so that code run by an AddRef cannot destroy the array underneath.
    if (const HRESULT hr = SafeArrayLock(psa); FAILED(hr)) return hr;
    const HRESULT hr = CopyElement(psa->vt, ElementAt(psa, offset), pv, psa->cbElements);
    SafeArrayUnlock(psa);
    return hr;
}

// BSTR and interface elements are passed as the pointer itself, as in COM; every other type by
// the address of the value.
HRESULT SafeArrayPutElement(SAFEARRAY* psa, LONG* rgIndices, void* pv) {
    if (!psa || !rgIndices) return E_INVALIDARG;
    const bool pointerValue = psa->vt == VT_BSTR || psa->vt == VT_UNKNOWN;
    if (!pv && !pointerValue) return E_INVALIDARG;
    ULONG offset = 0;
    if (const HRESULT hr = OffsetOf(psa, rgIndices, offset); FAILED(hr)) return hr;

    if (const HRESULT hr = SafeArrayLock(psa); FAILED(hr)) return hr;
    // Build the new element first: the source may alias the element being replaced.
    alignas(VARIANT) unsigned char fresh[sizeof(VARIANT)];
    const void* src = pointerValue ? static_cast<const void*>(&pv) : pv;
    const HRESULT hr = CopyElement(psa->vt, src, fresh, psa->cbElements);
    if (SUCCEEDED(hr)) {
        ReleaseElements(psa, offset, 1);
        std::memcpy(ElementAt(psa, offset), fresh, psa->cbElements);
    }
    SafeArrayUnlock(psa);
    return hr;
}
