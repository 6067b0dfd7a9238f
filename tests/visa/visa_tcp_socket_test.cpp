#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "platform/visa/resource_manager.h"
#include "visa/loopback_peer.h"

namespace zpv::visa {
namespace {

using testing::BoundLoopbackSocket;
using testing::LoopbackPeer;
using testing::SocketDescriptor;
using Clock = std::chrono::steady_clock;

long ElapsedMs(Clock::time_point since) {
    return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count());
}

class VisaTcpSocket : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(manager_.Open(peer_.Descriptor(), 2000, &session_), VI_SUCCESS) << manager_.ErrorDetail();
        peer_.Accept();
    }

    // One read into a fresh buffer; the bytes read go to text.
    ViStatus ReadText(std::size_t count, std::string& text) {
        std::string buffer(count, '\0');
        std::size_t returned = 0;
        ViStatus status = session_->Read(buffer.data(), count, &returned);
        text = buffer.substr(0, returned);
        return status;
    }

    LoopbackPeer peer_;
    ResourceManager manager_;
    std::unique_ptr<MessageSession> session_;
};

TEST_F(VisaTcpSocket, ReadStopsAtTermCharThenCountThenTimeout) {
    session_->SetTermCharEnabled(true);
    session_->SetTimeout(150);
    peer_.Send("ab\ncdef");
    std::string text;
    EXPECT_EQ(ReadText(100, text), VI_SUCCESS_TERM_CHAR);
    EXPECT_EQ(text, "ab\n");
    EXPECT_EQ(ReadText(2, text), VI_SUCCESS_MAX_CNT);
    EXPECT_EQ(text, "cd");

    auto start = Clock::now();
    EXPECT_EQ(ReadText(100, text), VI_ERROR_TMO);
    EXPECT_EQ(text, "ef") << "what arrived before the timeout is handed over";
    EXPECT_GE(ElapsedMs(start), 140);
    EXPECT_LT(ElapsedMs(start), 1500);

    // Without the termination character a line feed is ordinary data.
    session_->SetTermCharEnabled(false);
    peer_.Send("x\ny");
    EXPECT_EQ(ReadText(3, text), VI_SUCCESS_MAX_CNT);
    EXPECT_EQ(text, "x\ny");
}

TEST_F(VisaTcpSocket, LargeResponseIsReadWholeInPieces) {
    std::string response(100000, 'r');
    response += '\n';
    std::thread sender([&] { peer_.Send(response); });
    session_->SetTermCharEnabled(true);
    std::string whole, piece;
    ViStatus status;
    while ((status = ReadText(4096, piece)) == VI_SUCCESS_MAX_CNT) whole += piece;
    whole += piece;
    sender.join();
    EXPECT_EQ(status, VI_SUCCESS_TERM_CHAR);
    EXPECT_EQ(whole, response);
}

// A large read whose first bytes end at the termination character: everything behind it, however
// much came in the same receive, waits for the next reads.
TEST_F(VisaTcpSocket, BytesBehindATermCharInALargeReadAreKept) {
    std::string behind(300000, 'b');
    behind += '\n';
    std::thread sender([&] { peer_.Send("a\n" + behind); });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // as much as fits waits in the kernel
    session_->SetTermCharEnabled(true);
    std::string text;
    EXPECT_EQ(ReadText(1 << 20, text), VI_SUCCESS_TERM_CHAR);
    EXPECT_EQ(text, "a\n");
    std::string rest;
    ViStatus status;
    while ((status = ReadText(1 << 20, text)) == VI_SUCCESS_MAX_CNT) rest += text;
    rest += text;
    sender.join();
    EXPECT_EQ(status, VI_SUCCESS_TERM_CHAR);
    EXPECT_EQ(rest, behind);
}

// A large counted read waits in the kernel for all its bytes, yet never past the timeout: a peer
// that stalls mid-block gives what came and a timeout; one that hangs up, connection lost at once.
// Line feeds in the data are data. What arrives after the stall is the next read's.
TEST_F(VisaTcpSocket, LargeCountedReadsKeepTheirTimeoutAndTheirPeer) {
    std::string block(200000, '\0');
    for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>(i % 256);
    session_->SetTimeout(300);
    peer_.Send(block.substr(0, 120000));
    std::string text;
    auto start = Clock::now();
    EXPECT_EQ(ReadText(block.size(), text), VI_ERROR_TMO);
    EXPECT_GE(ElapsedMs(start), 290);
    EXPECT_LT(ElapsedMs(start), 1500);
    EXPECT_EQ(text, block.substr(0, 120000));

    peer_.Send(block.substr(120000));
    EXPECT_EQ(ReadText(block.size() - 120000, text), VI_SUCCESS_MAX_CNT);
    EXPECT_EQ(text, block.substr(120000));

    session_->SetTimeout(5000);
    peer_.Send(block.substr(0, 70000));
    peer_.Hangup();
    start = Clock::now();
    EXPECT_EQ(ReadText(block.size(), text), VI_ERROR_CONN_LOST);
    EXPECT_EQ(text, block.substr(0, 70000));
    EXPECT_LT(ElapsedMs(start), 1000) << "a hang-up must not wait for the timeout";
}

TEST_F(VisaTcpSocket, WritesHundredKilobytesWhole) {
    std::string data(100000, '\0');
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>('A' + i % 23);
    std::string received;
    std::thread receiver([&] { received = peer_.Receive(data.size()); });
    std::size_t written = 0;
    EXPECT_EQ(session_->Write(data.data(), data.size(), &written), VI_SUCCESS);
    receiver.join();
    EXPECT_EQ(written, data.size());
    EXPECT_EQ(received, data);
}

TEST_F(VisaTcpSocket, ClearDropsAStaleAnswer) {
    session_->SetTermCharEnabled(true);
    peer_.Send("stale\n");
    EXPECT_EQ(session_->Clear(), VI_SUCCESS);
    peer_.Send("fresh\n");
    std::string text;
    EXPECT_EQ(ReadText(100, text), VI_SUCCESS_TERM_CHAR);
    EXPECT_EQ(text, "fresh\n");
}

TEST_F(VisaTcpSocket, PeerThatHangsUpGivesConnectionLost) {
    peer_.Send("12");
    peer_.Hangup();
    session_->SetTimeout(5000);
    std::string text;
    auto start = Clock::now();
    EXPECT_EQ(ReadText(100, text), VI_ERROR_CONN_LOST);
    EXPECT_EQ(text, "12");
    EXPECT_LT(ElapsedMs(start), 1000) << "a hang-up must not wait for the timeout";
    EXPECT_EQ(ReadText(100, text), VI_ERROR_CONN_LOST);

    // The first write after a hang-up may still be taken by the kernel; the next ones cannot.
    ViStatus status = VI_SUCCESS;
    for (int i = 0; i < 5 && status == VI_SUCCESS; ++i) {
        status = session_->Write("*RST\n", 5, nullptr);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_EQ(status, VI_ERROR_CONN_LOST);
}

TEST_F(VisaTcpSocket, StatusByteIsAskedForAndCheckedAndSessionReportsItself) {
    peer_.Send("+16\n");
    ViUInt16 stb = 0;
    EXPECT_EQ(session_->ReadStatusByte(&stb), VI_SUCCESS);
    EXPECT_EQ(stb, 16);
    EXPECT_EQ(peer_.Receive(6), "*STB?\n");

    session_->SetTimeout(200);
    const std::string garbage[] = {"banana\n", "300\n", "\x01\xff\n", std::string(100, '7') + "\n"};
    for (const std::string& answer : garbage) {
        peer_.Send(answer);
        EXPECT_EQ(session_->ReadStatusByte(&stb), VI_ERROR_IO) << answer;
    }
    peer_.Send("+0\n");
    EXPECT_EQ(session_->ReadStatusByte(&stb), VI_SUCCESS) << "an overlong answer is not left behind";
    EXPECT_EQ(stb, 0);

    EXPECT_EQ(session_->Interface(), InterfaceType::Tcpip);
    EXPECT_EQ(session_->ResourceClass(), "SOCKET");
    EXPECT_EQ(session_->ResourceName(), peer_.Descriptor());
    ViUInt32 baud = 0;
    EXPECT_EQ(session_->GetSerialAttribute(SerialAttribute::BaudRate, &baud), VI_ERROR_NSUP_ATTR);

    EXPECT_EQ(session_->Close(), VI_SUCCESS);
    EXPECT_EQ(session_->Write("x", 1, nullptr), VI_ERROR_INV_OBJECT);
    EXPECT_EQ(session_->Close(), VI_ERROR_INV_OBJECT);
}

TEST(VisaTcpOpen, ClosedPortIsNotFoundAtOnce) {
    unsigned short port = 0;
    int bound = BoundLoopbackSocket(-1, &port);  // bound but not listening: the kernel refuses
    ResourceManager manager;
    std::unique_ptr<MessageSession> session;
    auto start = Clock::now();
    EXPECT_EQ(manager.Open(SocketDescriptor(port), 2000, &session), VI_ERROR_RSRC_NFOUND);
    EXPECT_LT(ElapsedMs(start), 1000);
    EXPECT_EQ(session, nullptr);
    EXPECT_NE(manager.ErrorDetail().find("refused"), std::string::npos) << manager.ErrorDetail();
    ::close(bound);
}

TEST(VisaTcpOpen, UnansweredConnectTimesOutWithinOpenTimeout) {
    // A listener whose accept queue is full drops further connection requests unanswered.
    unsigned short port = 0;
    int listener = BoundLoopbackSocket(0, &port);
    int first = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::connect(first, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);

    ResourceManager manager;
    std::unique_ptr<MessageSession> session;
    auto start = Clock::now();
    EXPECT_EQ(manager.Open(SocketDescriptor(port), 300, &session), VI_ERROR_TMO) << manager.ErrorDetail();
    EXPECT_GE(ElapsedMs(start), 280);
    EXPECT_LT(ElapsedMs(start), 1500);
    ::close(first);
    ::close(listener);
}

TEST(VisaTcpOpen, HostNamesAreResolved) {
    LoopbackPeer peer;
    ResourceManager manager;
    std::unique_ptr<MessageSession> session;
    EXPECT_EQ(manager.Open(SocketDescriptor(peer.Port(), "localhost"), 2000, &session), VI_SUCCESS)
        << manager.ErrorDetail();
}

}  // namespace
}  // namespace zpv::visa
