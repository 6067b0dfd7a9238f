// Creates the driver, opens a simulated session on a ZPV-4832-Standard, prints what the driver
// knows about itself and the instrument, then closes the session.
#include <cstdio>
#include <cstdlib>

#include "ZPV4870.h"

namespace {

// Prints the failure's description from the thread's error information and exits.
void Check(HRESULT hr, const char* what) {
    if (SUCCEEDED(hr)) return;
    IErrorInfo* info = nullptr;
    BSTR description = nullptr;
    if (GetErrorInfo(0, &info) == S_OK) {
        info->GetDescription(&description);
        info->Release();
    }
    std::fprintf(stderr, "%s failed: 0x%08X %ls\n", what, static_cast<unsigned>(hr), description ? description : L"");
    SysFreeString(description);
    std::exit(1);
}

void PrintText(const char* label, HRESULT (IIviDriverIdentity::*getter)(BSTR*), IIviDriverIdentity* identity) {
    BSTR value = nullptr;
    Check((identity->*getter)(&value), label);
    std::printf("%-28s %ls\n", label, value ? value : L"");
    SysFreeString(value);
}

void PrintFlag(const char* label, HRESULT (IIviDriverOperation::*getter)(VARIANT_BOOL*), IIviDriverOperation* op) {
    VARIANT_BOOL value = VARIANT_FALSE;
    Check((op->*getter)(&value), label);
    std::printf("%-28s %s\n", label, value ? "true" : "false");
}

}  // namespace

int main() {
    Check(CoInitializeEx(nullptr, COINIT_MULTITHREADED), "CoInitializeEx");

    CLSID clsid;
    Check(CLSIDFromProgID(L"ZPV4870.ZPV4870", &clsid), "CLSIDFromProgID");
    IIviDriver* driver = nullptr;
    Check(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IIviDriver, reinterpret_cast<void**>(&driver)),
          "CoCreateInstance");

    BSTR resource = SysAllocString(L"");
    BSTR options = SysAllocString(L"Simulate=true, DriverSetup=Model=ZPV-4832-Standard");
    Check(driver->Initialize(resource, VARIANT_TRUE, VARIANT_TRUE, options), "Initialize");
    SysFreeString(resource);
    SysFreeString(options);

    IIviDriverIdentity* identity = nullptr;
    IIviDriverOperation* operation = nullptr;
    Check(driver->get_Identity(&identity), "Identity");
    Check(driver->get_DriverOperation(&operation), "DriverOperation");

    PrintText("Driver", &IIviDriverIdentity::get_Description, identity);
    PrintText("Vendor", &IIviDriverIdentity::get_Vendor, identity);
    PrintText("Revision", &IIviDriverIdentity::get_Revision, identity);
    PrintText("Identifier", &IIviDriverIdentity::get_Identifier, identity);
    PrintText("Instrument manufacturer", &IIviDriverIdentity::get_InstrumentManufacturer, identity);
    PrintText("Instrument model", &IIviDriverIdentity::get_InstrumentModel, identity);
    PrintText("Instrument firmware", &IIviDriverIdentity::get_InstrumentFirmwareRevision, identity);

    PrintFlag("Cache", &IIviDriverOperation::get_Cache, operation);
    PrintFlag("InterchangeCheck", &IIviDriverOperation::get_InterchangeCheck, operation);
    PrintFlag("QueryInstrumentStatus", &IIviDriverOperation::get_QueryInstrumentStatus, operation);
    PrintFlag("RangeCheck", &IIviDriverOperation::get_RangeCheck, operation);
    PrintFlag("RecordCoercions", &IIviDriverOperation::get_RecordCoercions, operation);
    PrintFlag("Simulate", &IIviDriverOperation::get_Simulate, operation);

    identity->Release();
    operation->Release();
    Check(driver->Close(), "Close");
    driver->Release();
    CoUninitialize();
    std::puts("Session closed.");
    return 0;
}
