// In-process class registry: what the system registry holds for COM, kept in process memory.
// Modules register their classes when they load; creation goes through the class object.
#include <dlfcn.h>

#include <cstring>
#include <mutex>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/com/apartment.h"
#include "platform/com/global_interface_table.h"
#include "platform/com/text_conversion.h"
#include "platform/registry/registry.h"
#include "zpv4870_runtime.h"

namespace {

using ClassObjectGetter = HRESULT (*)(REFIID riid, void** ppv);

struct ClassEntry {
    CLSID clsid;
    std::wstring progId;                    // empty when the class has none
    std::wstring versionIndependentProgId;  // likewise
    ClassObjectGetter getClassObject;
};

// ProgIDs are ASCII identifiers; folding only ASCII keeps the comparison locale-free.
bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    auto fold = [](wchar_t c) { return (c >= L'A' && c <= L'Z') ? c - L'A' + L'a' : c; };
    for (std::size_t i = 0; i < a.size(); ++i)
        if (fold(a[i]) != fold(b[i])) return false;
    return true;
}

class Registry {
public:
    Registry() {
        entries_.push_back(
            {CLSID_StdGlobalInterfaceTable, {}, {}, &zpv::com::GetGlobalInterfaceTableClassObject});
    }

    HRESULT Register(const ClassRegistration& r) {
        try {
            ClassEntry entry{r.clsid, r.progId ? r.progId : L"",
                             r.versionIndependentProgId ? r.versionIndependentProgId : L"", r.getClassObject};
            std::lock_guard lock(mutex_);
            std::erase_if(entries_, [&](const ClassEntry& e) { return e.clsid == r.clsid; });
            // Newest last, so a ProgID claimed twice resolves to the latest registration.
            entries_.push_back(std::move(entry));
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
        return S_OK;
    }

    bool Revoke(REFCLSID clsid) {
        std::lock_guard lock(mutex_);
        return std::erase_if(entries_, [&](const ClassEntry& e) { return e.clsid == clsid; }) > 0;
    }

    // Lookups return copies, so callers use them without holding the lock.
    // Empty when the class is unknown; holds a null getter for a class that is not creatable.
    std::optional<ClassObjectGetter> GetterOf(REFCLSID clsid) const {
        std::lock_guard lock(mutex_);
        const ClassEntry* e = FindLocked(clsid);
        return e ? std::optional(e->getClassObject) : std::nullopt;
    }

    // Empty when the class is unknown or has no ProgID.
    std::wstring ProgIdOf(REFCLSID clsid) const {
        std::lock_guard lock(mutex_);
        const ClassEntry* e = FindLocked(clsid);
        return e ? e->progId : std::wstring();
    }

    std::optional<CLSID> FindByProgId(std::wstring_view progId) const {
        if (progId.empty()) return std::nullopt;  // would match the classes without a ProgID
        std::lock_guard lock(mutex_);
        for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
            if (EqualsIgnoringCase(it->progId, progId) ||
                EqualsIgnoringCase(it->versionIndependentProgId, progId))
                return it->clsid;
        }
        return std::nullopt;
    }

private:
    const ClassEntry* FindLocked(REFCLSID clsid) const {
        for (const ClassEntry& e : entries_)
            if (e.clsid == clsid) return &e;
        return nullptr;
    }

    mutable std::mutex mutex_;
    std::vector<ClassEntry> entries_;
};

Registry& Classes() {
    // Never destroyed: objects torn down at exit may still create or look up classes.
    static auto* registry = new Registry;
    return *registry;
}

}  // namespace

HRESULT CoRegisterClass(const ClassRegistration& registration) {
    if (registration.clsid == GUID_NULL) return E_INVALIDARG;
    return Classes().Register(registration);
}

HRESULT CoRevokeClass(REFCLSID rclsid) { return Classes().Revoke(rclsid) ? S_OK : REGDB_E_CLASSNOTREG; }

namespace {

// Classes registered in the registry but not in this process: their module is loaded from its
// InprocServer32 path and asked for the class object.
std::string GuidText(REFCLSID clsid) {
    wchar_t text[40];
    StringFromGUID2(clsid, text, 40);
    return zpv::com::Utf8FromWide(text);
}

std::optional<CLSID> RegisteredClassOf(std::wstring_view progId) {
    std::string name = zpv::com::Utf8FromWide(progId);
    // A version-independent ProgID leads to its current version's class.
    if (auto current = zpv::registry::ReadValue("HKEY_CLASSES_ROOT\\" + name + "\\CurVer", "")) name = *current;
    const auto text = zpv::registry::ReadValue("HKEY_CLASSES_ROOT\\" + name + "\\CLSID", "");
    CLSID clsid{};
    if (!text || FAILED(CLSIDFromString(zpv::com::WideFromUtf8(*text).c_str(), &clsid))) return std::nullopt;
    return clsid;
}

HRESULT RegisteredClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
    const auto module = zpv::registry::ReadValue("HKEY_CLASSES_ROOT\\CLSID\\" + GuidText(clsid) + "\\InprocServer32", "");
    if (!module || module->empty()) return REGDB_E_CLASSNOTREG;
    // Loaded for the rest of the process, as an in-process server stays.
    void* handle = ::dlopen(module->c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) return CO_E_DLLNOTFOUND;
    using GetClassObject = HRESULT (*)(REFCLSID, REFIID, void**);
    auto get = reinterpret_cast<GetClassObject>(::dlsym(handle, "DllGetClassObject"));
    if (!get) return CO_E_ERRORINDLL;
    return get(clsid, riid, ppv);
}

}  // namespace

HRESULT CLSIDFromProgID(LPCOLESTR lpszProgID, CLSID* pclsid) {
    if (!lpszProgID || !pclsid) return E_INVALIDARG;
    *pclsid = GUID_NULL;
    std::optional<CLSID> found = Classes().FindByProgId(lpszProgID);
    if (!found) found = RegisteredClassOf(lpszProgID);
    if (!found) return CO_E_CLASSSTRING;
    *pclsid = *found;
    return S_OK;
}

HRESULT ProgIDFromCLSID(REFCLSID clsid, LPOLESTR* lplpszProgID) {
    if (!lplpszProgID) return E_INVALIDARG;
    *lplpszProgID = nullptr;
    std::wstring progId;
    try {
        progId = Classes().ProgIdOf(clsid);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    if (progId.empty()) return REGDB_E_CLASSNOTREG;
    const std::size_t bytes = (progId.size() + 1) * sizeof(OLECHAR);
    auto* text = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
    if (!text) return E_OUTOFMEMORY;
    std::memcpy(text, progId.c_str(), bytes);
    *lplpszProgID = text;
    return S_OK;
}

HRESULT CoGetClassObject(REFCLSID rclsid, DWORD dwClsContext, void*, REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (!zpv::com::IsApartmentEntered()) return CO_E_NOTINITIALIZED;
    if (!(dwClsContext & CLSCTX_INPROC_SERVER)) return REGDB_E_CLASSNOTREG;
    const std::optional<ClassObjectGetter> getter = Classes().GetterOf(rclsid);
    if (!getter) return RegisteredClassObject(rclsid, riid, ppv);
    if (!*getter) return CLASS_E_CLASSNOTAVAILABLE;
    // Called without the registry lock: a module may register further classes from here.
    return (*getter)(riid, ppv);
}

HRESULT CoCreateInstance(REFCLSID rclsid, IUnknown* pUnkOuter, DWORD dwClsContext, REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    IClassFactory* factory = nullptr;
    const HRESULT hr = CoGetClassObject(rclsid, dwClsContext, nullptr, IID_IClassFactory,
                                       reinterpret_cast<void**>(&factory));
    if (FAILED(hr)) return hr;
    const HRESULT created = factory->CreateInstance(pUnkOuter, riid, ppv);
    factory->Release();
    return created;
}
