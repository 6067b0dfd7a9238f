// zpv4870_runtime.h - the lean COM-style runtime the ZPV4870 object interface is built on.
//
// Linux has no COM or OLE Automation, so the library carries the small part of it that its
// object interface needs: HRESULT statuses, GUIDs, IUnknown, BSTR strings, VARIANT_BOOL,
// one-dimensional SAFEARRAYs, VARIANTs, per-thread error information, apartment entry, a
// process-wide interface table and in-process class creation by ProgID. Names and member
// signatures are the standard COM ones, so code written against COM reads the same here.
// Wide strings are wchar_t; narrow text is UTF-8.
#ifndef ZPV4870_RUNTIME_H
#define ZPV4870_RUNTIME_H

#include <cstddef>
#include <cstdint>
#include <cwchar>
#include <memory>
#include <utility>

#define ZPV_API __attribute__((visibility("default")))

// ---------------------------------------------------------------------------------------------
// Basic types
// ---------------------------------------------------------------------------------------------
using HRESULT = std::int32_t;
using SCODE = std::int32_t;
using BYTE = std::uint8_t;
using CHAR = char;
using SHORT = std::int16_t;
using USHORT = std::uint16_t;
using INT = std::int32_t;
using UINT = std::uint32_t;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using DWORD = std::uint32_t;
using LONGLONG = std::int64_t;
using ULONGLONG = std::uint64_t;
using FLOAT = float;
using DOUBLE = double;
using DATE = double;
using OLECHAR = wchar_t;
using LPOLESTR = OLECHAR*;
using LPCOLESTR = const OLECHAR*;
using BSTR = OLECHAR*;
using VARIANT_BOOL = std::int16_t;
using VARTYPE = std::uint16_t;

inline constexpr VARIANT_BOOL VARIANT_TRUE = -1;
inline constexpr VARIANT_BOOL VARIANT_FALSE = 0;

inline constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
inline constexpr bool FAILED(HRESULT hr) { return hr < 0; }

#define ZPV_HR(x) static_cast<HRESULT>(static_cast<std::uint32_t>(x))
inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = ZPV_HR(0x80004001);
inline constexpr HRESULT E_NOINTERFACE = ZPV_HR(0x80004002);
inline constexpr HRESULT E_POINTER = ZPV_HR(0x80004003);
inline constexpr HRESULT E_ABORT = ZPV_HR(0x80004004);
inline constexpr HRESULT E_FAIL = ZPV_HR(0x80004005);
inline constexpr HRESULT E_UNEXPECTED = ZPV_HR(0x8000FFFF);
inline constexpr HRESULT E_ACCESSDENIED = ZPV_HR(0x80070005);
inline constexpr HRESULT E_HANDLE = ZPV_HR(0x80070006);
inline constexpr HRESULT E_OUTOFMEMORY = ZPV_HR(0x8007000E);
inline constexpr HRESULT E_INVALIDARG = ZPV_HR(0x80070057);
inline constexpr HRESULT DISP_E_EXCEPTION = ZPV_HR(0x80020009);
inline constexpr HRESULT DISP_E_BADVARTYPE = ZPV_HR(0x80020008);
inline constexpr HRESULT DISP_E_TYPEMISMATCH = ZPV_HR(0x80020005);
inline constexpr HRESULT DISP_E_ARRAYISLOCKED = ZPV_HR(0x8002000D);
inline constexpr HRESULT DISP_E_BADINDEX = ZPV_HR(0x8002000B);
inline constexpr HRESULT CLASS_E_NOAGGREGATION = ZPV_HR(0x80040110);
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = ZPV_HR(0x80040111);
inline constexpr HRESULT REGDB_E_CLASSNOTREG = ZPV_HR(0x80040154);
inline constexpr HRESULT CO_E_CLASSSTRING = ZPV_HR(0x800401F3);
inline constexpr HRESULT CO_E_DLLNOTFOUND = ZPV_HR(0x800401F8);
inline constexpr HRESULT CO_E_ERRORINDLL = ZPV_HR(0x800401F9);
inline constexpr HRESULT CO_E_NOTINITIALIZED = ZPV_HR(0x800401F0);
inline constexpr HRESULT RPC_E_CHANGED_MODE = ZPV_HR(0x80010106);

// Apartment models for CoInitializeEx.
inline constexpr DWORD COINIT_MULTITHREADED = 0x0;
inline constexpr DWORD COINIT_APARTMENTTHREADED = 0x2;

// Class contexts for CoCreateInstance (only in-process servers exist here).
inline constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
inline constexpr DWORD CLSCTX_INPROC_HANDLER = 0x2;
inline constexpr DWORD CLSCTX_LOCAL_SERVER = 0x4;
inline constexpr DWORD CLSCTX_REMOTE_SERVER = 0x10;
inline constexpr DWORD CLSCTX_ALL = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER |
                                    CLSCTX_REMOTE_SERVER;

// ---------------------------------------------------------------------------------------------
// GUIDs
// ---------------------------------------------------------------------------------------------
struct GUID {
    std::uint32_t Data1;
    std::uint16_t Data2;
    std::uint16_t Data3;
    std::uint8_t Data4[8];
};
using IID = GUID;
using CLSID = GUID;
using REFGUID = const GUID&;
using REFIID = const IID&;
using REFCLSID = const CLSID&;

constexpr bool operator==(const GUID& a, const GUID& b) {
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
    for (int i = 0; i < 8; ++i)
        if (a.Data4[i] != b.Data4[i]) return false;
    return true;
}
constexpr bool operator!=(const GUID& a, const GUID& b) { return !(a == b); }
inline bool IsEqualGUID(REFGUID a, REFGUID b) { return a == b; }
inline bool IsEqualIID(REFIID a, REFIID b) { return a == b; }

inline constexpr GUID GUID_NULL = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};

// Writes "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"; cchMax must be at least 39. Returns the
// number of characters written including the terminator, or 0 when the buffer is too small.
ZPV_API int StringFromGUID2(REFGUID guid, LPOLESTR lpsz, int cchMax);
// Parses the braced form written by StringFromGUID2; CO_E_CLASSSTRING on malformed text.
ZPV_API HRESULT CLSIDFromString(LPCOLESTR lpsz, CLSID* pclsid);

// Each interface type names its IID through this trait, so smart pointers can query by type.
template <class Interface>
struct InterfaceTraits;

#define ZPV_DEFINE_IID(Interface, d1, d2, d3, b0, b1, b2, b3, b4, b5, b6, b7)                   \
    struct Interface;                                                                           \
    inline constexpr IID IID_##Interface = {d1, d2, d3, {b0, b1, b2, b3, b4, b5, b6, b7}};       \
    template <>                                                                                 \
    struct InterfaceTraits<Interface> {                                                         \
        static constexpr const IID& iid = IID_##Interface;                                      \
        static constexpr const char* name = #Interface;                                         \
    }

#define ZPV_IID_OF(Interface) (InterfaceTraits<Interface>::iid)

// ---------------------------------------------------------------------------------------------
// IUnknown and friends
// ---------------------------------------------------------------------------------------------
ZPV_DEFINE_IID(IUnknown, 0x00000000, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
struct IUnknown {
    virtual HRESULT QueryInterface(REFIID riid, void** ppvObject) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

    template <class Q>
    HRESULT QueryInterface(Q** pp) {
        return QueryInterface(ZPV_IID_OF(Q), reinterpret_cast<void**>(pp));
    }

protected:
    ~IUnknown() = default;
};

ZPV_DEFINE_IID(IClassFactory, 0x00000001, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
struct IClassFactory : IUnknown {
    virtual HRESULT CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppvObject) = 0;
    virtual HRESULT LockServer(bool fLock) = 0;

protected:
    ~IClassFactory() = default;
};

ZPV_DEFINE_IID(ISupportErrorInfo, 0xDF0B3D60, 0x548F, 0x101B, 0x8E, 0x65, 0x08, 0x00, 0x2B, 0x2B, 0xD1, 0x19);
struct ISupportErrorInfo : IUnknown {
    virtual HRESULT InterfaceSupportsErrorInfo(REFIID riid) = 0;

protected:
    ~ISupportErrorInfo() = default;
};

// Reference-counting smart pointer.
template <class T>
class CComPtr {
public:
    CComPtr() = default;
    CComPtr(std::nullptr_t) {}
    CComPtr(T* p) : p_(p) {
        if (p_) p_->AddRef();
    }
    CComPtr(const CComPtr& o) : CComPtr(o.p_) {}
    CComPtr(CComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    ~CComPtr() { Release(); }
    CComPtr& operator=(T* p) {
        if (p) p->AddRef();
        Release();
        p_ = p;
        return *this;
    }
    CComPtr& operator=(const CComPtr& o) { return *this = o.p_; }
    CComPtr& operator=(CComPtr&& o) noexcept {
        if (this != std::addressof(o)) {
            Release();
            p_ = std::exchange(o.p_, nullptr);
        }
        return *this;
    }

    T* operator->() const { return p_; }
    T& operator*() const { return *p_; }
    operator T*() const { return p_; }
    // For out-parameters: whatever was held is released first, so it cannot leak.
    T** operator&() {
        Release();
        return &p_;
    }
    T* Get() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

    void Release() {
        if (T* p = std::exchange(p_, nullptr)) p->Release();
    }
    // Takes over a reference the caller already holds.
    void Attach(T* p) {
        Release();
        p_ = p;
    }
    T* Detach() { return std::exchange(p_, nullptr); }
    HRESULT CopyTo(T** pp) const {
        if (!pp) return E_POINTER;
        *pp = p_;
        if (p_) p_->AddRef();
        return S_OK;
    }
    template <class Q>
    HRESULT QueryInterface(Q** pp) const {
        if (!p_) return E_POINTER;
        return p_->QueryInterface(ZPV_IID_OF(Q), reinterpret_cast<void**>(pp));
    }

private:
    T* p_ = nullptr;
};

// ---------------------------------------------------------------------------------------------
// BSTR: a length-prefixed, NUL-terminated wide string owned by whoever receives it.
// ---------------------------------------------------------------------------------------------
ZPV_API BSTR SysAllocString(const OLECHAR* psz);
ZPV_API BSTR SysAllocStringLen(const OLECHAR* pch, UINT cch);
ZPV_API BSTR SysAllocStringByteLen(const char* psz, UINT len);
ZPV_API int SysReAllocString(BSTR* pbstr, const OLECHAR* psz);
ZPV_API int SysReAllocStringLen(BSTR* pbstr, const OLECHAR* psz, UINT cch);
ZPV_API void SysFreeString(BSTR bstr);
ZPV_API UINT SysStringLen(BSTR bstr);
ZPV_API UINT SysStringByteLen(BSTR bstr);

// Owns one BSTR.
class CComBSTR {
public:
    CComBSTR() = default;
    CComBSTR(const OLECHAR* s) : s_(s ? SysAllocString(s) : nullptr) {}
    CComBSTR(const CComBSTR& o) : s_(o.s_ ? SysAllocStringLen(o.s_, SysStringLen(o.s_)) : nullptr) {}
    CComBSTR(CComBSTR&& o) noexcept : s_(std::exchange(o.s_, nullptr)) {}
    ~CComBSTR() { SysFreeString(s_); }
    CComBSTR& operator=(CComBSTR o) noexcept {
        std::swap(s_, o.s_);
        return *this;
    }
    operator BSTR() const { return s_; }
    BSTR* operator&() { return &s_; }
    BSTR Get() const { return s_; }
    UINT Length() const { return SysStringLen(s_); }
    void Empty() {
        SysFreeString(s_);
        s_ = nullptr;
    }
    void Attach(BSTR s) {
        SysFreeString(s_);
        s_ = s;
    }
    BSTR Detach() { return std::exchange(s_, nullptr); }
    HRESULT CopyTo(BSTR* p) const {
        if (!p) return E_POINTER;
        *p = s_ ? SysAllocStringLen(s_, SysStringLen(s_)) : nullptr;
        return (s_ && !*p) ? E_OUTOFMEMORY : S_OK;
    }

private:
    BSTR s_ = nullptr;
};

// ---------------------------------------------------------------------------------------------
// VARIANT types and SAFEARRAY
// ---------------------------------------------------------------------------------------------
enum VARENUM : VARTYPE {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_R4 = 4,
    VT_R8 = 5,
    VT_CY = 6,
    VT_DATE = 7,
    VT_BSTR = 8,
    VT_DISPATCH = 9,
    VT_ERROR = 10,
    VT_BOOL = 11,
    VT_VARIANT = 12,
    VT_UNKNOWN = 13,
    VT_DECIMAL = 14,
    VT_I1 = 16,
    VT_UI1 = 17,
    VT_UI2 = 18,
    VT_UI4 = 19,
    VT_I8 = 20,
    VT_UI8 = 21,
    VT_INT = 22,
    VT_UINT = 23,
    VT_ARRAY = 0x2000,
    VT_BYREF = 0x4000,
    VT_TYPEMASK = 0x0FFF,
};

struct SAFEARRAYBOUND {
    ULONG cElements;
    LONG lLbound;
};

inline constexpr USHORT FADF_BSTR = 0x0100;
inline constexpr USHORT FADF_UNKNOWN = 0x0200;
inline constexpr USHORT FADF_VARIANT = 0x0800;
inline constexpr USHORT FADF_HAVEVARTYPE = 0x0080;

// One-dimensional arrays only; cDims is always 1.
struct SAFEARRAY {
    USHORT cDims;
    USHORT fFeatures;
    ULONG cbElements;
    ULONG cLocks;
    void* pvData;
    SAFEARRAYBOUND rgsabound[1];
    VARTYPE vt;  // element type (the FADF_HAVEVARTYPE record)
};

struct VARIANT {
    VARTYPE vt;
    USHORT wReserved1;
    USHORT wReserved2;
    USHORT wReserved3;
    union {
        LONGLONG llVal;
        LONG lVal;
        BYTE bVal;
        SHORT iVal;
        FLOAT fltVal;
        DOUBLE dblVal;
        VARIANT_BOOL boolVal;
        SCODE scode;
        DATE date;
        BSTR bstrVal;
        IUnknown* punkVal;
        SAFEARRAY* parray;
        CHAR cVal;
        USHORT uiVal;
        ULONG ulVal;
        ULONGLONG ullVal;
        INT intVal;
        UINT uintVal;
        BYTE* pbVal;
        SHORT* piVal;
        LONG* plVal;
        LONGLONG* pllVal;
        FLOAT* pfltVal;
        DOUBLE* pdblVal;
        VARIANT_BOOL* pboolVal;
        BSTR* pbstrVal;
        IUnknown** ppunkVal;
        SAFEARRAY** pparray;
        VARIANT* pvarVal;
        CHAR* pcVal;
        USHORT* puiVal;
        ULONG* pulVal;
        ULONGLONG* pullVal;
        void* byref;
    };
};
using VARIANTARG = VARIANT;

// Element types accepted: VT_I1, VT_UI1, VT_I2, VT_UI2, VT_I4, VT_UI4, VT_INT, VT_UINT, VT_I8,
// VT_UI8, VT_R4, VT_R8, VT_BOOL, VT_BSTR, VT_UNKNOWN, VT_VARIANT.
ZPV_API SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lLbound, ULONG cElements);
ZPV_API HRESULT SafeArrayDestroy(SAFEARRAY* psa);
ZPV_API HRESULT SafeArrayDestroyData(SAFEARRAY* psa);
ZPV_API HRESULT SafeArrayCopy(SAFEARRAY* psa, SAFEARRAY** ppsaOut);
ZPV_API HRESULT SafeArrayRedim(SAFEARRAY* psa, SAFEARRAYBOUND* psaboundNew);
ZPV_API UINT SafeArrayGetDim(SAFEARRAY* psa);
ZPV_API UINT SafeArrayGetElemsize(SAFEARRAY* psa);
ZPV_API HRESULT SafeArrayGetLBound(SAFEARRAY* psa, UINT nDim, LONG* plLbound);
ZPV_API HRESULT SafeArrayGetUBound(SAFEARRAY* psa, UINT nDim, LONG* plUbound);
ZPV_API HRESULT SafeArrayGetVartype(SAFEARRAY* psa, VARTYPE* pvt);
ZPV_API HRESULT SafeArrayLock(SAFEARRAY* psa);
ZPV_API HRESULT SafeArrayUnlock(SAFEARRAY* psa);
ZPV_API HRESULT SafeArrayAccessData(SAFEARRAY* psa, void** ppvData);
ZPV_API HRESULT SafeArrayUnaccessData(SAFEARRAY* psa);
// GetElement copies out (a fresh BSTR, an AddRef'd interface, a VariantCopy); PutElement copies in.
ZPV_API HRESULT SafeArrayGetElement(SAFEARRAY* psa, LONG* rgIndices, void* pv);
ZPV_API HRESULT SafeArrayPutElement(SAFEARRAY* psa, LONG* rgIndices, void* pv);

ZPV_API void VariantInit(VARIANT* pvarg);
ZPV_API HRESULT VariantClear(VARIANT* pvarg);
ZPV_API HRESULT VariantCopy(VARIANT* pvargDest, const VARIANT* pvargSrc);

// ---------------------------------------------------------------------------------------------
// Per-thread error information
// ---------------------------------------------------------------------------------------------
ZPV_DEFINE_IID(IErrorInfo, 0x1CF2B120, 0x547D, 0x101B, 0x8E, 0x65, 0x08, 0x00, 0x2B, 0x2B, 0xD1, 0x19);
struct IErrorInfo : IUnknown {
    virtual HRESULT GetGUID(GUID* pGUID) = 0;
    virtual HRESULT GetSource(BSTR* pBstrSource) = 0;
    virtual HRESULT GetDescription(BSTR* pBstrDescription) = 0;
    virtual HRESULT GetHelpFile(BSTR* pBstrHelpFile) = 0;
    virtual HRESULT GetHelpContext(DWORD* pdwHelpContext) = 0;

protected:
    ~IErrorInfo() = default;
};

ZPV_DEFINE_IID(ICreateErrorInfo, 0x22F03340, 0x547D, 0x101B, 0x8E, 0x65, 0x08, 0x00, 0x2B, 0x2B, 0xD1, 0x19);
struct ICreateErrorInfo : IUnknown {
    virtual HRESULT SetGUID(REFGUID rguid) = 0;
    virtual HRESULT SetSource(LPOLESTR szSource) = 0;
    virtual HRESULT SetDescription(LPOLESTR szDescription) = 0;
    virtual HRESULT SetHelpFile(LPOLESTR szHelpFile) = 0;
    virtual HRESULT SetHelpContext(DWORD dwHelpContext) = 0;

protected:
    ~ICreateErrorInfo() = default;
};

ZPV_API HRESULT CreateErrorInfo(ICreateErrorInfo** pperrinfo);
// Makes perrinfo the calling thread's error information (null clears it). dwReserved must be 0.
ZPV_API HRESULT SetErrorInfo(ULONG dwReserved, IErrorInfo* perrinfo);
// Hands the calling thread's error information to the caller and clears it; S_FALSE when none.
ZPV_API HRESULT GetErrorInfo(ULONG dwReserved, IErrorInfo** pperrinfo);

// ---------------------------------------------------------------------------------------------
// Apartments, the global interface table and class creation
// ---------------------------------------------------------------------------------------------
// S_OK on a thread's first entry, S_FALSE on repeated entry with the same model,
// RPC_E_CHANGED_MODE when the thread already entered with the other model.
ZPV_API HRESULT CoInitializeEx(void* pvReserved, DWORD dwCoInit);
ZPV_API void CoUninitialize();

ZPV_DEFINE_IID(IGlobalInterfaceTable, 0x00000146, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
inline constexpr CLSID CLSID_StdGlobalInterfaceTable = {0x00000323, 0x0000, 0x0000,
                                                        {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
struct IGlobalInterfaceTable : IUnknown {
    virtual HRESULT RegisterInterfaceInGlobal(IUnknown* pUnk, REFIID riid, DWORD* pdwCookie) = 0;
    virtual HRESULT RevokeInterfaceFromGlobal(DWORD dwCookie) = 0;
    virtual HRESULT GetInterfaceFromGlobal(DWORD dwCookie, REFIID riid, void** ppv) = 0;

protected:
    ~IGlobalInterfaceTable() = default;
};

// Classes that an in-process module offers. Entries are made by the module itself when it loads.
struct ClassRegistration {
    CLSID clsid;
    const OLECHAR* progId;                 // versioned ProgID, e.g. L"Vendor.Class.1"
    const OLECHAR* versionIndependentProgId;  // e.g. L"Vendor.Class"
    // Creates the class object (an IClassFactory); null for classes that are not creatable.
    HRESULT (*getClassObject)(REFIID riid, void** ppv);
};
ZPV_API HRESULT CoRegisterClass(const ClassRegistration& registration);
ZPV_API HRESULT CoRevokeClass(REFCLSID rclsid);

ZPV_API HRESULT CLSIDFromProgID(LPCOLESTR lpszProgID, CLSID* pclsid);
// The versioned ProgID of a class, allocated with CoTaskMemAlloc; REGDB_E_CLASSNOTREG when unknown.
ZPV_API HRESULT ProgIDFromCLSID(REFCLSID clsid, LPOLESTR* lplpszProgID);
ZPV_API HRESULT CoGetClassObject(REFCLSID rclsid, DWORD dwClsContext, void* pvReserved, REFIID riid,
                                 void** ppv);
ZPV_API HRESULT CoCreateInstance(REFCLSID rclsid, IUnknown* pUnkOuter, DWORD dwClsContext, REFIID riid,
                                 void** ppv);
ZPV_API void* CoTaskMemAlloc(std::size_t cb);
ZPV_API void CoTaskMemFree(void* pv);

#endif  // ZPV4870_RUNTIME_H
