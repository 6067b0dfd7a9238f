// A host program that knows the driver only by ProgID: it carries the object runtime but not the
// driver, so the driver's module can only come from its registration.
//   host_by_progid progid|clsid     exit 0 and the model on success, else the status and 3
#include <cstdio>
#include <cstring>

#include "ZPV4870.h"

int main(int argc, char** argv) {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    CLSID clsid = CLSID_ZPV4870;
    if (argc > 1 && std::strcmp(argv[1], "progid") == 0) {
        const HRESULT hr = CLSIDFromProgID(L"ZPV4870.ZPV4870", &clsid);
        if (FAILED(hr)) {
            std::printf("CLSIDFromProgID 0x%08X\n", static_cast<unsigned>(hr));
            return 3;
        }
    }
    IIviDriver* driver = nullptr;
    HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IIviDriver, reinterpret_cast<void**>(&driver));
    if (FAILED(hr)) {
        std::printf("CoCreateInstance 0x%08X\n", static_cast<unsigned>(hr));
        return 3;
    }
    BSTR resource = SysAllocString(L""), options = SysAllocString(L"Simulate=true, DriverSetup=Model=ZPV-4824-Advanced");
    hr = driver->Initialize(resource, VARIANT_FALSE, VARIANT_FALSE, options);
    IIviDriverIdentity* identity = nullptr;
    BSTR model = nullptr;
    if (SUCCEEDED(hr)) hr = driver->QueryInterface(IID_IIviDriverIdentity, reinterpret_cast<void**>(&identity));
    if (SUCCEEDED(hr)) hr = identity->get_InstrumentModel(&model);
    if (FAILED(hr)) {
        std::printf("driver 0x%08X\n", static_cast<unsigned>(hr));
        return 3;
    }
    std::printf("model %ls\n", model);
    SysFreeString(model);
    identity->Release();
    driver->Close();
    driver->Release();
    SysFreeString(resource);
    SysFreeString(options);
    return 0;
}
