// What the command set sends and how it reads answers, byte for byte, against a recording
// instrument on loopback.
#include "core/driver_fixture.h"
#include "integration/recording_instrument.h"

namespace zpv::driver::test {
namespace {

class CommandBytes : public DriverTest {
protected:
    void Open(const wchar_t* options = L"", const char* model = "ZPV-4832-Advanced") {
        instrument.Answer("*IDN?", std::string("Kaltrix,") + model + ",SN1,1.0");
        ASSERT_EQ(Init(options, true, false, instrument.Resource().c_str()), S_OK) << LastError();
        ASSERT_EQ(driver->QueryInterface(&root), S_OK);
        instrument.Forget();
    }
    template <class I>
    CComPtr<I> Group(HRESULT (IZPV4870::*getter)(I**)) {
        CComPtr<I> group;
        EXPECT_EQ((root.Get()->*getter)(&group), S_OK);
        return group;
    }
    CComPtr<IZPV4870OutputPhase> Phase() {
        CComPtr<IZPV4870OutputPhase> phase;
        EXPECT_EQ(Group(&IZPV4870::get_OutputPhases)->get_Item(nullptr, &phase), S_OK);
        return phase;
    }
    using Lines = std::vector<std::string>;

    RecordingInstrument instrument;
    CComPtr<IZPV4870> root;
};

TEST_F(CommandBytes, InitializeAsksForTheIdentityOnly) {
    instrument.Answer("*IDN?", "Kaltrix,ZPV-4816-Standard,SN7,3.1");
    ASSERT_EQ(Init(L"QueryInstrStatus=true", true, true, instrument.Resource().c_str()), S_OK) << LastError();
    EXPECT_EQ(instrument.Received(), (Lines{"*CLS", "*ESR?", "*IDN?", "*ESR?", "*RST;*OPC?", "*ESR?"}));
    EXPECT_EQ(Text(&IIviDriverIdentity::get_InstrumentModel), "ZPV-4816-Standard");
}

TEST_F(CommandBytes, OutputPhaseMembers) {
    Open();
    auto phase = Phase();
    EXPECT_EQ(phase->put_VoltageLevel(230.5), S_OK);
    EXPECT_EQ(instrument.Last(), "OUTP:VOLT:AC 230.5");
    EXPECT_EQ(phase->put_Enabled(VARIANT_TRUE), S_OK);
    EXPECT_EQ(instrument.Last(), "OUTP ON");
    EXPECT_EQ(phase->put_VoltageRange(ZPV4870RangeLow), S_OK);
    EXPECT_EQ(instrument.Last(), "MAN:RANG LOW");
    CComBSTR sine(L"Sine"), lower(L"sine");
    EXPECT_EQ(phase->put_Waveform(sine), S_OK);
    EXPECT_EQ(instrument.Last(), "MAN:WAVE Sine");
    instrument.Forget();
    EXPECT_EQ(phase->put_Waveform(lower), Hr(0x80047010));
    EXPECT_TRUE(instrument.Received().empty());
    ASSERT_EQ(operation->put_RangeCheck(VARIANT_FALSE), S_OK);
    EXPECT_EQ(phase->put_Waveform(lower), S_OK);
    EXPECT_EQ(instrument.Last(), "MAN:WAVE sine");

    instrument.Answer("OUTP?", "OFF");
    VARIANT_BOOL enabled = VARIANT_TRUE;
    EXPECT_EQ(phase->get_Enabled(&enabled), S_OK);
    EXPECT_EQ(enabled, VARIANT_FALSE);
    instrument.Answer("MAN:WAVE?", "Clipped");
    CComBSTR wave;
    EXPECT_EQ(phase->get_Waveform(&wave), S_OK);
    EXPECT_EQ(com::Utf8FromBstr(wave), "Clipped");

    CComPtr<IZPV4870OutputPhaseCurrentProtection> protection;
    ASSERT_EQ(phase->get_CurrentProtection(&protection), S_OK);
    EXPECT_EQ(protection->Configure(VARIANT_FALSE, 5, 0.5), S_OK);
    EXPECT_EQ(instrument.Last(), "MAN:CURR:HIGH 5;DEL 0.5");
    EXPECT_EQ(protection->put_Enabled(VARIANT_TRUE), S_OK);
    EXPECT_EQ(instrument.Last(), "MAN:CURR:HIGH ON");
    CComPtr<IZPV4870OutputPhaseDCGeneration> dc;
    ASSERT_EQ(phase->get_DCGeneration(&dc), S_OK);
    EXPECT_EQ(dc->Configure(ZPV4870DCGenerationModeACPlusDC, 10), S_OK);
    EXPECT_EQ(instrument.Last(), "MAN:COUP ACDC;VOLT:DC 10");
}

TEST_F(CommandBytes, ClassMembersSendNothingOutsideSimulation) {
    Open();
    CComPtr<IIviACPwr> acPwr;
    ASSERT_EQ(driver->QueryInterface(&acPwr), S_OK);
    CComPtr<IIviACPwrOutputPhases> phases;
    ASSERT_EQ(acPwr->get_OutputPhases(&phases), S_OK);
    CComPtr<IIviACPwrOutputPhase> phase;
    ASSERT_EQ(phases->get_Item(nullptr, &phase), S_OK);
    EXPECT_EQ(phase->put_VoltageLevel(120), E_NOTIMPL);
    CComPtr<IIviACPwrImpedance> impedance;
    ASSERT_EQ(phase->get_Impedance(&impedance), S_OK);
    EXPECT_EQ(impedance->put_Resistive(1), E_NOTIMPL);
    EXPECT_TRUE(instrument.Received().empty());
}

TEST_F(CommandBytes, SystemAndExecutionKeywords) {
    Open();
    auto system = Group(&IZPV4870::get_System);
    EXPECT_EQ(system->put_Analog(ZPV4870Analog5V), S_OK);
    EXPECT_EQ(instrument.Last(), "SYST:ANAL 5");
    instrument.Answer("SYST:ANAL?", "0-5V");
    ZPV4870AnalogEnum analog = ZPV4870AnalogOFF;
    EXPECT_EQ(system->get_Analog(&analog), S_OK);
    EXPECT_EQ(analog, ZPV4870Analog5V);
    EXPECT_EQ(system->put_MeterDisplay(ZPV4870MeterCurrentPeak), S_OK);
    EXPECT_EQ(instrument.Last(), "MET APEAK");
    EXPECT_EQ(system->put_Alarm(10), Hr(0x80047010));
    EXPECT_EQ(system->put_Lock(VARIANT_FALSE), S_OK);
    EXPECT_EQ(instrument.Last(), "SYST:LOCK OFF");
    instrument.Answer("SYST:SENS?", "EXT");
    ZPV4870VoltageSenseEnum sense = ZPV4870VoltageSenseINTERNAL;
    EXPECT_TRUE(FAILED(system->get_VoltageSense(&sense)));

    auto execution = Group(&IZPV4870::get_Execution);
    EXPECT_EQ(execution->SetOperationMode(ZPV4870OperationModeManual), S_OK);
    EXPECT_EQ(instrument.Last(), "OUTP:MODE MAN");
    ZPV4870OperationModeEnum mode = ZPV4870OperationModeStep;
    instrument.Answer("OUTP:MODE?", "MANUAL");
    EXPECT_EQ(execution->GetOperationMode(&mode), S_OK);
    EXPECT_EQ(mode, ZPV4870OperationModeManual);
    instrument.Answer("OUTP:MODE?", "MAN");
    EXPECT_TRUE(FAILED(execution->GetOperationMode(&mode)));
    EXPECT_EQ(execution->SetOutputEnable(ZPV4870OutputOFF), S_OK);
    EXPECT_EQ(instrument.Last(), "OUTP OFF");
    instrument.Answer("OUTP:PROT:STAT?", "OVP,OCP");
    CComBSTR protections;
    EXPECT_EQ(execution->GetProtections(&protections), S_OK);
    EXPECT_EQ(com::Utf8FromBstr(protections), "OVP,OCP");
}

TEST_F(CommandBytes, ModesFilesAndLists) {
    Open();
    CComPtr<IZPV4870ManualModeFile> manualFile;
    ASSERT_EQ(Group(&IZPV4870::get_ManualMode)->get_File(&manualFile), S_OK);
    CComBSTR a(L"A"), b(L"B");
    EXPECT_EQ(manualFile->Copy(a, b), S_OK);
    EXPECT_EQ(instrument.Last(), "MAN:FILE:COPY \"A\",\"B\"");
    CComPtr<IZPV4870StepModeFile> stepFile;
    ASSERT_EQ(Group(&IZPV4870::get_StepMode)->get_File(&stepFile), S_OK);
    EXPECT_EQ(stepFile->Copy(a, b), S_OK);
    EXPECT_EQ(instrument.Last(), "STEP:FILE:COPY \"A\", \"B\"");
    instrument.Answer("MAN:FILE:NAME?", "\"ONE\",\"TWO\", \"THREE\"");
    CComBSTR names;
    EXPECT_EQ(manualFile->GetFileName(&names), S_OK);
    EXPECT_EQ(com::Utf8FromBstr(names), "\"ONE\",\"TWO\", \"THREE\"");
    EXPECT_EQ(Group(&IZPV4870::get_StepMode)->put_Count(4), S_OK);
    EXPECT_EQ(instrument.Last(), "STEP:COUN 4");

    CComPtr<IZPV4870ListModeSequence> sequence;
    ASSERT_EQ(Group(&IZPV4870::get_ListMode)->get_Sequence(&sequence), S_OK);
    EXPECT_EQ(sequence->Edit(3), S_OK);
    EXPECT_EQ(instrument.Last(), "LIST:SEQ:EDIT 3");
    EXPECT_EQ(sequence->Add(), S_OK);
    EXPECT_EQ(instrument.Last(), "LIST:SEQ:ADD");

    const std::string all = "230.1,0,230.1,1.2,0,1.2,50,276,0.99,1.7,12,1.41,277";
    instrument.Answer("MEAS:ALL?", all);
    CComBSTR measured;
    EXPECT_EQ(Group(&IZPV4870::get_Measure)->All(&measured), S_OK);
    EXPECT_EQ(com::Utf8FromBstr(measured), all);
    instrument.Answer("MEAS:FREQ?", "60.01");
    double frequency = 0;
    EXPECT_EQ(Group(&IZPV4870::get_Measure)->Frequency(&frequency), S_OK);
    EXPECT_EQ(frequency, 60.01);
}

// An integer reply that does not fit the member's type fails like one that is no number at all,
// says why, leaves the result cleared, and the next query gets its own answer.
TEST_F(CommandBytes, IntegerRepliesOutOfRangeFailWithADescription) {
    Open();
    auto system = Group(&IZPV4870::get_System);
    for (const char* reply : {"99999999999", "-99999999999", "4294967296", "2147483648"}) {
        SCOPED_TRACE(reply);
        instrument.Answer("SYST:ALAR?", reply);
        LONG alarm = 7;
        EXPECT_EQ(system->get_Alarm(&alarm), E_UNEXPECTED);
        EXPECT_EQ(alarm, 0);
        const std::string text = LastError();
        EXPECT_NE(text.find("32-bit integer"), std::string::npos) << text;
        EXPECT_NE(text.find(std::string("received \"") + reply + "\""), std::string::npos) << text;
    }
    instrument.Answer("SYST:ALAR?", "2147483647");
    LONG alarm = 0;
    EXPECT_EQ(system->get_Alarm(&alarm), S_OK);
    EXPECT_EQ(alarm, 2147483647);

    auto sequence = Group(&IZPV4870::get_ListMode);
    CComPtr<IZPV4870ListModeSequence> sequences;
    ASSERT_EQ(sequence->get_Sequence(&sequences), S_OK);
    instrument.Answer("LIST:SEQ:TOT?", "-2147483649");
    LONG total = 5;
    EXPECT_EQ(sequences->GetTotalSequence(&total), E_UNEXPECTED);
    EXPECT_EQ(total, 0);
}

// The direct write members pass a null input straight to nobody: they name the member and the
// parameter. A null BSTR is the empty string, as everywhere in automation.
TEST_F(CommandBytes, NullDataToTheDirectWritesIsANullPointerError) {
    Open();
    auto system = Group(&IZPV4870::get_System);
    LONG written = -1;
    EXPECT_EQ(system->WriteBytes(nullptr, &written), Hr(0x80047058));
    EXPECT_EQ(LastError(), "ZPV4870: Null pointer passed for method 'WriteBytes', parameter 'Data'.");
    EXPECT_EQ(system->WriteString(nullptr), S_OK);
}

}  // namespace
}  // namespace zpv::driver::test
