// Opens a simulated session through both faces of the installed library.
#include <cstdio>

#include <zpv4870/driver.hpp>
#include <zpv4870/find.hpp>

#include "ZPV4870.h"
#include "zpv4870.h"

int main() {
    ViSession vi = 0;
    if (ZPV4870_InitWithOptions("", VI_TRUE, VI_FALSE, "Simulate=true", &vi) != VI_SUCCESS) return 1;
    ViReal64 level = 0;
    const bool ok = ZPV4870_SetAttributeViReal64(vi, "OutputPhase1", ZPV4870_ATTR_VOLTAGE_LEVEL, 115.0) == VI_SUCCESS &&
                    ZPV4870_GetAttributeViReal64(vi, "OutputPhase1", ZPV4870_ATTR_VOLTAGE_LEVEL, &level) == VI_SUCCESS &&
                    level == 115.0;
    ZPV4870_close(vi);

    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    CComPtr<IIviDriver> driver;
    CoCreateInstance(CLSID_ZPV4870, nullptr, CLSCTX_INPROC_SERVER, IID_IIviDriver, reinterpret_cast<void**>(&driver));
    CComBSTR resource(L""), options(L"Simulate=true");
    const bool objectOk = driver && driver->Initialize(resource, VARIANT_FALSE, VARIANT_FALSE, options) == S_OK;
    zpv4870::Driver face("", {.simulate = true});
    face.ivi().output_phases().phase(1).voltage_level(120.0);
    const bool faceOk = face.ivi().output_phases().phase("OutputPhase1").voltage_level() == 120.0;
    // Discovery's face: its text read back, and a bad timeout refused before anything is sent.
    const auto found = zpv4870::parse_found_instruments("instrument\t10.0.0.5\tKaltrix\tZPV-4803-Advanced\tS1\t1.00\t"
                                                        "\tTCPIP0::10.0.0.5::inst0::INSTR\nnote\tasked\n");
    bool findOk = found.instruments.size() == 1 && found.instruments[0].resources.size() == 1 && found.notes.size() == 1;
    try {
        zpv4870::find_instruments({.timeout = std::chrono::milliseconds(0)});
        findOk = false;
    } catch (const zpv4870::InvalidValue&) {
    }
    std::printf("C interface %s, object interface %s, C++ face %s, find %s\n", ok ? "ok" : "FAILED",
                objectOk ? "ok" : "FAILED", faceOk ? "ok" : "FAILED", findOk ? "ok" : "FAILED");
    return ok && objectOk && faceOk && findOk ? 0 : 1;
}
