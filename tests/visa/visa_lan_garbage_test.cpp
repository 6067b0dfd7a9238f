// An instrument is an untrusted peer: whatever it answers, the RPC and HiSLIP clients end each
// operation with a status within its timeout and never read past what they were given.
#include <chrono>
#include <random>
#include <thread>

#include <gtest/gtest.h>

#include "platform/visa/hislip_session.h"
#include "platform/visa/onc_rpc_client.h"
#include "platform/visa/resource_manager.h"
#include "platform/visa/tcp_connector.h"
#include "visa/loopback_peer.h"

namespace zpv::visa {
namespace {

using Clock = std::chrono::steady_clock;

std::string Garbage(std::mt19937& random, std::string prefix) {
    const std::size_t length = random() % 200;
    for (std::size_t i = 0; i < length; ++i) prefix.push_back(static_cast<char>(random()));
    return prefix;
}

TEST(VisaLanGarbage, RpcClientAnswersRandomRepliesWithAStatus) {
    std::mt19937 random(4870);
    for (int round = 0; round < 40; ++round) {
        testing::LoopbackPeer peer;
        int fd = -1;
        std::string why;
        ASSERT_EQ(ConnectTcp("127.0.0.1", peer.Port(), Deadline::After(1000), &fd, &why), VI_SUCCESS);
        OncRpcClient client(fd, 0x0607AF, 1);
        peer.Accept();
        RpcReply reply;
        ViStatus status = VI_SUCCESS;
        // The data of the reply may go to storage of the caller's, which nothing may write past.
        const std::size_t capacity = random() % 64;
        std::string storage(capacity + 8, '#');
        ReplyBulk bulk{8, reinterpret_cast<std::uint8_t*>(storage.data()), capacity};
        std::thread call([&] { status = client.Call(11, {}, 1024, Deadline::After(150), &reply, &bulk); });
        const std::string request = peer.Receive(44);
        // Half the time the garbage follows a record mark and the caller's own xid, every fourth
        // time also the header of a successful reply, so the garbage is taken for results and data.
        std::string prefix;
        if (round % 2 && request.size() >= 8)
            prefix = std::string("\x80\0\0", 3) + char(random() % 64) + request.substr(4, 4);
        if (round % 4 == 1) prefix += std::string("\0\0\0\x01", 4) + std::string(16, '\0');
        peer.Send(Garbage(random, prefix));
        if (round % 3 == 0) peer.Hangup();
        const auto start = Clock::now();
        call.join();
        EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(1000));
        EXPECT_LE(bulk.received, capacity);
        EXPECT_EQ(storage.substr(capacity), std::string(8, '#')) << "written past the caller's storage";
        if (!Failed(status)) {
            XdrReader results = reply.Results();
            std::uint32_t word = 0;
            while (results.GetUint32(&word)) {
            }
        }
    }
}

TEST(VisaLanGarbage, HislipClientAnswersRandomMessagesWithAStatus) {
    std::mt19937 random(6);
    for (int round = 0; round < 30; ++round) {
        unsigned short port = 0;
        const int listener = testing::BoundLoopbackSocket(4, &port);
        std::unique_ptr<MessageSession> session;
        std::thread server([&] {
            // A proper handshake, then random messages on the synchronous channel.
            int sync = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
            char request[64];
            ::recv(sync, request, 23, MSG_WAITALL);
            ::send(sync, std::string("HS\x01\0\x01\0\0\x07\0\0\0\0\0\0\0\0", 16).data(), 16, MSG_NOSIGNAL);
            int async = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
            ::recv(async, request, 16, MSG_WAITALL);
            ::send(async, std::string("HS\x12\0\0\0\0\0\0\0\0\0\0\0\0\0", 16).data(), 16, MSG_NOSIGNAL);
            ::recv(async, request, 24, MSG_WAITALL);
            ::send(async, std::string("HS\x10\0\0\0\0\0\0\0\0\0\0\0\0\x08\0\0\0\0\0\x10\0\0", 24).data(), 24,
                   MSG_NOSIGNAL);
            ::recv(sync, request, 16 + 3, MSG_WAITALL);  // the query
            std::string bytes;
            for (int message = 0; message < 4; ++message) {
                const char type = static_cast<char>(random() % 30);
                bytes +=
                    Garbage(random, std::string("HS") + type + char(random() % 4) + std::string("\xff\xff\xff\0", 4) +
                                        std::string(7, '\0') + char(random() % 40));
            }
            ::send(sync, bytes.data(), bytes.size(), MSG_NOSIGNAL);
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            ::close(sync);
            ::close(async);
        });
        ResourceManager manager;
        ASSERT_EQ(manager.Open("TCPIP::127.0.0.1::hislip0," + std::to_string(port) + "::INSTR", 1000, &session),
                  VI_SUCCESS)
            << manager.ErrorDetail();
        session->SetTimeout(200);
        ASSERT_EQ(session->Write("Q?\n", 3, nullptr, true), VI_SUCCESS);
        std::string buffer(64, '\0');
        std::size_t returned = 0;
        const auto start = Clock::now();
        for (int read = 0; read < 6; ++read) {
            ViStatus status = session->Read(buffer.data(), buffer.size(), &returned);
            EXPECT_LE(returned, buffer.size());
            if (Failed(status)) break;
        }
        EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(3000));
        server.join();
        ::close(listener);
    }
}

}  // namespace
}  // namespace zpv::visa
