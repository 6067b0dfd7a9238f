// The HiSLIP client against the simulator's HiSLIP server on loopback.
#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "platform/visa/hislip_session.h"
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

HislipSession& Hislip(MessageSession& session) { return dynamic_cast<HislipSession&>(session); }

TEST(VisaHislip, ReadsStopAtCountTermCharOrEndAndWritesSplitAtTheServersMaximum) {
    LanSimulatorOptions options;
    options.hislip.maxMessageSize = 24;  // 8 bytes of payload per message
    LanSimulator sim(options);
    auto session = OpenOrFail(sim.HislipName());
    ASSERT_TRUE(session);
    EXPECT_FALSE(Hislip(*session).Overlapped());
    EXPECT_EQ(Hislip(*session).ServerMaxMessage(), 24u);
    ASSERT_EQ(Send(*session, "OUTP:FREQ 55;:OUTP:FREQ?;:SYST:ERR?\n"), VI_SUCCESS);
    std::string text;
    EXPECT_EQ(ReadText(*session, 256, &text), VI_SUCCESS);
    EXPECT_EQ(text, "55;+0,\"No error\"\n");

    ASSERT_EQ(Send(*session, "SIM:BLOCK? 30"), VI_SUCCESS);
    EXPECT_EQ(ReadText(*session, 4, &text), VI_SUCCESS_MAX_CNT);
    session->SetTermChar('C');
    session->SetTermCharEnabled(true);
    EXPECT_EQ(ReadText(*session, 100, &text), VI_SUCCESS_TERM_CHAR);
    EXPECT_EQ(text, "ABC");
    session->SetTermCharEnabled(false);
    EXPECT_EQ(ReadText(*session, 100, &text), VI_SUCCESS);
    EXPECT_EQ(text, "DEFGHIJKLMNOPQRSTUVWXYZABCD\n");
}

TEST(VisaHislip, TimeoutLeavesTheSessionUsableAndLateAnswersAreDropped) {
    LanSimulator sim;
    auto session = OpenOrFail(sim.HislipName());
    ASSERT_TRUE(session);
    session->SetTimeout(200);
    ASSERT_EQ(Send(*session, "SIM:DEL 400;:*IDN?\n"), VI_SUCCESS);
    std::string text;
    const auto start = Clock::now();
    EXPECT_EQ(ReadText(*session, 100, &text), VI_ERROR_TMO);
    EXPECT_GE(ElapsedMs(start), 190);
    EXPECT_LT(ElapsedMs(start), 1200);

    // The identity arrives late, after the next query went out: it is not taken for its answer.
    session->SetTimeout(2000);
    ASSERT_EQ(Send(*session, "SIM:DEL 0;:OUTP:FREQ?\n"), VI_SUCCESS);
    EXPECT_EQ(ReadText(*session, 100, &text), VI_SUCCESS);
    EXPECT_EQ(text, "60\n");
}

TEST(VisaHislip, LocksAreHeldOnTheServer) {
    LanSimulator sim;
    auto owner = OpenOrFail(sim.HislipName(0));
    auto other = OpenOrFail(sim.HislipName(1));
    ASSERT_TRUE(owner && other);
    ASSERT_EQ(owner->Lock(VI_EXCLUSIVE_LOCK, 0, {}, nullptr), VI_SUCCESS);

    // The other client's query waits on the server; its read tells why.
    other->SetTimeout(200);
    ASSERT_EQ(Send(*other, "*IDN?\n"), VI_SUCCESS);
    std::string text;
    EXPECT_EQ(ReadText(*other, 100, &text), VI_ERROR_RSRC_LOCKED);
    EXPECT_EQ(other->Lock(VI_EXCLUSIVE_LOCK, 100, {}, nullptr), VI_ERROR_RSRC_LOCKED);
    ASSERT_EQ(Send(*owner, "OUTP:FREQ?\n"), VI_SUCCESS);
    EXPECT_EQ(ReadText(*owner, 100, &text), VI_SUCCESS);

    EXPECT_EQ(owner->Unlock(), VI_SUCCESS);
    other->SetTimeout(2000);
    ASSERT_EQ(Send(*other, "OUTP:FREQ?\n"), VI_SUCCESS);
    EXPECT_EQ(ReadText(*other, 100, &text), VI_SUCCESS);
    EXPECT_EQ(text, "60\n") << "the held *IDN? ran after the release; its answer is dropped";

    // A shared lock admits the holders of its key only.
    std::string key;
    ASSERT_EQ(owner->Lock(VI_SHARED_LOCK, 0, {}, &key), VI_SUCCESS);
    EXPECT_EQ(other->Lock(VI_SHARED_LOCK, 0, key, nullptr), VI_SUCCESS);
    auto third = OpenOrFail(sim.HislipName(2));
    ASSERT_TRUE(third);
    EXPECT_EQ(third->Lock(VI_SHARED_LOCK, 100, "another-key", nullptr), VI_ERROR_RSRC_LOCKED);
    ASSERT_EQ(Send(*other, "OUTP:FREQ?\n"), VI_SUCCESS);
    EXPECT_EQ(ReadText(*other, 100, &text), VI_SUCCESS);
    EXPECT_EQ(owner->Unlock(), VI_SUCCESS);
    EXPECT_EQ(other->Unlock(), VI_SUCCESS);
    EXPECT_EQ(third->Lock(VI_EXCLUSIVE_LOCK, 0, {}, nullptr), VI_SUCCESS);
}

TEST(VisaHislip, DeviceClearDropsUnreadAnswersAndStatusByteShowsThem) {
    LanSimulator sim;
    auto session = OpenOrFail(sim.HislipName());
    ASSERT_TRUE(session);
    ASSERT_EQ(Send(*session, "SIM:BLOCK? 5000\n"), VI_SUCCESS);
    std::string text;
    EXPECT_EQ(ReadText(*session, 10, &text), VI_SUCCESS_MAX_CNT);
    ViUInt16 stb = 0;
    EXPECT_EQ(session->ReadStatusByte(&stb), VI_SUCCESS);
    EXPECT_EQ(stb & 0x10, 0x10) << "message available";
    EXPECT_EQ(session->Clear(), VI_SUCCESS);
    EXPECT_EQ(session->ReadStatusByte(&stb), VI_SUCCESS);
    EXPECT_EQ(stb & 0x10, 0);

    ASSERT_EQ(Send(*session, "OUTP:FREQ?\n"), VI_SUCCESS);
    EXPECT_EQ(ReadText(*session, 100, &text), VI_SUCCESS);
    EXPECT_EQ(text, "60\n");
}

TEST(VisaHislip, FollowsAServerThatOffersOnlyOverlappedMode) {
    LanSimulatorOptions options;
    options.hislip.overlapOnly = true;
    LanSimulator sim(options);
    auto session = OpenOrFail(sim.HislipName());
    ASSERT_TRUE(session);
    EXPECT_TRUE(Hislip(*session).Overlapped());
    // Two queries in flight; their answers come in order.
    ASSERT_EQ(Send(*session, "OUTP:FREQ?\n"), VI_SUCCESS);
    ASSERT_EQ(Send(*session, "SIM:BLOCK? 3\n"), VI_SUCCESS);
    std::string text;
    EXPECT_EQ(ReadText(*session, 100, &text), VI_SUCCESS);
    EXPECT_EQ(text, "60\n");
    EXPECT_EQ(ReadText(*session, 100, &text), VI_SUCCESS);
    EXPECT_EQ(text, "#13ABC\n");
    EXPECT_EQ(session->Clear(), VI_SUCCESS);
    EXPECT_TRUE(Hislip(*session).Overlapped());
}

TEST(VisaHislip, RefusedSessionsSayWhy) {
    LanSimulatorOptions options;
    options.hislip.maxSessions = 1;
    LanSimulator sim(options);
    ResourceManager manager;
    std::unique_ptr<MessageSession> session, second;
    const std::string port = std::to_string(sim.Hislip().Port());

    EXPECT_EQ(manager.Open("TCPIP::127.0.0.1::hislip3," + port + "::INSTR", 1000, &session), VI_ERROR_RSRC_NFOUND);
    EXPECT_NE(
        manager.ErrorDetail().find("HiSLIP server rejected the session: unidentified error (no device at sub-address"),
        std::string::npos)
        << manager.ErrorDetail();

    ASSERT_EQ(manager.Open(sim.HislipName(), 1000, &session), VI_SUCCESS);
    EXPECT_EQ(manager.Open(sim.HislipName(1), 1000, &second), VI_ERROR_RSRC_BUSY);
    EXPECT_NE(manager.ErrorDetail().find("maximum number of clients"), std::string::npos) << manager.ErrorDetail();

}

}  // namespace
}  // namespace zpv::visa
