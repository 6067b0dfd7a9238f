// A driver talking to the bundled simulator over a real loopback socket.
#pragma once

#include <memory>
#include <string>

#include "core/driver_fixture.h"
#include "zpv4870sim/instrument.h"
#include "zpv4870sim/socket_server.h"

namespace zpv::driver::test {

class SimulatorTest : public DriverTest {
protected:
    void StartSimulator(const char* model = "ZPV-4832-Advanced") {
        sim::InstrumentOptions options;
        options.model = model;
        options.serial = "SN4870-17";
        options.firmware = "2.04";
        instrument = std::make_unique<sim::Instrument>(options);
        server = std::make_unique<sim::SocketServer>(*instrument);
        server->Start(0);
        resource = L"TCPIP0::127.0.0.1::" + std::to_wstring(server->Port()) + L"::SOCKET";
    }
    void TearDown() override {
        DriverTest::TearDown();
        if (server) server->Stop();
    }
    HRESULT Connect(const wchar_t* options = L"", bool idQuery = true, bool reset = true) {
        return Init(options, idQuery, reset, resource.c_str());
    }
    template <class I>
    CComPtr<I> Root(HRESULT (IZPV4870::*getter)(I**)) {
        CComPtr<IZPV4870> root;
        driver->QueryInterface(&root);
        CComPtr<I> group;
        EXPECT_EQ((root.Get()->*getter)(&group), S_OK);
        return group;
    }
    CComPtr<IZPV4870OutputPhase> Phase() {
        auto phases = Root(&IZPV4870::get_OutputPhases);
        CComPtr<IZPV4870OutputPhase> phase;
        EXPECT_EQ(phases->get_Item(nullptr, &phase), S_OK);
        return phase;
    }

    std::unique_ptr<sim::Instrument> instrument;
    std::unique_ptr<sim::SocketServer> server;
    std::wstring resource;
};

}  // namespace zpv::driver::test
