// A small test program against a ZPV4870 source: opens the instrument (identity check and reset),
// turns on instrument status checking, sets voltage, frequency and current limit, switches the
// output on, reads everything back and asks the instrument for errors.
//
//   output_check <resource>        e.g. TCPIP0::127.0.0.1::5025::SOCKET
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ZPV4870.h"

namespace {

[[noreturn]] void Fail(HRESULT hr, const char* what) {
    CComPtr<IErrorInfo> info;
    CComBSTR description;
    if (GetErrorInfo(0, &info) == S_OK) info->GetDescription(&description);
    std::fprintf(stderr, "%s failed (0x%08X): %ls\n", what, static_cast<unsigned>(hr),
                 description.Get() ? description.Get() : L"");
    std::exit(1);
}

void Check(HRESULT hr, const char* what) {
    if (FAILED(hr)) Fail(hr, what);
}

template <class I>
CComPtr<I> Group(IZPV4870* root, HRESULT (IZPV4870::*getter)(I**), const char* what) {
    CComPtr<I> group;
    Check((root->*getter)(&group), what);
    return group;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <resource descriptor>\n", argv[0]);
        return 2;
    }
    Check(CoInitializeEx(nullptr, COINIT_MULTITHREADED), "CoInitializeEx");
    {
        CLSID clsid;
        Check(CLSIDFromProgID(L"ZPV4870.ZPV4870", &clsid), "CLSIDFromProgID");
        CComPtr<IZPV4870> driver;
        Check(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IZPV4870, reinterpret_cast<void**>(&driver)),
              "CoCreateInstance");

        const std::string resource = argv[1];
        CComBSTR name(std::wstring(resource.begin(), resource.end()).c_str());
        CComBSTR options(L"QueryInstrStatus=true");
        std::printf("Opening %s with identity check and reset\n", resource.c_str());
        Check(driver->Initialize(name, VARIANT_TRUE, VARIANT_TRUE, options), "Initialize");

        CComPtr<IIviDriverIdentity> identity;
        Check(driver->get_Identity(&identity), "Identity");
        CComBSTR vendor, model, firmware;
        Check(identity->get_InstrumentManufacturer(&vendor), "InstrumentManufacturer");
        Check(identity->get_InstrumentModel(&model), "InstrumentModel");
        Check(identity->get_InstrumentFirmwareRevision(&firmware), "InstrumentFirmwareRevision");
        std::printf("Instrument: %ls %ls, firmware %ls\n", vendor.Get(), model.Get(), firmware.Get());

        auto phases = Group(driver, &IZPV4870::get_OutputPhases, "OutputPhases");
        CComPtr<IZPV4870OutputPhase> phase;
        CComBSTR phaseName(L"OutputPhase1");
        Check(phases->get_Item(phaseName, &phase), "Item");

        std::printf("Setting 230.5 V, 50 Hz, current limit 4.2 A\n");
        Check(phase->put_VoltageLevel(230.5), "put_VoltageLevel");
        Check(phases->put_Frequency(50), "put_Frequency");
        Check(phase->put_CurrentLimit(4.2), "put_CurrentLimit");

        auto execution = Group(driver, &IZPV4870::get_Execution, "Execution");
        std::printf("Switching the output on\n");
        Check(execution->SetOutputEnable(ZPV4870OutputON), "SetOutputEnable");

        double voltage = 0, frequency = 0, current = 0;
        ZPV4870OutputEnum output = ZPV4870OutputOFF;
        Check(phase->get_VoltageLevel(&voltage), "get_VoltageLevel");
        Check(phases->get_Frequency(&frequency), "get_Frequency");
        Check(phase->get_CurrentLimit(&current), "get_CurrentLimit");
        Check(execution->GetOutputEnable(&output), "GetOutputEnable");
        std::printf("Read back: %.4g V, %.4g Hz, %.4g A, output %s\n", voltage, frequency, current,
                    output == ZPV4870OutputON ? "on" : "off");

        auto measure = Group(driver, &IZPV4870::get_Measure, "Measure");
        CComBSTR all;
        Check(measure->All(&all), "Measure.All");
        std::printf("Measured: %ls\n", all.Get());

        CComPtr<IIviDriverUtility> utility;
        Check(driver->get_Utility(&utility), "Utility");
        LONG code = 0;
        CComBSTR message;
        Check(utility->ErrorQuery(&code, &message), "ErrorQuery");
        std::printf("Instrument error queue: %ld, %ls\n", static_cast<long>(code), message.Get());

        Check(execution->SetOutputEnable(ZPV4870OutputOFF), "SetOutputEnable");
        Check(driver->Close(), "Close");
        std::printf("Output off, session closed.\n");
    }
    CoUninitialize();
    return 0;
}
