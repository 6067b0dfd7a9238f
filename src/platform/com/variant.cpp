// VARIANT lifetime: what a variant owns (a BSTR, an interface reference, a safe array) is freed by
// VariantClear and duplicated by VariantCopy; by-reference variants never own their referent.
#include "zpv4870_runtime.h"

namespace {

bool IsScalarType(VARTYPE base) {
    switch (base) {
        case VT_EMPTY:
        case VT_NULL:
        case VT_I2:
        case VT_I4:
        case VT_R4:
        case VT_R8:
        case VT_CY:
        case VT_DATE:
        case VT_BSTR:
        case VT_DISPATCH:
        case VT_ERROR:
        case VT_BOOL:
        case VT_UNKNOWN:
        case VT_DECIMAL:
        case VT_I1:
        case VT_UI1:
        case VT_UI2:
        case VT_UI4:
        case VT_I8:
        case VT_UI8:
        case VT_INT:
        case VT_UINT:
            return true;
        default:
            return false;
    }
}

bool IsValidType(VARTYPE vt) {
    if (vt & ~(VT_ARRAY | VT_BYREF | VT_TYPEMASK)) return false;
    const VARTYPE base = vt & VT_TYPEMASK;
    // A plain VARIANT only ever nests through a reference or an array.
    if ((vt & (VT_ARRAY | VT_BYREF)) == 0) return IsScalarType(base);
    if (base == VT_EMPTY || base == VT_NULL) return false;
    return base == VT_VARIANT || IsScalarType(base);
}

}  // namespace

void VariantInit(VARIANT* pvarg) {
    if (!pvarg) return;
    pvarg->vt = VT_EMPTY;
    pvarg->wReserved1 = pvarg->wReserved2 = pvarg->wReserved3 = 0;
}

HRESULT VariantClear(VARIANT* pvarg) {
    if (!pvarg) return E_INVALIDARG;
    if (!IsValidType(pvarg->vt)) return DISP_E_BADVARTYPE;
    if (pvarg->vt & VT_BYREF) {
        // The referent belongs to someone else.
    } else if (pvarg->vt & VT_ARRAY) {
        if (const HRESULT hr = SafeArrayDestroy(pvarg->parray); FAILED(hr)) return hr;
    } else if (pvarg->vt == VT_BSTR) {
        SysFreeString(pvarg->bstrVal);
    } else if (pvarg->vt == VT_UNKNOWN || pvarg->vt == VT_DISPATCH) {
        if (pvarg->punkVal) pvarg->punkVal->Release();
    }
    pvarg->vt = VT_EMPTY;
    pvarg->llVal = 0;
    return S_OK;
}

HRESULT VariantCopy(VARIANT* pvargDest, const VARIANT* pvargSrc) {
    if (!pvargDest || !pvargSrc) return E_INVALIDARG;
    if (pvargDest == pvargSrc) return S_OK;
    if (!IsValidType(pvargSrc->vt)) return DISP_E_BADVARTYPE;

    // Copy into a temporary before clearing the destination: the source may live inside what the
    // destination owns (an element of its array, say).
    VARIANT copy = *pvargSrc;
    if (copy.vt & VT_BYREF) {
        // Pointers are copied as they are.
    } else if (copy.vt & VT_ARRAY) {
        if (const HRESULT hr = SafeArrayCopy(pvargSrc->parray, &copy.parray); FAILED(hr)) return hr;
    } else if (copy.vt == VT_BSTR) {
        if (BSTR s = pvargSrc->bstrVal) {
            copy.bstrVal = SysAllocStringByteLen(reinterpret_cast<const char*>(s), SysStringByteLen(s));
            if (!copy.bstrVal) return E_OUTOFMEMORY;
        }
    } else if (copy.vt == VT_UNKNOWN || copy.vt == VT_DISPATCH) {
        if (copy.punkVal) copy.punkVal->AddRef();
    }

    if (const HRESULT hr = VariantClear(pvargDest); FAILED(hr)) {
        VariantClear(&copy);
        return hr;
    }
    *pvargDest = copy;
    return S_OK;
}
