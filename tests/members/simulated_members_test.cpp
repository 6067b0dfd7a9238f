// The command set while simulating: stored values and their defaults, model and range checks, and
// the members that have nothing to answer with.
#include "core/driver_fixture.h"

namespace zpv::driver::test {
namespace {

class SimulatedMembersTest : public DriverTest {
protected:
    void Open(const wchar_t* model) {
        std::wstring options = std::wstring(L"Simulate=true, DriverSetup=Model=") + model;
        ASSERT_EQ(Init(options.c_str()), S_OK);
        ASSERT_EQ(driver->QueryInterface(&root), S_OK);
    }
    template <class I>
    CComPtr<I> Group(HRESULT (IZPV4870::*getter)(I**)) {
        CComPtr<I> group;
        EXPECT_EQ((root.Get()->*getter)(&group), S_OK);
        return group;
    }
    CComPtr<IZPV4870> root;
};

TEST_F(SimulatedMembersTest, StoredValuesStartAtTheirDefaults) {
    Open(L"ZPV-4803-Advanced");
    auto execution = Group(&IZPV4870::get_Execution);
    CComPtr<IZPV4870ExecutionConfigurations> config;
    ASSERT_EQ(execution->get_Configurations(&config), S_OK);
    double v = 0;
    EXPECT_EQ(config->get_Frequency(&v), S_OK);
    EXPECT_EQ(v, 60.0);
    EXPECT_EQ(config->get_ACVoltage(&v), S_OK);
    EXPECT_EQ(v, 100.0);
    EXPECT_EQ(config->get_DCVoltage(&v), S_OK);
    EXPECT_EQ(v, 100.0);
    EXPECT_EQ(config->get_CurrentHighLimit(&v), S_OK);
    EXPECT_EQ(v, 5.0);

    auto system = Group(&IZPV4870::get_System);
    LONG alarm = 0;
    VARIANT_BOOL lock = VARIANT_FALSE;
    EXPECT_EQ(system->get_Alarm(&alarm), S_OK);
    EXPECT_EQ(alarm, 5);
    EXPECT_EQ(system->get_Lock(&lock), S_OK);
    EXPECT_EQ(lock, VARIANT_TRUE);
    EXPECT_EQ(system->get_VoltageAcHighLimit(&v), S_OK);
    EXPECT_EQ(v, 0.0);

    auto result = Group(&IZPV4870::get_Result);
    LONG index = 0, total = -1;
    EXPECT_EQ(result->get_SequenceIndex(&index), S_OK);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(result->put_SequenceIndex(3), S_OK);
    EXPECT_EQ(result->get_SequenceIndex(&index), S_OK);
    EXPECT_EQ(index, 3);
    EXPECT_EQ(result->get_TotalSequence(&total), S_OK);
    EXPECT_EQ(total, 0);

    CComPtr<IZPV4870OutputPhases> phases;
    ASSERT_EQ(root->get_OutputPhases(&phases), S_OK);
    CComPtr<IZPV4870OutputPhase> phase;
    ASSERT_EQ(phases->get_Item(nullptr, &phase), S_OK);
    CComBSTR wave;
    EXPECT_EQ(phase->get_Waveform(&wave), S_OK);
    EXPECT_EQ(com::Utf8FromBstr(wave), "SINE");
    CComPtr<IZPV4870OutputPhaseDCGeneration> dc;
    ASSERT_EQ(phase->get_DCGeneration(&dc), S_OK);
    ZPV4870DCGenerationEnum mode = ZPV4870DCGenerationModeDCOnly;
    EXPECT_EQ(dc->get_Mode(&mode), S_OK);
    EXPECT_EQ(mode, ZPV4870DCGenerationModeACOnly);
}

TEST_F(SimulatedMembersTest, MembersWithoutAStoredValueNeedTheInstrument) {
    Open(L"ZPV-4803-Advanced");
    auto system = Group(&IZPV4870::get_System);
    ZPV4870MeterEnum meter = ZPV4870MeterPower;
    EXPECT_EQ(system->get_MeterDisplay(&meter), Hr(0x8004701D));
    EXPECT_EQ(meter, ZPV4870MeterFrequency);  // cleared by the frame
    EXPECT_EQ(LastError(), "ZPV4870: A connection to the instrument has not been established.");
    auto measure = Group(&IZPV4870::get_Measure);
    double v = 1;
    EXPECT_EQ(measure->Frequency(&v), Hr(0x8004701D));
    auto execution = Group(&IZPV4870::get_Execution);
    EXPECT_EQ(execution->SetOperationMode(ZPV4870OperationModeList), Hr(0x8004701D));

    CComBSTR text(L"*IDN?");
    EXPECT_EQ(system->WriteString(text), Hr(0x80044214));
    EXPECT_EQ(LastError(), "ZPV4870: I/O error: Direct I/O operations are not available in simulation mode..");
    LONG timeout = 0;
    EXPECT_EQ(system->get_IOTimeout(&timeout), Hr(0x80044214));
}

TEST_F(SimulatedMembersTest, FeatureLevelRefusalsNameTheMember) {
    Open(L"ZPV-4816-Standard");
    auto step = Group(&IZPV4870::get_StepMode);
    EXPECT_EQ(step->put_Count(4), Hr(0x80044216));
    EXPECT_EQ(LastError(), "ZPV4870: Instrument model does not support this feature: put_Count.");
    CComPtr<IZPV4870StepModeFile> stepFile;
    ASSERT_EQ(step->get_File(&stepFile), S_OK);  // the getter has no restriction of its own
    CComBSTR name(L"a");
    EXPECT_EQ(stepFile->Add(name), Hr(0x80044216));
    CComPtr<IZPV4870PulseModeFile> pulseFile;
    EXPECT_EQ(Group(&IZPV4870::get_PulseMode)->get_File(&pulseFile), Hr(0x80044216));

    CComPtr<IZPV4870ListMode> list = Group(&IZPV4870::get_ListMode);
    CComPtr<IZPV4870ListModeSequence> sequence;
    ASSERT_EQ(list->get_Sequence(&sequence), S_OK);
    // Model check comes before the range check.
    EXPECT_EQ(sequence->put_TotalHarmonicDistortion(50), Hr(0x80044216));
    EXPECT_EQ(sequence->put_Frequency(50), S_OK);
    double v = 0;
    EXPECT_EQ(sequence->get_VoltageAC(&v), S_OK);
    ASSERT_EQ(driver->Close(), S_OK);

    Open(L"ZPV-4803-Advanced");
    list = Group(&IZPV4870::get_ListMode);
    sequence.Release();
    ASSERT_EQ(list->get_Sequence(&sequence), S_OK);
    EXPECT_EQ(sequence->put_TotalHarmonicDistortion(50), Hr(0x80047010));
    EXPECT_EQ(LastError(), "ZPV4870: Invalid value '50' for method 'put_TotalHarmonicDistortion', parameter 'val'.");
    EXPECT_EQ(sequence->put_TotalHarmonicDistortion(45.0000000000001), S_OK);
    EXPECT_EQ(sequence->put_Frequency(50), Hr(0x80044216));
    EXPECT_EQ(sequence->get_VoltageAC(&v), Hr(0x80044216));
    EXPECT_EQ(LastError(), "ZPV4870: Instrument model does not support this feature: get_VoltageAc.");
    LONG cycle = -1;
    EXPECT_EQ(sequence->get_Cycle(&cycle), S_OK);
    EXPECT_EQ(cycle, 0);
}

TEST_F(SimulatedMembersTest, RangeChecksFollowTheOption) {
    Open(L"ZPV-4803-Advanced");
    auto system = Group(&IZPV4870::get_System);
    EXPECT_EQ(system->put_Alarm(10), Hr(0x80047010));
    EXPECT_EQ(LastError(), "ZPV4870: Invalid value '10' for method 'put_Alarm', parameter 'val'.");
    EXPECT_EQ(system->put_Alarm(7), S_OK);
    LONG alarm = 0;
    EXPECT_EQ(system->get_Alarm(&alarm), S_OK);
    EXPECT_EQ(alarm, 7);
    EXPECT_EQ(operation->InvalidateAllAttributes(), S_OK);
    EXPECT_EQ(system->get_Alarm(&alarm), S_OK);
    EXPECT_EQ(alarm, 5);

    CComPtr<IZPV4870OutputPhases> phases;
    ASSERT_EQ(root->get_OutputPhases(&phases), S_OK);
    CComPtr<IZPV4870OutputPhase> phase;
    ASSERT_EQ(phases->get_Item(nullptr, &phase), S_OK);
    CComBSTR lower(L"sine"), proper(L"Sine");
    EXPECT_EQ(phase->put_Waveform(lower), Hr(0x80047010));
    EXPECT_EQ(LastError(), "ZPV4870: Invalid value 'sine' for method 'put_Waveform', parameter 'val'.");
    EXPECT_EQ(phase->put_Waveform(proper), S_OK);

    ASSERT_EQ(operation->put_RangeCheck(VARIANT_FALSE), S_OK);
    EXPECT_EQ(system->put_Alarm(10), S_OK);
    EXPECT_EQ(phase->put_Waveform(lower), S_OK);
    CComBSTR stored;
    EXPECT_EQ(phase->get_Waveform(&stored), S_OK);
    EXPECT_EQ(com::Utf8FromBstr(stored), "sine");
}

TEST_F(SimulatedMembersTest, ClassGroupsStoreWhileSimulatingAndNeverAct) {
    Open(L"ZPV-4803-Advanced");
    CComPtr<IIviACPwr> acPwr;
    ASSERT_EQ(driver->QueryInterface(&acPwr), S_OK);
    CComPtr<IIviACPwrOutputPhases> phases;
    ASSERT_EQ(acPwr->get_OutputPhases(&phases), S_OK);
    CComPtr<IIviACPwrOutputPhase> phase;
    ASSERT_EQ(phases->get_Item(nullptr, &phase), S_OK);
    CComPtr<IIviACPwrVoltageProtection> protection;
    ASSERT_EQ(phase->get_VoltageProtection(&protection), S_OK);
    VARIANT_BOOL flag = VARIANT_FALSE;
    EXPECT_EQ(protection->get_OverEnabled(&flag), S_OK);
    EXPECT_EQ(flag, VARIANT_TRUE);
    EXPECT_EQ(protection->get_Tripped(&flag), S_OK);
    EXPECT_EQ(flag, VARIANT_FALSE);
    EXPECT_EQ(protection->Reset(), E_NOTIMPL);

    CComPtr<IIviACPwrDCGeneration> dc;
    ASSERT_EQ(phase->get_DCGeneration(&dc), S_OK);
    double mn = 1, mx = 1;
    EXPECT_EQ(dc->QueryCapabilities(0, &mx, &mn), E_NOTIMPL);
    EXPECT_EQ(mx, 0.0);
    EXPECT_EQ(dc->QueryCapabilities(0, nullptr, &mn), Hr(0x80047058));
    EXPECT_EQ(LastError(), "ZPV4870: Null pointer passed for method 'QueryCapabilities', parameter 'Maximum'.");

    CComPtr<IIviACPwrArbWaveform> arb;
    ASSERT_EQ(acPwr->get_ArbWaveform(&arb), S_OK);
    LONG count = 5;
    EXPECT_EQ(arb->get_UserWaveformCount(&count), S_OK);
    EXPECT_EQ(count, 0);
    CComPtr<IIviACPwrExternalSync> sync;
    ASSERT_EQ(phases->get_ExternalSync(&sync), S_OK);
    EXPECT_EQ(sync->put_PhaseOffset(12.5), S_OK);
    double offset = 0;
    EXPECT_EQ(sync->get_PhaseOffset(&offset), S_OK);
    EXPECT_EQ(offset, 12.5);
}

}  // namespace
}  // namespace zpv::driver::test
