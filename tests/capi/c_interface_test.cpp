// Runs the checks written in C (tests/capi/*.c), in simulation and against the simulator over a
// real loopback socket.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "c_check.h"
#include "zpv4870sim/instrument.h"
#include "zpv4870sim/socket_server.h"

namespace {

class CInterfaceOverSocket : public ::testing::Test {
protected:
    void SetUp() override {
        zpv::sim::InstrumentOptions options;
        options.model = "ZPV-4832-Advanced";
        instrument = std::make_unique<zpv::sim::Instrument>(options);
        server = std::make_unique<zpv::sim::SocketServer>(*instrument);
        server->Start(0);
        resource = "TCPIP0::127.0.0.1::" + std::to_string(server->Port()) + "::SOCKET";
    }
    void TearDown() override { server->Stop(); }

    std::unique_ptr<zpv::sim::Instrument> instrument;
    std::unique_ptr<zpv::sim::SocketServer> server;
    std::string resource;
};

TEST(CInterface, SessionsAndErrors) { EXPECT_EQ(CheckSessionsAndErrors(), 0); }
TEST(CInterface, TextCopyRule) { EXPECT_EQ(CheckTextCopyRule(), 0); }
TEST(CInterface, EveryAttributeInSimulation) { EXPECT_EQ(CheckEveryAttribute("", SIMULATED), 0); }
TEST(CInterface, PhaseChannels) { EXPECT_EQ(CheckPhaseChannels(), 0); }
TEST(CInterface, WrapperPatterns) { EXPECT_EQ(CheckWrapperPatterns(), 0); }
TEST(CInterfaceThreads, InSimulation) { EXPECT_EQ(CheckThreads("", SIMULATED, ZPV4870_ATTR_VOLTAGE_LEVEL), 0); }

TEST_F(CInterfaceOverSocket, EveryAttribute) { EXPECT_EQ(CheckEveryAttribute(resource.c_str(), ""), 0); }
TEST_F(CInterfaceOverSocket, Threads) { EXPECT_EQ(CheckThreads(resource.c_str(), "", ZPV4870_ATTR_OUTPUT_PHASE_VOLTAGE_LEVEL), 0); }

}  // namespace
