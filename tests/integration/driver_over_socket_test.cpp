// End to end: the driver against the simulator over TCP on 127.0.0.1.
#include <chrono>

#include "integration/simulator_fixture.h"

namespace zpv::driver::test {
namespace {

using DriverOverSocket = SimulatorTest;

TEST_F(DriverOverSocket, InitializeReadsTheIdentity) {
    StartSimulator("ZPV-4832-Advanced");
    ASSERT_EQ(Connect(), S_OK) << LastError();
    EXPECT_EQ(Text(&IIviDriverIdentity::get_InstrumentManufacturer), "Kaltrix");
    EXPECT_EQ(Text(&IIviDriverIdentity::get_InstrumentModel), "ZPV-4832-Advanced");
    EXPECT_EQ(Text(&IIviDriverIdentity::get_InstrumentFirmwareRevision), "2.04");
    EXPECT_EQ(Framework().InstrumentSerialNumber(), "SN4870-17");
    // The model comes from the instrument, whatever the DriverSetup says.
    ASSERT_EQ(driver->Close(), S_OK);
    ASSERT_EQ(Connect(L"DriverSetup=Model=ZPV-4803-Standard"), S_OK);
    EXPECT_EQ(Text(&IIviDriverIdentity::get_InstrumentModel), "ZPV-4832-Advanced");
}

TEST_F(DriverOverSocket, SettingsGoOutAndComeBack) {
    StartSimulator();
    ASSERT_EQ(Connect(), S_OK) << LastError();
    auto phase = Phase();
    EXPECT_EQ(phase->put_VoltageLevel(230.5), S_OK) << LastError();
    double level = 0;
    EXPECT_EQ(phase->get_VoltageLevel(&level), S_OK) << LastError();
    EXPECT_EQ(level, 230.5);
    EXPECT_EQ(phase->put_VoltageRange(ZPV4870RangeHigh), S_OK);
    ZPV4870RangeEnum range = ZPV4870RangeAuto;
    EXPECT_EQ(phase->get_VoltageRange(&range), S_OK) << LastError();
    EXPECT_EQ(range, ZPV4870RangeHigh);

    auto execution = Root(&IZPV4870::get_Execution);
    EXPECT_EQ(execution->SetOperationMode(ZPV4870OperationModeManual), S_OK) << LastError();
    ZPV4870OperationModeEnum mode = ZPV4870OperationModeList;
    EXPECT_EQ(execution->GetOperationMode(&mode), S_OK) << LastError();
    EXPECT_EQ(mode, ZPV4870OperationModeManual);
    EXPECT_EQ(execution->SetOutputEnable(ZPV4870OutputON), S_OK);
    ZPV4870OutputEnum output = ZPV4870OutputOFF;
    EXPECT_EQ(execution->GetOutputEnable(&output), S_OK) << LastError();
    EXPECT_EQ(output, ZPV4870OutputON);

    auto system = Root(&IZPV4870::get_System);
    EXPECT_EQ(system->put_Analog(ZPV4870Analog5V), S_OK);
    ZPV4870AnalogEnum analog = ZPV4870AnalogOFF;
    EXPECT_EQ(system->get_Analog(&analog), S_OK) << LastError();
    EXPECT_EQ(analog, ZPV4870Analog5V);

    CComPtr<IZPV4870OutputPhaseCurrentProtection> protection;
    ASSERT_EQ(phase->get_CurrentProtection(&protection), S_OK);
    EXPECT_EQ(protection->Configure(VARIANT_FALSE, 5, 0.5), S_OK) << LastError();
    double delay = 0;
    EXPECT_EQ(protection->get_Delay(&delay), S_OK);
    EXPECT_EQ(delay, 0.5);
}

TEST_F(DriverOverSocket, InstrumentErrorsSurfaceThroughTheStatusPoll) {
    StartSimulator();
    ASSERT_EQ(Connect(L"QueryInstrStatus=true, RangeCheck=false"), S_OK) << LastError();
    auto system = Root(&IZPV4870::get_System);
    EXPECT_EQ(system->put_Alarm(10), Hr(0x80047001));
    EXPECT_EQ(LastError(), "ZPV4870: Instrument error detected.  Use ErrorQuery() to determine error(s).");
    LONG code = 0;
    CComBSTR message;
    EXPECT_EQ(utility->ErrorQuery(&code, &message), S_OK);
    EXPECT_EQ(code, -224);
    EXPECT_NE(com::Utf8FromBstr(message).find("Illegal parameter value"), std::string::npos);
    EXPECT_EQ(utility->ErrorQuery(&code, &message), S_OK);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(com::Utf8FromBstr(message), "No error");
    // A good setting passes the poll.
    EXPECT_EQ(system->put_Alarm(3), S_OK);
}

TEST_F(DriverOverSocket, DroppedConnectionIsAClearErrorNotAHang) {
    StartSimulator();
    ASSERT_EQ(Connect(), S_OK) << LastError();
    auto system = Root(&IZPV4870::get_System);
    ASSERT_EQ(system->put_IOTimeout(1000), S_OK);
    sim::Faults faults;
    faults.dropAfter = 0;
    instrument->SetFaults(faults);
    double level = 0;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Phase()->get_VoltageLevel(&level), Hr(0x80044214));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(900));
    EXPECT_NE(LastError().find("ZPV4870: I/O error:"), std::string::npos);
}

TEST_F(DriverOverSocket, GarbageAnswerFailsTheParse) {
    StartSimulator();
    ASSERT_EQ(Connect(), S_OK) << LastError();
    sim::Faults faults;
    faults.garbage = true;
    instrument->SetFaults(faults);
    double level = 7;
    EXPECT_TRUE(FAILED(Phase()->get_VoltageLevel(&level)));
    EXPECT_EQ(level, 0.0);
}

}  // namespace
}  // namespace zpv::driver::test
