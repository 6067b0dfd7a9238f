// The C wrappers put on the wire exactly what the object members they call put there: one
// representative of each family, against a recording instrument on loopback.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ZPV4870.h"
#include "integration/recording_instrument.h"
#include "platform/com/text_conversion.h"
#include "zpv4870.h"

namespace zpv::capi {
namespace {

using driver::test::RecordingInstrument;
using Lines = std::vector<std::string>;

template <class I>
CComPtr<I> Group(IUnknown* driver) {
    CComPtr<I> group;
    driver->QueryInterface(ZPV_IID_OF(I), reinterpret_cast<void**>(&group));
    return group;
}

template <class I>
CComPtr<I> Phase(IUnknown* driver) {
    CComPtr<IZPV4870OutputPhase> phase;
    Group<IZPV4870OutputPhases>(driver)->get_Item(nullptr, &phase);
    CComPtr<I> group;
    phase->QueryInterface(ZPV_IID_OF(I), reinterpret_cast<void**>(&group));
    return group;
}

struct Step {
    const char* name;
    std::function<ViStatus(ViSession)> c;
    std::function<HRESULT(IUnknown*)> object;
};

// What a C string output held after the call, and what the object gave.
std::string gCText, gObjectText;
ViReal64 gCReal;
double gObjectReal;

const std::vector<Step>& Steps() {
    static const std::vector<Step> steps = {
        {"Add", [](ViSession vi) { return ZPV4870_Add(vi, "A.LST"); },
         [](IUnknown* d) { return Group<IZPV4870ListModeFile>(d)->Add(CComBSTR(L"A.LST")); }},
        {"Copy", [](ViSession vi) { return ZPV4870_Copy(vi, "A.LST", "B.LST"); },
         [](IUnknown* d) { return Group<IZPV4870ListModeFile>(d)->Copy(CComBSTR(L"A.LST"), CComBSTR(L"B.LST")); }},
        {"Load", [](ViSession vi) { return ZPV4870_Load(vi, "B.LST"); },
         [](IUnknown* d) { return Group<IZPV4870ListModeFile>(d)->Load(CComBSTR(L"B.LST")); }},
        {"GetFileName",
         [](ViSession vi) {
             ViChar text[64];
             const ViStatus s = ZPV4870_GetFileName(vi, sizeof text, text);
             gCText = text;
             return s;
         },
         [](IUnknown* d) {
             CComBSTR text;
             const HRESULT hr = Group<IZPV4870ListModeFile>(d)->GetFileName(&text);
             gObjectText = com::Utf8FromBstr(text);
             return hr;
         }},
        {"GetFileTotal",
         [](ViSession vi) { return ZPV4870_GetFileTotal(vi, &gCReal); },
         [](IUnknown* d) { return Group<IZPV4870ListModeFile>(d)->GetFileTotal(&gObjectReal); }},
        {"Add2", [](ViSession vi) { return ZPV4870_Add2(vi); },
         [](IUnknown* d) { return Group<IZPV4870ListModeSequence>(d)->Add(); }},
        {"Copy2", [](ViSession vi) { return ZPV4870_Copy2(vi, 2); },
         [](IUnknown* d) { return Group<IZPV4870ListModeSequence>(d)->Copy(2); }},
        {"Edit2", [](ViSession vi) { return ZPV4870_Edit2(vi, 3); },
         [](IUnknown* d) { return Group<IZPV4870ListModeSequence>(d)->Edit(3); }},
        {"Delete2", [](ViSession vi) { return ZPV4870_Delete2(vi, 3); },
         [](IUnknown* d) { return Group<IZPV4870ListModeSequence>(d)->Delete(3); }},
        {"Add3", [](ViSession vi) { return ZPV4870_Add3(vi, "M.FIL"); },
         [](IUnknown* d) { return Group<IZPV4870ManualModeFile>(d)->Add(CComBSTR(L"M.FIL")); }},
        {"Load2", [](ViSession vi) { return ZPV4870_Load2(vi, "M.FIL"); },
         [](IUnknown* d) { return Group<IZPV4870ManualModeFile>(d)->Load(CComBSTR(L"M.FIL")); }},
        {"Edit4", [](ViSession vi) { return ZPV4870_Edit4(vi, "P.FIL"); },
         [](IUnknown* d) { return Group<IZPV4870PulseModeFile>(d)->Edit(CComBSTR(L"P.FIL")); }},
        {"Delete5", [](ViSession vi) { return ZPV4870_Delete5(vi, "S.FIL"); },
         [](IUnknown* d) { return Group<IZPV4870StepModeFile>(d)->Delete(CComBSTR(L"S.FIL")); }},
        {"GetLoadFile4",
         [](ViSession vi) {
             ViChar text[64];
             return ZPV4870_GetLoadFile4(vi, sizeof text, text);
         },
         [](IUnknown* d) {
             CComBSTR text;
             return Group<IZPV4870StepModeFile>(d)->GetLoadFile(&text);
         }},
        {"Configure", [](ViSession vi) { return ZPV4870_Configure(vi, "OutputPhase1", VI_FALSE, 5.0, 0.5); },
         [](IUnknown* d) { return Phase<IZPV4870OutputPhaseCurrentProtection>(d)->Configure(VARIANT_FALSE, 5.0, 0.5); }},
        {"Configure2",
         [](ViSession vi) { return ZPV4870_Configure2(vi, "OutputPhase1", ZPV4870_VAL_DC_GENERATION_MODE_AC_PLUS_DC, 12.5); },
         [](IUnknown* d) {
             return Phase<IZPV4870OutputPhaseDCGeneration>(d)->Configure(ZPV4870DCGenerationModeACPlusDC, 12.5);
         }},
        {"Reset2", [](ViSession vi) { return ZPV4870_Reset2(vi, ""); },
         [](IUnknown* d) { return Phase<IZPV4870OutputPhaseCurrentProtection>(d)->Reset(); }},
        {"Reset3", [](ViSession vi) { return ZPV4870_Reset3(vi, VI_NULL); },
         [](IUnknown* d) { return Phase<IZPV4870OutputPhaseVoltageProtection>(d)->Reset(); }},
        {"VoltageAC", [](ViSession vi) { return ZPV4870_VoltageAC(vi, &gCReal); },
         [](IUnknown* d) { return Group<IZPV4870Measure>(d)->VoltageAC(&gObjectReal); }},
        {"GetAll",
         [](ViSession vi) {
             ViChar text[256];
             return ZPV4870_GetAll(vi, sizeof text, text);
         },
         [](IUnknown* d) {
             CComBSTR text;
             return Group<IZPV4870Result>(d)->GetAll(&text);
         }},
        {"SetOperationMode", [](ViSession vi) { return ZPV4870_SetOperationMode(vi, ZPV4870_VAL_OPERATION_MODE_PULSE); },
         [](IUnknown* d) { return Group<IZPV4870Execution>(d)->SetOperationMode(ZPV4870OperationModePulse); }},
        {"SetOutputEnable", [](ViSession vi) { return ZPV4870_SetOutputEnable(vi, ZPV4870_VAL_OUTPUT_ON); },
         [](IUnknown* d) { return Group<IZPV4870Execution>(d)->SetOutputEnable(ZPV4870OutputON); }},
        {"reset", [](ViSession vi) { return ZPV4870_reset(vi); },
         [](IUnknown* d) { return Group<IIviDriverUtility>(d)->Reset(); }},
    };
    return steps;
}

class CWrapperBytes : public ::testing::Test {
protected:
    void SetUp() override {
        const std::wstring wide = instrument.Resource();
        resource.assign(wide.begin(), wide.end());
        instrument.Answer("*IDN?", "Kaltrix,ZPV-4832-Advanced,SN1,1.0");
        instrument.Answer("LIST:FILE:NAME?", "B.LST");
        instrument.Answer("LIST:FILE:TOT?", "3");
        instrument.Answer("MEAS:VOLT:AC?", "229.75");
    }
    ViSession OpenC(const char* options = "") {
        ViSession vi = 0;
        EXPECT_EQ(ZPV4870_InitWithOptions(resource.c_str(), VI_FALSE, VI_FALSE, options, &vi), VI_SUCCESS);
        instrument.Forget();
        return vi;
    }

    RecordingInstrument instrument;
    std::string resource;
};

TEST_F(CWrapperBytes, EachFamilySendsWhatItsMemberSends) {
    std::vector<Lines> fromC, fromObject;
    {
        const ViSession vi = OpenC();
        for (const Step& step : Steps()) {
            EXPECT_EQ(step.c(vi), VI_SUCCESS) << step.name;
            fromC.push_back(instrument.Received());
            instrument.Forget();
        }
        EXPECT_EQ(ZPV4870_close(vi), VI_SUCCESS);
    }
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
    {
        CComPtr<IIviDriver> driver;
        ASSERT_EQ(CoCreateInstance(CLSID_ZPV4870, nullptr, CLSCTX_INPROC_SERVER, IID_IIviDriver,
                                   reinterpret_cast<void**>(&driver)),
                  S_OK);
        ASSERT_EQ(driver->Initialize(CComBSTR(instrument.Resource().c_str()), VARIANT_FALSE, VARIANT_FALSE, CComBSTR(L"")),
                  S_OK);
        instrument.Forget();
        for (const Step& step : Steps()) {
            EXPECT_EQ(step.object(driver), S_OK) << step.name;
            fromObject.push_back(instrument.Received());
            instrument.Forget();
        }
        driver->Close();
    }
    CoUninitialize();
    ASSERT_EQ(fromC.size(), fromObject.size());
    for (std::size_t i = 0; i < fromC.size(); ++i) {
        EXPECT_FALSE(fromC[i].empty()) << Steps()[i].name;
        EXPECT_EQ(fromC[i], fromObject[i]) << Steps()[i].name;
    }
    // The outputs carry the same values.
    EXPECT_EQ(gCText, "B.LST");
    EXPECT_EQ(gCText, gObjectText);
    EXPECT_EQ(gCReal, 229.75);
    EXPECT_EQ(gCReal, gObjectReal);
}

TEST_F(CWrapperBytes, AllPhasesStopAtTheFirstPhaseThatFails) {
    const ViSession vi = OpenC("QueryInstrStatus=true");
    // The instrument reports an error after the second write: the third is never sent.
    instrument.AnswerInTurn("*ESR?", {"0", "32"});
    EXPECT_EQ(ZPV4870_Configure2(vi, "OutputPhase1,outputphase1,OUTPUTPHASE1", ZPV4870_VAL_DC_GENERATION_MODE_DC_ONLY,
                                 5.0),
              ZPV4870_ERROR_INSTRUMENT_STATUS);
    EXPECT_EQ(instrument.Received(), (Lines{"MAN:COUP DC;VOLT:DC 5", "*ESR?", "MAN:COUP DC;VOLT:DC 5", "*ESR?"}));
    ViChar text[256];
    ViStatus code = 0;
    ZPV4870_GetError(vi, &code, sizeof text, text);
    EXPECT_EQ(std::string(text).rfind("ZPV4870: Instrument error detected.", 0), 0u) << text;
    EXPECT_EQ(ZPV4870_close(vi), VI_SUCCESS);
}

TEST_F(CWrapperBytes, DirectBytesGoOutAndComeBackUnchanged) {
    const ViSession vi = OpenC();
    const ViByte query[] = {'*', 'I', 'D', 'N', '?', '\n'};
    ViInt32 count = -1;
    EXPECT_EQ(ZPV4870_viWrite(vi, query, sizeof query, &count), VI_SUCCESS);
    EXPECT_EQ(count, 6);
    ViByte answer[64] = {};
    EXPECT_EQ(ZPV4870_viRead(vi, answer, sizeof answer, &count), VI_SUCCESS);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(answer), count), "Kaltrix,ZPV-4832-Advanced,SN1,1.0\n");
    // A buffer too small takes what fits and says the response goes on; the rest stays for the
    // next reads, which reassemble it byte for byte; the last piece returns success.
    EXPECT_EQ(ZPV4870_viWrite(vi, query, sizeof query, &count), VI_SUCCESS);
    ViByte small[7] = {};
    EXPECT_EQ(ZPV4870_viRead(vi, small, sizeof small, &count), static_cast<ViStatus>(0x00040102));
    EXPECT_EQ(count, 7);
    std::string whole(reinterpret_cast<char*>(small), 7);
    EXPECT_EQ(whole, "Kaltrix");
    EXPECT_EQ(ZPV4870_viRead(vi, small, 0, &count), VI_SUCCESS);  // consumes nothing
    EXPECT_EQ(count, 0);
    EXPECT_EQ(ZPV4870_viRead(vi, VI_NULL, 10, &count), VI_SUCCESS);
    EXPECT_EQ(count, 0);
    ViStatus status = 0;
    for (int pieces = 0; pieces < 10; ++pieces) {
        ViByte piece[10];
        status = ZPV4870_viRead(vi, piece, sizeof piece, &count);
        ASSERT_GE(status, VI_SUCCESS);
        whole.append(reinterpret_cast<char*>(piece), static_cast<std::size_t>(count));
        if (status == VI_SUCCESS) break;
        EXPECT_EQ(status, static_cast<ViStatus>(0x00040102));
        EXPECT_EQ(count, 10);
    }
    EXPECT_EQ(status, VI_SUCCESS);
    EXPECT_EQ(whole, "Kaltrix,ZPV-4832-Advanced,SN1,1.0\n");
    // Nothing of the first answer is left to be read as the next one.
    EXPECT_EQ(ZPV4870_viWrite(vi, query, sizeof query, &count), VI_SUCCESS);
    EXPECT_EQ(ZPV4870_viRead(vi, answer, sizeof answer, &count), VI_SUCCESS);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(answer), count), "Kaltrix,ZPV-4832-Advanced,SN1,1.0\n");
    EXPECT_EQ(ZPV4870_close(vi), VI_SUCCESS);
}

}  // namespace
}  // namespace zpv::capi
