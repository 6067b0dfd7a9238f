// The in-process module: the driver's class object, its registration with the runtime's class
// table when the library loads (so CLSIDFromProgID(L"ZPV4870.ZPV4870") and CoCreateInstance find
// the driver in this process), and its entries in the registry for processes that find it there.
#include <dlfcn.h>
#include <strings.h>
#include <wchar.h>

#include <atomic>
#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

#include "ZPV4870.h"
#include "objects/zpv4870_driver.h"
#include "platform/com/com_object.h"
#include "platform/com/text_conversion.h"
#include "platform/registry/registry.h"

namespace zpv::com {

namespace {

std::atomic<LONG> gModuleLocks{0};

class DriverClassFactory final : public IClassFactory {
public:
    HRESULT QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = (riid == IID_IUnknown || riid == IID_IClassFactory) ? static_cast<IClassFactory*>(this) : nullptr;
        return *ppv ? S_OK : E_NOINTERFACE;
    }
    // The class object lives as long as the module.
    ULONG AddRef() override { return 2; }
    ULONG Release() override { return 1; }

    HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
        return driver::ZPV4870::CreateInstance(outer, riid, ppv);
    }
    HRESULT LockServer(bool lock) override {
        lock ? ++gModuleLocks : --gModuleLocks;
        return S_OK;
    }
};

HRESULT GetDriverClassObject(REFIID riid, void** ppv) {
    static DriverClassFactory factory;
    return factory.QueryInterface(riid, ppv);
}

[[maybe_unused]] const bool gRegistered = [] {
    CoRegisterClass({CLSID_ZPV4870, L"ZPV4870.ZPV4870.1", L"ZPV4870.ZPV4870", &GetDriverClassObject});
    // Output phase objects are made only by the driver object.
    CoRegisterClass({CLSID_ZPV4870OutputPhase, L"ZPV4870.OutputPhase.1", L"ZPV4870.OutputPhase", nullptr});
    return true;
}();

// What registration writes: the AppID, and per class its ProgIDs and CLSID key.
constexpr const char* kAppId = "{1705EE23-A82D-4705-8A6D-06454AF60725}";
constexpr const char* kLibId = "{82F39A57-AAEB-43C7-9C6E-D2103544D6BB}";

struct ClassEntry {
    const CLSID* clsid;
    const char* progId;
    const char* description;
};
const ClassEntry kClasses[] = {
    {&CLSID_ZPV4870OutputPhase, "ZPV4870.OutputPhase", "ZPV4870OutputPhase Class"},
    {&CLSID_ZPV4870, "ZPV4870.ZPV4870", "ZPV4870 Class"},
};

std::string GuidText(const CLSID& clsid) {
    wchar_t text[40];
    StringFromGUID2(clsid, text, 40);
    return Utf8FromWide(text);
}

// The real path of this library, wherever the process found it.
std::string ModulePath() {
    Dl_info info{};
    if (!::dladdr(reinterpret_cast<void*>(&GetDriverClassObject), &info) || !info.dli_fname) return {};
    char resolved[PATH_MAX];
    return ::realpath(info.dli_fname, resolved) ? resolved : info.dli_fname;
}

HRESULT Register(bool perUser, bool install) {
    const std::string root = perUser ? "HKEY_CURRENT_USER\\Software\\Classes\\" : "HKEY_CLASSES_ROOT\\";
    const std::string module = ModulePath();
    if (install && module.empty()) return E_FAIL;
    const std::string moduleName = module.substr(module.rfind('/') + 1);
    const std::string error = registry::Change(perUser ? registry::Scope::User : registry::Scope::Machine,
                                               [&](registry::Keys& keys) {
        // The AppID key itself stays; the driver's keys under it go on unregistering, including a
        // module-name key written by an install from another path.
        std::vector<std::string> moduleKeys;
        const std::string appIdRoot = root + "AppID\\";
        for (const auto& [key, values] : keys) {
            const auto appId = values.find("AppID");
            if (key.size() > appIdRoot.size() && strncasecmp(key.c_str(), appIdRoot.c_str(), appIdRoot.size()) == 0 &&
                key.find('\\', appIdRoot.size()) == std::string::npos && appId != values.end() && appId->second == kAppId)
                moduleKeys.push_back(key);
        }
        for (const std::string& key : moduleKeys) registry::DeleteTree(keys, key);
        registry::DeleteTree(keys, appIdRoot + kAppId);
        if (install) {
            keys[appIdRoot + kAppId][""] = "ZPV4870Lib";
            keys[appIdRoot + moduleName]["AppID"] = kAppId;
        }
        for (const ClassEntry& c : kClasses) {
            const std::string clsid = GuidText(*c.clsid), progId = c.progId, versioned = progId + ".1";
            registry::DeleteTree(keys, root + versioned);
            registry::DeleteTree(keys, root + progId);
            registry::DeleteTree(keys, root + "CLSID\\" + clsid);
            if (!install) continue;
            keys[root + versioned][""] = c.description;
            keys[root + versioned + "\\CLSID"][""] = clsid;
            keys[root + progId][""] = c.description;
            keys[root + progId + "\\CLSID"][""] = clsid;
            keys[root + progId + "\\CurVer"][""] = versioned;
            const std::string key = root + "CLSID\\" + clsid;
            keys[key][""] = c.description;
            keys[key]["AppID"] = kAppId;
            keys[key + "\\ProgID"][""] = versioned;
            keys[key + "\\VersionIndependentProgID"][""] = progId;
            keys[key + "\\InprocServer32"][""] = module;
            keys[key + "\\InprocServer32"]["ThreadingModel"] = "Both";
            keys[key + "\\TypeLib"][""] = kLibId;
        }
    });
    return error.empty() ? S_OK : E_ACCESSDENIED;
}

}  // namespace

}  // namespace zpv::com

// Live driver and phase objects hold the module as much as LockServer does.
extern "C" ZPV_API HRESULT DllCanUnloadNow() {
    return zpv::com::gModuleLocks == 0 && zpv::com::LiveObjects() == 0 ? S_OK : S_FALSE;
}

// Registration writes the machine's registry; DllInstall(…, L"user") the user's own.
extern "C" ZPV_API HRESULT DllRegisterServer() { return zpv::com::Register(false, true); }

extern "C" ZPV_API HRESULT DllUnregisterServer() { return zpv::com::Register(false, false); }

extern "C" ZPV_API HRESULT DllInstall(int bInstall, const wchar_t* pszCmdLine) {
    const bool perUser = pszCmdLine && std::wstring_view(pszCmdLine).size() == 4 &&
                         wcsncasecmp(pszCmdLine, L"user", 5) == 0;
    if (!bInstall) return zpv::com::Register(perUser, false);
    const HRESULT hr = zpv::com::Register(perUser, true);
    if (FAILED(hr)) zpv::com::Register(perUser, false);  // nothing half-registered stays
    return hr;
}

extern "C" ZPV_API HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (rclsid != CLSID_ZPV4870) return CLASS_E_CLASSNOTAVAILABLE;
    return zpv::com::GetDriverClassObject(riid, ppv);
}
