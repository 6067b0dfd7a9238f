// A client is an untrusted peer: whatever bytes it sends, the LAN servers stay up and keep
// serving everyone else.
#include <sys/socket.h>
#include <unistd.h>

#include <random>
#include <string>

#include <gtest/gtest.h>

#include "platform/visa/hislip_channel.h"
#include "platform/visa/tcp_connector.h"
#include "zpv4870sim/hislip_server.h"
#include "zpv4870sim/portmapper.h"
#include "zpv4870sim/vxi11_server.h"

namespace zpv::sim {
namespace {

// Random bytes, often behind a prefix that gets them past the first check.
std::string Garbage(std::mt19937& random, std::string_view prefix) {
    std::string bytes = random() % 2 ? std::string(prefix) : std::string();
    const std::size_t length = random() % 300;
    for (std::size_t i = 0; i < length; ++i) bytes.push_back(static_cast<char>(random()));
    return bytes;
}

void Pelt(std::uint16_t port, std::mt19937& random, std::string_view prefix) {
    int fd = -1;
    std::string why;
    ASSERT_EQ(visa::ConnectTcp("127.0.0.1", port, visa::Deadline::After(1000), &fd, &why), visa::VI_SUCCESS) << why;
    const std::string bytes = Garbage(random, prefix);
    ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (random() % 2) ::shutdown(fd, SHUT_WR);  // sometimes a half-close, sometimes just gone
    ::close(fd);
}

TEST(SimLanServers, RandomBytesNeverBringAServerDown) {
    Instrument instrument;
    Vxi11Server vxi11(instrument);
    HislipServer hislip(instrument);
    Portmapper portmapper;
    vxi11.Start(0);
    hislip.Start(0);
    portmapper.Start(0);
    std::mt19937 random(4870);
    // A record mark of a small last fragment, and a HiSLIP prologue with an Initialize type.
    const std::string rpcPrefix("\x80\0\0\x40", 4), hislipPrefix("HS\0\0", 4);
    for (int round = 0; round < 60; ++round) {
        Pelt(vxi11.Port(), random, rpcPrefix);
        Pelt(portmapper.Port(), random, rpcPrefix);
        Pelt(hislip.Port(), random, hislipPrefix);
    }
    // Still serving.
    int fd = -1;
    std::string why;
    ASSERT_EQ(visa::ConnectTcp("127.0.0.1", hislip.Port(), visa::Deadline::After(1000), &fd, &why), visa::VI_SUCCESS);
    const std::string initialize("HS\0\0\x01\0\0\0\0\0\0\0\0\0\0\x07hislip0", 23);
    ASSERT_EQ(::send(fd, initialize.data(), initialize.size(), MSG_NOSIGNAL), 23);
    visa::HislipChannel channel(fd);
    visa::hislip::Header answer;
    ASSERT_EQ(channel.NextHeader(&answer, visa::Deadline::After(2000)), visa::VI_SUCCESS);
    EXPECT_EQ(answer.type, visa::hislip::MessageType::InitializeResponse);
    vxi11.Stop();
    hislip.Stop();
    portmapper.Stop();
}

}  // namespace
}  // namespace zpv::sim
