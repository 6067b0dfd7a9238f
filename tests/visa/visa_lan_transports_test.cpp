// The same conversations with the simulator over SOCKET, VXI-11 and HiSLIP: whatever carries the
// messages, a session behaves the same to the layers above.
#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "visa/lan_simulator.h"

namespace zpv::visa {
namespace {

using Clock = std::chrono::steady_clock;
using testing::LanSimulator;

struct LanTransport {
    const char* name;
    std::string (LanSimulator::*resource)(int board) const;
};

class VisaLanTransports : public ::testing::TestWithParam<LanTransport> {
protected:
    std::unique_ptr<MessageSession> Open(int board = 0) {
        ResourceManager manager;
        std::unique_ptr<MessageSession> session;
        EXPECT_EQ(manager.Open((sim_.*GetParam().resource)(board), 2000, &session), VI_SUCCESS)
            << manager.ErrorDetail();
        // As the driver configures a session after opening it: reads end at a line feed.
        if (session) session->SetTermCharEnabled(true);
        return session;
    }

    static ViStatus Send(MessageSession& session, const std::string& text) {
        return session.Write(text.data(), text.size(), nullptr, true);
    }

    static ViStatus ReadText(MessageSession& session, std::size_t count, std::string* text) {
        std::string buffer(count, '\0');
        std::size_t returned = 0;
        ViStatus status = session.Read(buffer.data(), count, &returned);
        *text = buffer.substr(0, returned);
        return status;
    }

    // The whole answer, in pieces as the driver reads it.
    static ViStatus ReadAnswer(MessageSession& session, std::string* text) {
        text->clear();
        std::string piece;
        ViStatus status;
        while ((status = ReadText(session, 4096, &piece)) == VI_SUCCESS_MAX_CNT) *text += piece;
        *text += piece;
        return status;
    }

    LanSimulator sim_;
};

TEST_P(VisaLanTransports, IdentityAndAMegabyteBlock) {
    auto session = Open();
    ASSERT_TRUE(session);
    std::string text;
    ASSERT_EQ(Send(*session, "*IDN?\n"), VI_SUCCESS);
    EXPECT_FALSE(Failed(ReadAnswer(*session, &text)));
    EXPECT_EQ(text.rfind("Kaltrix,", 0), 0u) << text;

    session->SetTimeout(10000);
    ASSERT_EQ(Send(*session, "SIM:BLOCK? 1000000\n"), VI_SUCCESS);
    EXPECT_FALSE(Failed(ReadAnswer(*session, &text)));
    ASSERT_EQ(text.size(), 1'000'000u + 9u + 1u);
    EXPECT_EQ(text.substr(0, 12), "#71000000ABC");
    EXPECT_EQ(text.substr(text.size() - 3), "MN\n");
}

TEST_P(VisaLanTransports, TimeoutLeavesTheSessionUsable) {
    auto session = Open();
    ASSERT_TRUE(session);
    session->SetTimeout(250);
    ASSERT_EQ(Send(*session, "SIM:MUTE ON;:OUTP:FREQ?\n"), VI_SUCCESS);
    std::string text;
    const auto start = Clock::now();
    EXPECT_EQ(ReadText(*session, 100, &text), VI_ERROR_TMO);
    const auto spent = Clock::now() - start;
    EXPECT_GE(spent, std::chrono::milliseconds(240));
    EXPECT_LT(spent, std::chrono::milliseconds(1000));

    ASSERT_EQ(Send(*session, "SIM:MUTE OFF;:OUTP:FREQ?\n"), VI_SUCCESS);
    EXPECT_FALSE(Failed(ReadText(*session, 100, &text)));
    EXPECT_EQ(text, "60\n");
}

TEST_P(VisaLanTransports, LockShutsASecondSessionOut) {
    auto owner = Open();
    auto other = Open();
    ASSERT_TRUE(owner && other);
    ASSERT_EQ(owner->Lock(VI_EXCLUSIVE_LOCK, 0, {}, nullptr), VI_SUCCESS);
    EXPECT_EQ(Send(*other, "*CLS\n"), VI_ERROR_RSRC_LOCKED);
    EXPECT_EQ(other->Lock(VI_SHARED_LOCK, 50, {}, nullptr), VI_ERROR_RSRC_LOCKED);
    EXPECT_EQ(owner->Unlock(), VI_SUCCESS);
    EXPECT_EQ(Send(*other, "*CLS\n"), VI_SUCCESS);
}

TEST_P(VisaLanTransports, DeviceClearDropsTheUnreadAnswer) {
    auto session = Open();
    ASSERT_TRUE(session);
    ASSERT_EQ(Send(*session, "SIM:BLOCK? 5000\n"), VI_SUCCESS);
    std::string text;
    EXPECT_EQ(ReadText(*session, 10, &text), VI_SUCCESS_MAX_CNT);
    // A socket has no clear of its own: only what has arrived can be dropped.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(session->Clear(), VI_SUCCESS);
    ASSERT_EQ(Send(*session, "OUTP:FREQ?\n"), VI_SUCCESS);
    EXPECT_FALSE(Failed(ReadText(*session, 100, &text)));
    EXPECT_EQ(text, "60\n");
}

TEST_P(VisaLanTransports, DroppedConnectionIsAClearErrorWithinTheTimeout) {
    auto session = Open();
    ASSERT_TRUE(session);
    session->SetTimeout(1000);
    ASSERT_EQ(Send(*session, "SIM:DROP 0\n"), VI_SUCCESS);
    const auto start = Clock::now();
    ViStatus status = Send(*session, "*IDN?\n");
    std::string text;
    if (!Failed(status)) status = ReadText(*session, 100, &text);
    EXPECT_EQ(status, VI_ERROR_CONN_LOST);
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(1000));
    sim_.Instrument().SetFaults({});
}

INSTANTIATE_TEST_SUITE_P(, VisaLanTransports,
                         ::testing::Values(LanTransport{"Socket", &LanSimulator::SocketName},
                                           LanTransport{"Vxi11", &LanSimulator::Vxi11Name},
                                           LanTransport{"Hislip", &LanSimulator::HislipName}),
                         [](const ::testing::TestParamInfo<LanTransport>& info) { return info.param.name; });

}  // namespace
}  // namespace zpv::visa
