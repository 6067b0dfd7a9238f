// The HiSLIP server at the message level: how a connection must start, what it answers to the
// unexpected, answers split to the client's maximum message size, and locks between sessions.
#include <sys/socket.h>

#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "platform/visa/hislip_channel.h"
#include "platform/visa/tcp_connector.h"
#include "zpv4870sim/hislip_server.h"

namespace zpv::sim {
namespace {

using visa::Deadline;
using visa::HislipChannel;
using visa::hislip::Header;
using visa::hislip::MessageType;

std::unique_ptr<HislipChannel> Channel(std::uint16_t port) {
    int fd = -1;
    std::string why;
    EXPECT_EQ(visa::ConnectTcp("127.0.0.1", port, Deadline::After(1000), &fd, &why), visa::VI_SUCCESS) << why;
    return std::make_unique<HislipChannel>(fd);
}

void Send(HislipChannel& channel, MessageType type, std::uint8_t control, std::uint32_t parameter,
          std::string_view payload = {}) {
    std::size_t sent = 0;
    ASSERT_EQ(channel.Send(type, control, parameter, payload, Deadline::After(1000), &sent), visa::VI_SUCCESS);
}

// The next message; type Initialize (0) stands for "none" when the channel fails.
Header Receive(HislipChannel& channel, std::string* payload = nullptr) {
    Header header;
    std::string ignored;
    if (channel.NextHeader(&header, Deadline::After(2000)) != visa::VI_SUCCESS) return Header{};
    channel.ReadSmallPayload(payload ? payload : &ignored, 1 << 20, Deadline::After(2000));
    return header;
}

// A session opened by hand: both channels initialized.
struct RawSession {
    explicit RawSession(std::uint16_t port) : sync(Channel(port)), async(Channel(port)) {
        Send(*sync, MessageType::Initialize, 0, 0x01000000, "hislip0");
        const Header response = Receive(*sync);
        EXPECT_EQ(response.type, MessageType::InitializeResponse);
        Send(*async, MessageType::AsyncInitialize, 0, response.parameter & 0xFFFF);
        EXPECT_EQ(Receive(*async).type, MessageType::AsyncInitializeResponse);
    }
    Header Ask(MessageType type, std::uint8_t control, std::uint32_t parameter, std::string_view payload = {}) {
        Send(*async, type, control, parameter, payload);
        return Receive(*async);
    }
    std::unique_ptr<HislipChannel> sync, async;
};

class SimHislip : public ::testing::Test {
protected:
    void SetUp() override { server_.Start(0); }
    Instrument instrument_;
    HislipServer server_{instrument_};
};

TEST_F(SimHislip, AConnectionMustStartWithAProperInitialization) {
    const struct {
        std::string bytes;
        std::uint8_t fatal;
    } cases[] = {
        {"GARBAGE-GARBAGE-", 1},
        {std::string("HS\x06\0\xff\xff\xff\0\0\0\0\0\0\0\0\0", 16), 3},    // Data first
        {std::string("HS\x11\0\0\0\x12\x34\0\0\0\0\0\0\0\0", 16), 3},      // AsyncInitialize of no session
        {std::string("HS\0\0\x01\0\0\0\0\0\0\0\0\0\0\x07hislip9", 23), 0},  // no such sub-address
    };
    for (const auto& c : cases) {
        int fd = -1;
        std::string why;
        ASSERT_EQ(visa::ConnectTcp("127.0.0.1", server_.Port(), Deadline::After(1000), &fd, &why), visa::VI_SUCCESS);
        HislipChannel raw(fd);
        ASSERT_EQ(::send(fd, c.bytes.data(), c.bytes.size(), MSG_NOSIGNAL), static_cast<ssize_t>(c.bytes.size()));
        const Header header = Receive(raw);
        EXPECT_EQ(header.type, MessageType::FatalError) << c.bytes;
        EXPECT_EQ(header.control, c.fatal) << c.bytes;
    }

    // Data before the asynchronous channel exists.
    auto sync = Channel(server_.Port());
    Send(*sync, MessageType::Initialize, 0, 0x01000000, "HISLIP0");
    EXPECT_EQ(Receive(*sync).type, MessageType::InitializeResponse);
    Send(*sync, MessageType::DataEnd, 0, 0xFFFFFF00, "*IDN?\n");
    const Header header = Receive(*sync);
    EXPECT_EQ(header.type, MessageType::FatalError);
    EXPECT_EQ(header.control, 2);
}

TEST_F(SimHislip, AnswersAreSplitToTheClientsMaximumAndUnknownMessagesAreNonFatal) {
    RawSession session(server_.Port());
    std::string payload;
    const Header size = session.Ask(MessageType::AsyncMaximumMessageSize, 0, 0, std::string("\0\0\0\0\0\0\0\x14", 8));
    EXPECT_EQ(size.type, MessageType::AsyncMaximumMessageSizeResponse);

    Send(*session.sync, static_cast<MessageType>(99), 0, 0);
    Header header = Receive(*session.sync);
    EXPECT_EQ(header.type, MessageType::Error);
    EXPECT_EQ(header.control, 1) << "unrecognized message type";

    Send(*session.sync, MessageType::DataEnd, 0, 0xFFFFFF04, "SIM:BLOCK? 10");
    std::string answer;
    do {
        header = Receive(*session.sync, &payload);
        EXPECT_EQ(header.parameter, 0xFFFFFF04u) << "the answer carries its query's id";
        EXPECT_LE(payload.size(), 4u) << "20 bytes less the header";
        answer += payload;
    } while (header.type == MessageType::Data);
    EXPECT_EQ(header.type, MessageType::DataEnd);
    EXPECT_EQ(answer, "#210ABCDEFGHIJ\n");

    const Header status = session.Ask(MessageType::AsyncStatusQuery, 1, 0xFFFFFF04);
    EXPECT_EQ(status.type, MessageType::AsyncStatusResponse);
    EXPECT_EQ(status.control & 0x10, 0) << "the client said it has the answer";
}

TEST_F(SimHislip, LocksAreExclusiveOrSharedByKeyAndEndWithTheSession) {
    auto a = std::make_unique<RawSession>(server_.Port());
    RawSession b(server_.Port());
    EXPECT_EQ(a->Ask(MessageType::AsyncLock, 1, 0).control, 1) << "exclusive granted";
    Header info = b.Ask(MessageType::AsyncLockInfo, 0, 0);
    EXPECT_EQ(info.control, 1);
    EXPECT_EQ(info.parameter, 1u);
    EXPECT_EQ(b.Ask(MessageType::AsyncLock, 1, 50).control, 0) << "timed out";

    // b's query waits for the lock; it is answered once a's session is gone.
    Send(*b.sync, MessageType::DataEnd, 0, 0xFFFFFF00, "OUTP:FREQ?");
    Header pending;
    EXPECT_NE(b.sync->NextHeader(&pending, Deadline::After(200)), visa::VI_SUCCESS);
    a.reset();
    std::string payload;
    EXPECT_EQ(Receive(*b.sync, &payload).type, MessageType::DataEnd);
    EXPECT_EQ(payload, "60\n");
    for (int i = 0; i < 100 && server_.SessionCount() > 1; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(server_.SessionCount(), 1u);

    RawSession c(server_.Port());
    EXPECT_EQ(b.Ask(MessageType::AsyncLock, 1, 0, "key").control, 1);
    EXPECT_EQ(c.Ask(MessageType::AsyncLock, 1, 0, "other").control, 0);
    EXPECT_EQ(c.Ask(MessageType::AsyncLock, 1, 0, "key").control, 1);
    info = c.Ask(MessageType::AsyncLockInfo, 0, 0);
    EXPECT_EQ(info.control, 0) << "no exclusive lock";
    EXPECT_EQ(info.parameter, 2u);
    EXPECT_EQ(c.Ask(MessageType::AsyncLock, 0, 0).control, 2) << "shared released";
    EXPECT_EQ(c.Ask(MessageType::AsyncLock, 0, 0).control, 3) << "nothing to release";
}

}  // namespace
}  // namespace zpv::sim
