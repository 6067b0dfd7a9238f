// The HiSLIP client against a scripted server that says what a real one might not: errors, fatal
// errors, stray bytes, silence. It also checks what the client puts on the wire.
#include <chrono>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/visa/hislip_session.h"
#include "platform/visa/resource_manager.h"
#include "visa/loopback_peer.h"

namespace zpv::visa {
namespace {

using hislip::Header;
using hislip::MessageType;
using Clock = std::chrono::steady_clock;

class FakeHislipServer {
public:
    FakeHislipServer() : listener_(testing::BoundLoopbackSocket(4, &port_)) {}
    ~FakeHislipServer() { ::close(listener_); }

    std::string Name() const { return "TCPIP::127.0.0.1::hislip0," + std::to_string(port_) + "::INSTR"; }

    // Plays the server's part of opening a session; answerInitialize false leaves the client waiting.
    void Handshake(bool answerInitialize = true) {
        sync_ = Accept();
        Header header;
        std::string payload;
        Expect(*sync_, MessageType::Initialize, &header, &payload);
        EXPECT_EQ(payload, "hislip0");
        EXPECT_EQ(header.parameter >> 16, 0x0100u) << "protocol 1.0";
        async_ = Accept();
        if (!answerInitialize) return;
        Send(*sync_, MessageType::InitializeResponse, 0, 0x01000007u);
        Expect(*async_, MessageType::AsyncInitialize, &header, &payload);
        EXPECT_EQ(header.parameter, 7u) << "the session id";
        Send(*async_, MessageType::AsyncInitializeResponse, 0, 0);
        Expect(*async_, MessageType::AsyncMaximumMessageSize, &header, &payload);
        EXPECT_EQ(payload.size(), 8u);
        Send(*async_, MessageType::AsyncMaximumMessageSizeResponse, 0, 0, std::string("\0\0\0\0\0\x10\0\0", 8));
    }

    void Expect(HislipChannel& channel, MessageType type, Header* header, std::string* payload) {
        ASSERT_EQ(channel.NextHeader(header, Deadline::After(2000)), VI_SUCCESS);
        ASSERT_EQ(header->type, type) << hislip::MessageTypeName(header->type);
        ASSERT_EQ(channel.ReadSmallPayload(payload, 1 << 20, Deadline::After(2000)), VI_SUCCESS);
    }
    void Send(HislipChannel& channel, MessageType type, std::uint8_t control, std::uint32_t parameter,
              std::string_view payload = {}) {
        std::size_t sent = 0;
        ASSERT_EQ(channel.Send(type, control, parameter, payload, Deadline::After(2000), &sent), VI_SUCCESS);
    }
    HislipChannel& Sync() { return *sync_; }
    HislipChannel& Async() { return *async_; }
    int SyncFd() const { return syncFd_; }

private:
    std::unique_ptr<HislipChannel> Accept() {
        pollfd p{listener_, POLLIN, 0};
        EXPECT_EQ(::poll(&p, 1, 2000), 1) << "no connection arrived";
        int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (!sync_) syncFd_ = fd;
        return std::make_unique<HislipChannel>(fd);
    }

    unsigned short port_ = 0;
    int listener_;
    int syncFd_ = -1;
    std::unique_ptr<HislipChannel> sync_, async_;
};

HislipSession& Hislip(MessageSession& session) { return dynamic_cast<HislipSession&>(session); }

class VisaHislipHostile : public ::testing::Test {
protected:
    void SetUp() override {
        std::thread server([&] { server_.Handshake(); });
        ResourceManager manager;
        ASSERT_EQ(manager.Open(server_.Name(), 2000, &session_), VI_SUCCESS) << manager.ErrorDetail();
        server.join();
        session_->SetTimeout(1000);
    }

    // Writes a query and checks the DataEnd that carries it.
    std::uint32_t Query(const std::string& text, std::uint8_t expectedControl = 0) {
        EXPECT_EQ(session_->Write(text.data(), text.size(), nullptr, true), VI_SUCCESS);
        Header header;
        std::string payload;
        server_.Expect(server_.Sync(), MessageType::DataEnd, &header, &payload);
        EXPECT_EQ(payload, text);
        EXPECT_EQ(header.control, expectedControl) << "RMT-delivered";
        return header.parameter;
    }

    ViStatus ReadText(std::string* text) {
        std::string buffer(256, '\0');
        std::size_t returned = 0;
        ViStatus status = session_->Read(buffer.data(), buffer.size(), &returned);
        *text = buffer.substr(0, returned);
        return status;
    }

    FakeHislipServer server_;
    std::unique_ptr<MessageSession> session_;
};

TEST_F(VisaHislipHostile, NumbersMessagesAndDropsAnswersToOtherMessages) {
    const std::uint32_t first = Query("A?\n");
    EXPECT_EQ(first, 0xFFFFFF00u);
    // An answer to some other message, then ours split over Data and DataEnd.
    server_.Send(server_.Sync(), MessageType::DataEnd, 0, first - 2, "stale\n");
    server_.Send(server_.Sync(), MessageType::Interrupted, 0, first);
    server_.Send(server_.Sync(), MessageType::Data, 0, first, "fre");
    server_.Send(server_.Sync(), MessageType::DataEnd, 0, first, "sh\n");
    std::string text;
    EXPECT_EQ(ReadText(&text), VI_SUCCESS);
    EXPECT_EQ(text, "fresh\n");
    // The whole answer was read, which the next message reports.
    EXPECT_EQ(Query("B?\n", 1), first + 2);
}

// A long answer in several Data messages and a DataEnd arrives whole and exact, in one read or in
// pieces that do not line up with the messages.
TEST_F(VisaHislipHostile, ALongAnswerInSeveralMessagesIsAssembledExactly) {
    const std::uint32_t id = Query("BLOCK?\n");
    std::vector<std::string> parts;
    std::string expected;
    for (int part = 0; part < 5; ++part) {
        parts.emplace_back(70000 + part, static_cast<char>('a' + part));
        if (part == 4) parts.back() += '\n';
        expected += parts.back();
    }
    // The server sends while we read: 350 kB need not fit the socket buffers.
    std::thread sender([&] {
        for (std::size_t i = 0; i < parts.size(); ++i)
            server_.Send(server_.Sync(), i + 1 == parts.size() ? MessageType::DataEnd : MessageType::Data, 0, id,
                         parts[i]);
    });
    std::string received(expected.size() + 10, '\0');
    std::size_t done = 0;
    ViStatus status = VI_SUCCESS_MAX_CNT;
    for (std::size_t piece = 4096; status == VI_SUCCESS_MAX_CNT; piece = piece * 3 / 2) {
        std::size_t got = 0;
        status = session_->Read(received.data() + done, std::min(piece, received.size() - done), &got);
        done += got;
    }
    sender.join();
    EXPECT_EQ(status, VI_SUCCESS);
    received.resize(done);
    EXPECT_TRUE(received == expected) << "assembled " << done << " of " << expected.size() << " bytes";
}

TEST_F(VisaHislipHostile, ServerErrorsFailTheOperationFatalOnesEndTheSession) {
    const std::uint32_t id = Query("A?\n");
    server_.Send(server_.Sync(), MessageType::Error, 1, 0, "what is this");
    std::string text;
    EXPECT_EQ(ReadText(&text), VI_ERROR_NSUP_OPER);
    EXPECT_NE(Hislip(*session_).LastError().find("unrecognized message type (what is this)"), std::string::npos);

    // The session goes on after a non-fatal error.
    server_.Send(server_.Sync(), MessageType::DataEnd, 0, id, "ok\n");
    EXPECT_EQ(ReadText(&text), VI_SUCCESS);
    EXPECT_EQ(text, "ok\n");

    server_.Send(server_.Sync(), MessageType::FatalError, 1, 0, "bad header");
    EXPECT_EQ(ReadText(&text), VI_ERROR_CONN_LOST);
    EXPECT_NE(Hislip(*session_).LastError().find("poorly formed message header (bad header)"), std::string::npos);
    EXPECT_EQ(session_->Write("X\n", 2, nullptr, true), VI_ERROR_CONN_LOST);
    ViUInt16 stb = 0;
    EXPECT_EQ(session_->ReadStatusByte(&stb), VI_ERROR_CONN_LOST);
}

TEST_F(VisaHislipHostile, OversizedMessageLosesTheSession) {
    const std::uint32_t id = Query("A?\n");
    std::uint8_t header[hislip::kHeaderSize];
    hislip::EncodeHeader({MessageType::DataEnd, 0, id, HislipSession::kLargestIncomingMessage + 1}, header);
    ASSERT_EQ(::send(server_.SyncFd(), header, sizeof header, MSG_NOSIGNAL), 16);
    std::string text;
    EXPECT_EQ(ReadText(&text), VI_ERROR_IO);
    EXPECT_EQ(ReadText(&text), VI_ERROR_CONN_LOST) << "the stream cannot be followed any more";
}

TEST_F(VisaHislipHostile, BytesThatAreNoHeaderLoseTheSession) {
    Query("A?\n");
    ASSERT_EQ(::send(server_.SyncFd(), "GARBAGE-NOT-HISLIP", 16, MSG_NOSIGNAL), 16);
    std::string text;
    EXPECT_EQ(ReadText(&text), VI_ERROR_IO);
    EXPECT_EQ(ReadText(&text), VI_ERROR_CONN_LOST);
}

TEST_F(VisaHislipHostile, SilentServerTimesOutEachOperation) {
    Query("A?\n");
    session_->SetTimeout(150);
    std::string text;
    auto start = Clock::now();
    EXPECT_EQ(ReadText(&text), VI_ERROR_TMO) << "the lock query after the timeout goes unanswered as well";
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(1200));
    start = Clock::now();
    EXPECT_EQ(session_->Clear(), VI_ERROR_TMO);
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(800));
}

TEST(VisaHislipOpen, ServerThatNeverAnswersInitializeTimesOut) {
    FakeHislipServer server;
    std::thread script([&] { server.Handshake(false); });
    ResourceManager manager;
    std::unique_ptr<MessageSession> session;
    const auto start = Clock::now();
    EXPECT_EQ(manager.Open(server.Name(), 300, &session), VI_ERROR_TMO);
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(1000));
    EXPECT_NE(manager.ErrorDetail().find("No answer from the HiSLIP server"), std::string::npos)
        << manager.ErrorDetail();
    script.join();
}

}  // namespace
}  // namespace zpv::visa
