// The in-process module: the driver's class object, and its registration with the runtime's
// class table when the library loads, so CLSIDFromProgID(L"ZPV4870.ZPV4870") and
// CoCreateInstance find the driver.
#include <atomic>

#include "ZPV4870.h"
#include "objects/zpv4870_driver.h"
#include "platform/com/com_object.h"

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

}  // namespace

}  // namespace zpv::com

extern "C" ZPV_API HRESULT DllCanUnloadNow() { return zpv::com::gModuleLocks == 0 ? S_OK : S_FALSE; }

extern "C" ZPV_API HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (rclsid != CLSID_ZPV4870) return CLASS_E_CLASSNOTAVAILABLE;
    return zpv::com::GetDriverClassObject(riid, ppv);
}
