// The driver against the simulator over a pseudo-terminal standing in for a serial port.
#include "core/driver_fixture.h"
#include "zpv4870sim/instrument.h"
#include "zpv4870sim/pty_server.h"

namespace zpv::driver::test {
namespace {

class DriverOverSerial : public DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        sim::InstrumentOptions options;
        options.model = "ZPV-4809-Standard";
        instrument = std::make_unique<sim::Instrument>(options);
        server = std::make_unique<sim::PtyServer>(*instrument);
        server->Start();
        resource = L"ASRL" + std::wstring(server->Path().begin(), server->Path().end()) + L"::INSTR";
    }
    void TearDown() override {
        DriverTest::TearDown();
        server->Stop();
    }
    std::unique_ptr<sim::Instrument> instrument;
    std::unique_ptr<sim::PtyServer> server;
    std::wstring resource;
};

TEST_F(DriverOverSerial, InitializeConfiguresTheLineAndTalks) {
    ASSERT_EQ(Init(L"QueryInstrStatus=1, DriverSetup=BaudRate=19200", true, true, resource.c_str()), S_OK)
        << LastError();
    EXPECT_EQ(Text(&IIviDriverIdentity::get_InstrumentModel), "ZPV-4809-Standard");

    CComPtr<IZPV4870> root;
    ASSERT_EQ(driver->QueryInterface(&root), S_OK);
    CComPtr<IZPV4870ManualMode> manual;
    ASSERT_EQ(root->get_ManualMode(&manual), S_OK);
    EXPECT_EQ(manual->put_VoltageAC(120.25), S_OK) << LastError();
    double volts = 0;
    EXPECT_EQ(manual->get_VoltageAC(&volts), S_OK) << LastError();
    EXPECT_EQ(volts, 120.25);
    // A Standard model refuses Advanced-only members before anything is sent.
    EXPECT_EQ(manual->put_TotalHarmonicDistortion(3), Hr(0x80044216));
    EXPECT_EQ(driver->Close(), S_OK);
}

}  // namespace
}  // namespace zpv::driver::test
