// Initialize and Close of a driver session, with the option string, as a caller sees them.
#include "core/driver_fixture.h"

namespace zpv::driver::test {
namespace {

using SessionTest = DriverTest;

TEST_F(SessionTest, SimulatedSessionUsesTheDefaultModelWithoutIo) {
    ASSERT_EQ(Init(L"Simulate=true", true, true, L"TCPIP0::192.0.2.1::INSTR"), S_OK);
    VARIANT_BOOL initialized = VARIANT_FALSE;
    EXPECT_EQ(driver->get_Initialized(&initialized), S_OK);
    EXPECT_EQ(initialized, VARIANT_TRUE);
    EXPECT_EQ(Text(&IIviDriverIdentity::get_InstrumentModel), "ZPV-4803-Advanced");
    EXPECT_EQ(Text(&IIviDriverIdentity::get_InstrumentManufacturer), "Kaltrix");
    EXPECT_EQ(Text(&IIviDriverIdentity::get_InstrumentFirmwareRevision), "Sim1.0.0.0");
    CComBSTR descriptor;
    EXPECT_EQ(operation->get_IoResourceDescriptor(&descriptor), S_OK);
    EXPECT_EQ(com::Utf8FromBstr(descriptor), "TCPIP0::192.0.2.1::INSTR");
    EXPECT_EQ(driver->Close(), S_OK);
    EXPECT_EQ(driver->get_Initialized(&initialized), S_OK);
    EXPECT_EQ(initialized, VARIANT_FALSE);
}

TEST_F(SessionTest, DriverSetupModelIsCheckedByIdQuery) {
    ASSERT_EQ(Init(L"Simulate=true, DriverSetup=Model=ZPV-4832-Standard"), S_OK);
    EXPECT_EQ(Text(&IIviDriverIdentity::get_InstrumentModel), "ZPV-4832-Standard");
    EXPECT_EQ(Framework().ModelName(), "ZPV-4832-Standard");
    ASSERT_EQ(driver->Close(), S_OK);
    EXPECT_EQ(Framework().ModelName(), "");

    // Model lookups are exact: another letter case is an unknown model.
    EXPECT_EQ(Init(L"Simulate=true, DriverSetup=Model=zpv-4832-standard"), Hr(0x8004705E));
    EXPECT_EQ(LastError(), "ZPV4870: Instrument ID query failed.\r\nUnrecognized model: zpv-4832-standard.");
    VARIANT_BOOL initialized = VARIANT_TRUE;
    EXPECT_EQ(driver->get_Initialized(&initialized), S_OK);
    EXPECT_EQ(initialized, VARIANT_FALSE);

    // Without the ID query any model text is taken as it is.
    ASSERT_EQ(Init(L"Simulate=true, DriverSetup=Model=Bench-Supply-7", false), S_OK);
    EXPECT_EQ(Text(&IIviDriverIdentity::get_InstrumentModel), "Bench-Supply-7");
}

TEST_F(SessionTest, SecondInitializeFailsAndLeavesTheFirstSessionAlone) {
    ASSERT_EQ(Init(L"Simulate=true, RangeCheck=false, DriverSetup=Model=ZPV-4816-Standard"), S_OK);
    EXPECT_EQ(Init(L"Simulate=true"), Hr(0x80047061));
    EXPECT_EQ(LastError(), "ZPV4870: The driver is already initialized.");
    EXPECT_EQ(Text(&IIviDriverIdentity::get_InstrumentModel), "ZPV-4816-Standard");
    EXPECT_FALSE(Flag(&IIviDriverOperation::get_RangeCheck));
}

TEST_F(SessionTest, CloseWithoutSessionFails) {
    EXPECT_EQ(driver->Close(), Hr(0x8004701D));
    EXPECT_EQ(LastError(), "ZPV4870: A connection to the instrument has not been established.");
}

TEST_F(SessionTest, ReinitializeStartsFromTheDefaults) {
    ASSERT_EQ(Init(L"Simulate=true, RangeCheck=0, Cache=false, QueryInstrStatus=1, RecordCoercions=VI_TRUE, Foo=bar"),
              S_OK);
    EXPECT_FALSE(Flag(&IIviDriverOperation::get_RangeCheck));
    EXPECT_FALSE(Flag(&IIviDriverOperation::get_Cache));
    EXPECT_TRUE(Flag(&IIviDriverOperation::get_QueryInstrumentStatus));
    EXPECT_TRUE(Flag(&IIviDriverOperation::get_RecordCoercions));
    EXPECT_EQ(Framework().GetOptionValue("FOO"), "bar");
    ASSERT_EQ(driver->Close(), S_OK);

    ASSERT_EQ(Init(L"simulate = TRUE"), S_OK);
    EXPECT_TRUE(Flag(&IIviDriverOperation::get_Cache));
    EXPECT_FALSE(Flag(&IIviDriverOperation::get_InterchangeCheck));
    EXPECT_FALSE(Flag(&IIviDriverOperation::get_QueryInstrumentStatus));
    EXPECT_TRUE(Flag(&IIviDriverOperation::get_RangeCheck));
    EXPECT_FALSE(Flag(&IIviDriverOperation::get_RecordCoercions));
    EXPECT_TRUE(Flag(&IIviDriverOperation::get_Simulate));
    EXPECT_EQ(Framework().GetOptionValue("foo"), "");
    EXPECT_EQ(Text(&IIviDriverIdentity::get_InstrumentModel), "ZPV-4803-Advanced");
}

TEST_F(SessionTest, RefusedOptionValues) {
    EXPECT_EQ(Init(L"Simulate=true, InterchangeCheck=true"), Hr(0x8004704C));
    EXPECT_EQ(LastError(),
              "ZPV4870: The 'True' value in the option string is unknown.\r\n"
              "Interchange checking is not supported by the driver.");

    EXPECT_EQ(Init(L"Simulate=yes"), Hr(0x8004704C));
    EXPECT_EQ(LastError(), "ZPV4870: The 'yes' value in the option string is unknown.");

    EXPECT_EQ(Init(L"Simulate=true, DriverSetup=Trace=maybe"), Hr(0x8004704C));
    EXPECT_EQ(LastError(), "ZPV4870: The 'maybe' value in the option string is unknown.");

    // A name of blanks is caught when the entry is applied.
    EXPECT_EQ(Init(L"Simulate=true,   =1"), Hr(0x80047010));
    EXPECT_EQ(LastError(), "ZPV4870: Invalid value '0' for method 'ProcessInitOption', parameter 'strNameIn'.");
}

// Every Initialize starts from the defaults: a session's trace switch does not outlive its Close.
TEST_F(SessionTest, AReusedObjectCanSwitchTracingOffAgain) {
    const wchar_t* sequences[][3] = {
        {L"Simulate=true, DriverSetup=Trace=true", L"Simulate=true, DriverSetup=Trace=false", nullptr},
        {L"Simulate=true, DriverSetup=Trace=true", L"Simulate=true", L"Simulate=true, DriverSetup=Trace=false"},
        {L"Simulate=true", L"Simulate=true, DriverSetup=Trace=true, Trace=false", nullptr},
        {L"Simulate=true, DriverSetup=Trace=true, Trace=false", L"Simulate=true, DriverSetup=Trace=true, Trace=false",
         nullptr},
    };
    for (const auto& sequence : sequences) {
        for (const wchar_t* options : sequence) {
            if (!options) break;
            SCOPED_TRACE(com::Utf8FromWide(options));
            ASSERT_EQ(Init(options), S_OK) << LastError();
            VARIANT_BOOL initialized = VARIANT_FALSE;
            EXPECT_EQ(driver->get_Initialized(&initialized), S_OK);
            EXPECT_EQ(initialized, VARIANT_TRUE);
            ASSERT_EQ(driver->Close(), S_OK);
        }
    }
}

TEST_F(SessionTest, DriverSetupTakesEverythingAfterItsMarker) {
    ASSERT_EQ(Init(L"Simulate=true, DriverSetupX=1, DriverSetup=Model=ZPV-4816-Standard, Trace=false, RangeCheck=0"),
              S_OK);
    CDriver& d = Framework();
    EXPECT_EQ(d.GetOptionValue("driversetupx"), "1");
    EXPECT_EQ(d.GetDriverSetupValue("Trace"), "false");
    EXPECT_EQ(d.GetOptionValue("trace"), "");
    EXPECT_EQ(d.GetDriverSetupValue("rangecheck"), "0");
    EXPECT_TRUE(d.Options().rangeCheck);
    CComBSTR setup;
    EXPECT_EQ(operation->get_DriverSetup(&setup), S_OK);
    EXPECT_EQ(com::Utf8FromBstr(setup), "Model=ZPV-4816-Standard, Trace=false, RangeCheck=0");
    ASSERT_EQ(driver->Close(), S_OK);

    ASSERT_EQ(Init(L"Simulate=1, driversetup  =NumPhases:3, TraceSizeMax= 250kB, TraceName=run.xml"), S_OK);
    EXPECT_EQ(Framework().GetDriverSetupValue("NUMPHASES"), "3");
    EXPECT_EQ(Framework().Trace().Settings().sizeMax, 250);
    EXPECT_EQ(Framework().Trace().Settings().fileName, "run.xml");
}

TEST_F(SessionTest, UnreachableResourceIsAnUnknownResource) {
    // Nothing listens on port 1 of the loopback interface.
    EXPECT_EQ(Init(L"", true, false, L"TCPIP::127.0.0.1::1::SOCKET"), Hr(0x80047060));
    EXPECT_EQ(LastError(),
              "ZPV4870: Unknown resource.\r\nResource descriptor = TCPIP::127.0.0.1::1::SOCKET.\r\n"
              "Cannot open TCPIP0::127.0.0.1::1::SOCKET: Cannot connect to 127.0.0.1:1: connection refused.");
    EXPECT_EQ(Init(L"", true, false, L"NOT-A-RESOURCE"), Hr(0x80047060));
    EXPECT_EQ(LastError(),
              "ZPV4870: Unknown resource.\r\nResource descriptor = NOT-A-RESOURCE.\r\n"
              "Invalid resource name 'NOT-A-RESOURCE': unknown interface 'NOT-A-RESOURCE'.");
    VARIANT_BOOL initialized = VARIANT_TRUE;
    EXPECT_EQ(driver->get_Initialized(&initialized), S_OK);
    EXPECT_EQ(initialized, VARIANT_FALSE);
}

TEST_F(SessionTest, NullResourceNameIsInvalidButEmptyIsAccepted) {
    CComBSTR options(L"Simulate=true");
    EXPECT_EQ(driver->Initialize(nullptr, VARIANT_FALSE, VARIANT_FALSE, options), Hr(0x80047010));
    const auto published = errors::test::TakeErrorInfo();
    EXPECT_EQ(published.description, "ZPV4870: Invalid value '0' for method 'Initialize', parameter 'ResourceName'.");
    EXPECT_EQ(published.guid, IID_IIviDriver);
    EXPECT_EQ(published.source, "ZPV4870.ZPV4870.1");

    EXPECT_EQ(Init(L"Simulate=true", true, false, L""), S_OK);
}

TEST_F(SessionTest, ResetAtInitializeInSimulationSucceeds) {
    EXPECT_EQ(Init(L"Simulate=true", true, true), S_OK);
}

}  // namespace
}  // namespace zpv::driver::test
