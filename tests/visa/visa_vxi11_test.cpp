// The VXI-11 client against the simulator's VXI-11 server and portmapper on loopback.
#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "platform/visa/vxi11_session.h"
#include "visa/lan_simulator.h"

namespace zpv::visa {
namespace {

using testing::Clock;
using testing::ElapsedMs;
using testing::LanSimulator;
using testing::LanSimulatorOptions;
using testing::OpenOrFail;
using testing::ReadText;
using testing::Send;

TEST(VisaVxi11, QueryRoundTripReportsWhyEachReadStopped) {
    LanSimulator sim;
    auto session = OpenOrFail("tcpip::127.0.0.1::INSTR");
    ASSERT_TRUE(session);
    EXPECT_EQ(session->ResourceName(), "TCPIP0::127.0.0.1::inst0::INSTR");
    EXPECT_EQ(session->Interface(), InterfaceType::Tcpip);

    ASSERT_EQ(Send(*session, "*IDN?\n"), VI_SUCCESS);
    std::string text;
    EXPECT_EQ(ReadText(*session, 4096, &text), VI_SUCCESS);
    EXPECT_EQ(text.rfind("Kaltrix,", 0), 0u) << text;
    EXPECT_EQ(text.back(), '\n');

    // The count, then the termination character, then END.
    ASSERT_EQ(Send(*session, "SIM:BLOCK? 30"), VI_SUCCESS);
    EXPECT_EQ(ReadText(*session, 4, &text), VI_SUCCESS_MAX_CNT);
    EXPECT_EQ(text, "#230");
    session->SetTermChar('C');
    session->SetTermCharEnabled(true);
    EXPECT_EQ(ReadText(*session, 100, &text), VI_SUCCESS_TERM_CHAR);
    EXPECT_EQ(text, "ABC");
    session->SetTermCharEnabled(false);
    EXPECT_EQ(ReadText(*session, 100, &text), VI_SUCCESS);
    EXPECT_EQ(text, "DEFGHIJKLMNOPQRSTUVWXYZABCD\n");
}

TEST(VisaVxi11, WritesSplitAtMaxRecvSizeWithEndOnTheLastChunk) {
    LanSimulatorOptions options;
    options.vxi11.maxRecvSize = 16;
    LanSimulator sim(options);
    auto session = OpenOrFail(sim.Vxi11Name());
    ASSERT_TRUE(session);
    EXPECT_EQ(dynamic_cast<Vxi11Session&>(*session).MaxRecvSize(), 16u);

    // END only on the last chunk: the server ends a message at END, so an early one would split it.
    ASSERT_EQ(Send(*session, "OUTP:FREQ 55;:OUTP:FREQ?;:SYST:ERR?\n"), VI_SUCCESS);
    std::string text;
    EXPECT_EQ(ReadText(*session, 256, &text), VI_SUCCESS);
    EXPECT_EQ(text, "55;+0,\"No error\"\n");
}

TEST(VisaVxi11, ExclusiveLockKeepsASecondClientOutUntilReleased) {
    LanSimulator sim;
    auto owner = OpenOrFail(sim.Vxi11Name(0));
    auto other = OpenOrFail(sim.Vxi11Name(1));
    ASSERT_TRUE(owner && other);
    ASSERT_EQ(owner->Lock(VI_EXCLUSIVE_LOCK, 0, {}, nullptr), VI_SUCCESS);

    EXPECT_EQ(Send(*other, "*CLS\n"), VI_ERROR_RSRC_LOCKED);
    EXPECT_NE(dynamic_cast<Vxi11Session&>(*other).LastError().find("error 11"), std::string::npos);
    const auto start = Clock::now();
    EXPECT_EQ(other->Lock(VI_EXCLUSIVE_LOCK, 150, {}, nullptr), VI_ERROR_RSRC_LOCKED);
    EXPECT_GE(ElapsedMs(start), 140) << "lock_timeout is waited out";
    EXPECT_EQ(Send(*owner, "*CLS\n"), VI_SUCCESS);

    // A waiting lock is granted when the holder lets go within its timeout.
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        owner->Unlock();
    });
    EXPECT_EQ(other->Lock(VI_EXCLUSIVE_LOCK, 3000, {}, nullptr), VI_SUCCESS);
    release.join();
    EXPECT_EQ(Send(*owner, "*CLS\n"), VI_ERROR_RSRC_LOCKED);
    EXPECT_EQ(other->Close(), VI_SUCCESS);  // closing without unlocking frees the instrument too
    EXPECT_EQ(Send(*owner, "*CLS\n"), VI_SUCCESS);
}

TEST(VisaVxi11, DeviceClearDropsUnreadAnswersAndStatusByteShowsThem) {
    LanSimulator sim;
    auto session = OpenOrFail(sim.Vxi11Name());
    ASSERT_TRUE(session);
    ASSERT_EQ(Send(*session, "SIM:BLOCK? 5000\n"), VI_SUCCESS);
    ViUInt16 stb = 0;
    EXPECT_EQ(session->ReadStatusByte(&stb), VI_SUCCESS);
    EXPECT_EQ(stb & 0x10, 0x10) << "message available";
    EXPECT_EQ(session->Clear(), VI_SUCCESS);
    EXPECT_EQ(session->ReadStatusByte(&stb), VI_SUCCESS);
    EXPECT_EQ(stb & 0x10, 0);

    ASSERT_EQ(Send(*session, "OUTP:FREQ?\n"), VI_SUCCESS);
    std::string text;
    EXPECT_EQ(ReadText(*session, 100, &text), VI_SUCCESS);
    EXPECT_EQ(text, "60\n");
    EXPECT_EQ(sim.Vxi11().LinkCount(), 1u);
    EXPECT_EQ(session->Close(), VI_SUCCESS);
    EXPECT_EQ(sim.Vxi11().LinkCount(), 0u) << "destroy_link";
}

TEST(VisaVxi11, OpenFailuresNameTheService) {
    LanSimulator sim;
    ResourceManager manager;
    std::unique_ptr<MessageSession> session;

    EXPECT_EQ(manager.Open("TCPIP::127.0.0.1::inst7::INSTR", 1000, &session), VI_ERROR_RSRC_NFOUND);
    EXPECT_NE(manager.ErrorDetail().find("refused a link to 'inst7'"), std::string::npos) << manager.ErrorDetail();

    sim.Portmapper().Unset(sim::Vxi11Server::kCoreProgram, sim::Vxi11Server::kVersion);
    EXPECT_EQ(manager.Open(sim.Vxi11Name(), 1000, &session), VI_ERROR_RSRC_NFOUND);
    EXPECT_NE(manager.ErrorDetail().find("No VXI-11 service at 127.0.0.1:" + std::to_string(sim.Portmapper().Port())),
              std::string::npos)
        << manager.ErrorDetail();

    ::setenv(kPortmapperPortVariable, "70000", 1);
    EXPECT_EQ(manager.Open(sim.Vxi11Name(), 1000, &session), VI_ERROR_INV_SETUP);
    EXPECT_EQ(session, nullptr);
}

}  // namespace
}  // namespace zpv::visa
