// Builds a three-sequence list program on a ZPV4870 Advanced source, runs it, and prints the
// results the instrument logged for each sequence.
//
//   list_program <resource>        e.g. TCPIP0::127.0.0.1::5025::SOCKET
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ZPV4870.h"

namespace {

void Check(HRESULT hr, const char* what) {
    if (SUCCEEDED(hr)) return;
    CComPtr<IErrorInfo> info;
    CComBSTR description;
    if (GetErrorInfo(0, &info) == S_OK) info->GetDescription(&description);
    std::fprintf(stderr, "%s failed (0x%08X): %ls\n", what, static_cast<unsigned>(hr),
                 description.Get() ? description.Get() : L"");
    std::exit(1);
}

struct SequenceSetting {
    double voltageStart, voltageEnd, frequency, seconds, currentHigh;
};

constexpr SequenceSetting kSequences[] = {
    {0.0, 115.0, 60.0, 2.0, 6.0},    // ramp up
    {115.0, 115.0, 60.0, 5.0, 5.0},  // dwell
    {230.0, 230.0, 50.0, 3.0, 3.0},  // step to 230 V / 50 Hz
};

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
        Check(driver->Initialize(name, VARIANT_TRUE, VARIANT_TRUE, options), "Initialize");

        CComPtr<IZPV4870ListMode> list;
        Check(driver->get_ListMode(&list), "ListMode");
        CComPtr<IZPV4870ListModeProgram> program;
        CComPtr<IZPV4870ListModeSequence> sequence;
        Check(list->get_Program(&program), "Program");
        Check(list->get_Sequence(&sequence), "Sequence");

        std::printf("Building the list program\n");
        Check(program->put_Base(ZPV4870BaseTime), "put_Base");
        Check(program->put_Trigger(ZPV4870TriggerAUTO), "put_Trigger");
        Check(program->put_Count(1), "put_Count");
        // A fresh program may already hold sequences: reuse those, add the rest.
        LONG existing = 0;
        Check(sequence->GetTotalSequence(&existing), "GetTotalSequence");
        LONG index = 0;
        for (const SequenceSetting& s : kSequences) {
            if (++index > existing) Check(sequence->Add(), "Add");
            Check(sequence->Edit(index), "Edit");
            Check(sequence->put_Waveform(ZPV4870WaveformSINE), "put_Waveform");
            Check(sequence->put_VoltageAcStart(s.voltageStart), "put_VoltageAcStart");
            Check(sequence->put_VoltageAcEnd(s.voltageEnd), "put_VoltageAcEnd");
            Check(sequence->put_FrequencyStart(s.frequency), "put_FrequencyStart");
            Check(sequence->put_FrequencyEnd(s.frequency), "put_FrequencyEnd");
            Check(sequence->put_TimeUnit(ZPV4870TimeUnitSecond), "put_TimeUnit");
            Check(sequence->put_Time(s.seconds), "put_Time");
            Check(sequence->put_CurrentHighLimit(s.currentHigh), "put_CurrentHighLimit");
            std::printf("  sequence %ld: %g -> %g V, %g Hz, %g s, current limit %g A\n", static_cast<long>(index),
                        s.voltageStart, s.voltageEnd, s.frequency, s.seconds, s.currentHigh);
        }

        CComPtr<IZPV4870Execution> execution;
        Check(driver->get_Execution(&execution), "Execution");
        std::printf("Running it\n");
        Check(execution->SetOperationMode(ZPV4870OperationModeList), "SetOperationMode");
        Check(execution->SetOutputEnable(ZPV4870OutputON), "SetOutputEnable");
        Check(execution->SetOutputEnable(ZPV4870OutputOFF), "SetOutputEnable");

        CComPtr<IZPV4870Result> result;
        Check(driver->get_Result(&result), "Result");
        LONG total = 0;
        Check(result->get_TotalSequence(&total), "get_TotalSequence");
        std::printf("Results of %ld sequences (AC V, DC V, V, AC A, DC A, A, Hz, W, PF, peak A, var, crest, VA):\n",
                    static_cast<long>(total));
        for (LONG i = 1; i <= total; ++i) {
            Check(result->put_SequenceIndex(i), "put_SequenceIndex");
            CComBSTR all;
            Check(result->GetAll(&all), "GetAll");
            std::printf("  %ld: %ls\n", static_cast<long>(i), all.Get());
        }
        Check(driver->Close(), "Close");
    }
    CoUninitialize();
    return 0;
}
