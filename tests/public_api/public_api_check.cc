// Builds against the installed headers and the shared library only, as a user's program would:
// the driver is found by ProgID, a simulated session opens and closes, and failures carry their
// published description.
#include <cstdio>
#include <cwchar>

#include "ZPV4870.h"

static int failures = 0;
#define EXPECT(cond)                                                     \
    do {                                                                 \
        if (!(cond)) {                                                   \
            std::fprintf(stderr, "%s:%d: %s\n", __FILE__, __LINE__, #cond); \
            ++failures;                                                  \
        }                                                                \
    } while (0)

int main() {
    EXPECT(CoInitializeEx(nullptr, COINIT_MULTITHREADED) == S_OK);
    CLSID clsid{};
    EXPECT(CLSIDFromProgID(L"ZPV4870.ZPV4870", &clsid) == S_OK);
    EXPECT(clsid == CLSID_ZPV4870);

    CComPtr<IIviDriver> driver;
    EXPECT(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IIviDriver, reinterpret_cast<void**>(&driver)) ==
           S_OK);
    if (!driver) return 1;

    CComBSTR resource(L"");
    CComBSTR options(L"Simulate=true, DriverSetup=Model=ZPV-4816-Standard");
    EXPECT(driver->Initialize(resource, VARIANT_TRUE, VARIANT_FALSE, options) == S_OK);

    CComPtr<IIviDriverIdentity> identity;
    EXPECT(driver->QueryInterface(&identity) == S_OK);
    CComBSTR model;
    EXPECT(identity->get_InstrumentModel(&model) == S_OK);
    EXPECT(model.Get() && std::wcscmp(model, L"ZPV-4816-Standard") == 0);

    EXPECT(driver->Initialize(resource, VARIANT_FALSE, VARIANT_FALSE, options) == static_cast<HRESULT>(0x80047061));
    CComPtr<IErrorInfo> info;
    EXPECT(GetErrorInfo(0, &info) == S_OK);
    CComBSTR description;
    if (info) info->GetDescription(&description);
    EXPECT(description.Get() && std::wcscmp(description, L"ZPV4870: The driver is already initialized.") == 0);

    EXPECT(driver->Close() == S_OK);
    driver.Release();
    CoUninitialize();
    if (failures == 0) std::puts("public API check passed");
    return failures == 0 ? 0 : 1;
}
