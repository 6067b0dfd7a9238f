// The VXI-11 server and the portmapper at the RPC level: what they refuse, how links keep apart,
// locks and aborts between links, and registration with a portmapper.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include <optional>
#include <cstring>
#include <gtest/gtest.h>

#include "platform/visa/onc_rpc_client.h"
#include "platform/visa/portmapper_client.h"
#include "platform/visa/tcp_connector.h"
#include "zpv4870sim/lan_endpoints.h"
#include "zpv4870sim/socket_server.h"
#include "zpv4870sim/portmapper.h"
#include "zpv4870sim/rpcbind_registration.h"
#include "zpv4870sim/vxi11_server.h"

namespace zpv::sim {
namespace {

using visa::Deadline;
using visa::OncRpcClient;
using visa::RpcReply;
using visa::XdrReader;
using visa::XdrWriter;
using Clock = std::chrono::steady_clock;

constexpr std::uint32_t kWaitLock = 1, kEnd = 8, kTermCharSet = 128;

std::unique_ptr<OncRpcClient> Connect(std::uint16_t port, std::uint32_t program, std::uint32_t version) {
    int fd = -1;
    std::string why;
    EXPECT_EQ(visa::ConnectTcp("127.0.0.1", port, Deadline::After(1000), &fd, &why), visa::VI_SUCCESS) << why;
    return std::make_unique<OncRpcClient>(fd, program, version);
}

std::vector<std::uint8_t> Args(std::initializer_list<std::uint32_t> words, std::string_view opaque = {},
                               bool withOpaque = false) {
    std::vector<std::uint8_t> bytes;
    XdrWriter out(bytes);
    for (std::uint32_t word : words) out.PutUint32(word);
    if (withOpaque) out.PutOpaque(opaque.data(), opaque.size());
    return bytes;
}

// A core-channel client speaking procedures by number; results as words, an opaque as text.
struct Core {
    explicit Core(std::uint16_t port, std::uint32_t program = Vxi11Server::kCoreProgram)
        : rpc(Connect(port, program, 1)) {}

    std::vector<std::uint32_t> Call(std::uint32_t procedure, const std::vector<std::uint8_t>& arguments,
                                    std::string* opaque = nullptr, std::size_t opaqueAt = 99) {
        RpcReply reply;
        status = rpc->Call(procedure, arguments, 1 << 20, Deadline::After(3000), &reply);
        std::vector<std::uint32_t> words;
        XdrReader in = reply.Results();
        for (std::uint32_t word; in.Left() > 0;) {
            if (words.size() == opaqueAt && opaque) {
                const std::uint8_t* data = nullptr;
                std::size_t length = 0;
                in.GetOpaque(&data, &length, 1 << 20);
                opaque->assign(reinterpret_cast<const char*>(data), length);
                continue;
            }
            if (!in.GetUint32(&word)) break;
            words.push_back(word);
        }
        return words;
    }
    std::uint32_t Link() { return Call(10, Args({1, 0, 0}, "inst0", true)).at(1); }
    std::uint32_t Write(std::uint32_t link, std::string_view data, std::uint32_t flags = kEnd) {
        return Call(11, Args({link, 1000, 0, flags}, data, true)).at(0);
    }
    // error, reason; the data in text.
    std::vector<std::uint32_t> Read(std::uint32_t link, std::uint32_t size, std::string* text, std::uint32_t flags = 0,
                                    char termChar = '\n', std::uint32_t ioTimeout = 1000) {
        return Call(12, Args({link, size, ioTimeout, 0, flags, static_cast<unsigned char>(termChar)}), text, 2);
    }

    std::unique_ptr<OncRpcClient> rpc;
    visa::ViStatus status = visa::VI_SUCCESS;
};

class SimVxi11 : public ::testing::Test {
protected:
    void SetUp() override { server_.Start(0); }
    Instrument instrument_;
    Vxi11Server server_{instrument_};
};

TEST_F(SimVxi11, ReadStopsAtCountTermCharOrEndAndLinksKeepTheirOwnAnswers) {
    Core core(server_.Port());
    const std::uint32_t a = core.Link(), b = core.Link();
    EXPECT_NE(a, b);
    EXPECT_EQ(core.Write(a, "SIM:BLOCK? 3"), 0u);
    std::string text;
    EXPECT_EQ(core.Read(b, 100, &text, 0, '\n', 50).at(0), 15u) << "b asked nothing";
    EXPECT_EQ(core.Read(a, 2, &text), (std::vector<std::uint32_t>{0, 1}));  // REQCNT
    EXPECT_EQ(text, "#1");
    EXPECT_EQ(core.Read(a, 100, &text, kTermCharSet, 'B'), (std::vector<std::uint32_t>{0, 2}));  // CHR
    EXPECT_EQ(text, "3AB");
    EXPECT_EQ(core.Read(a, 2, &text), (std::vector<std::uint32_t>{0, 5}));  // END and the count together
    EXPECT_EQ(text, "C\n");

    // Without END the message is not over, unless a line feed ends it.
    EXPECT_EQ(core.Write(a, "OUTP:FR", 0), 0u);
    EXPECT_EQ(core.Write(a, "EQ?"), 0u);
    EXPECT_EQ(core.Read(a, 100, &text).at(0), 0u);
    EXPECT_EQ(text, "60\n");
    EXPECT_EQ(core.Call(23, Args({a})).at(0), 0u);
    EXPECT_EQ(core.Write(a, "*CLS"), 4u) << "invalid link after destroy_link";
    EXPECT_EQ(server_.LinkCount(), 1u);
    core.rpc.reset();  // the connection's links go with it
    for (int i = 0; i < 100 && server_.LinkCount() > 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(server_.LinkCount(), 0u);
}

// A link is its connection's: another connection can neither use nor destroy it; one connection
// holds a bounded number of links, and a link a bounded number of unread answers.
TEST_F(SimVxi11, LinksBelongToTheirConnectionAndAreCapped) {
    Core owner(server_.Port()), stranger(server_.Port());
    const std::uint32_t link = owner.Link();
    std::string text;
    EXPECT_EQ(stranger.Write(link, "OUTP:FREQ 51"), 4u);
    EXPECT_EQ(stranger.Read(link, 100, &text).at(0), 4u);
    EXPECT_EQ(stranger.Call(23, Args({link})).at(0), 4u);
    EXPECT_EQ(owner.Write(link, "OUTP:FREQ?"), 0u);
    EXPECT_EQ(owner.Read(link, 100, &text).at(0), 0u);
    EXPECT_EQ(text, "60\n") << "the stranger's write reached the instrument";

    Core greedy(server_.Port());
    std::vector<std::uint32_t> errors;
    for (int i = 0; i < 20; ++i) errors.push_back(greedy.Call(10, Args({1, 0, 0}, "inst0", true)).at(0));
    EXPECT_EQ(std::count(errors.begin(), errors.end(), 0u), 16);
    EXPECT_EQ(std::count(errors.begin(), errors.end(), 9u), 4) << "out of resources";

    for (int i = 0; i < 70; ++i) EXPECT_EQ(owner.Write(link, "*IDN?"), 0u);
    EXPECT_EQ(owner.Write(link, "*CLS"), 0u);
    std::string all;
    for (int i = 0; i < 80; ++i) {
        if (owner.Read(link, 1000, &text, 0, '\n', 50).at(0) != 0u) break;
        all += text;
    }
    EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), 64);
}

TEST_F(SimVxi11, LocksAreEnforcedBetweenLinksAndAbortEndsAWaitingRead) {
    Core first(server_.Port()), second(server_.Port());
    const std::uint32_t a = first.Link(), b = second.Link();
    EXPECT_EQ(first.Call(19, Args({a})).at(0), 12u) << "no lock held";
    EXPECT_EQ(first.Call(18, Args({a, 0, 0})).at(0), 0u);
    EXPECT_EQ(second.Write(b, "*CLS"), 11u);
    EXPECT_EQ(second.Call(18, Args({b, 0, 0})).at(0), 11u);

    // With the wait-lock flag the operation waits for the release.
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        first.Call(19, Args({a}));
    });
    EXPECT_EQ(second.Call(11, Args({b, 1000, 2000, kWaitLock | kEnd}, "*CLS", true)).at(0), 0u);
    release.join();

    // A read waiting for a muted answer is ended from the abort channel.
    EXPECT_EQ(second.Write(b, "SIM:MUTE ON;:*IDN?"), 0u);
    std::string text;
    std::vector<std::uint32_t> result;
    const auto start = Clock::now();
    std::thread reader([&] { result = second.Read(b, 100, &text, 0, '\n', 5000); });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    Core abort(server_.Port(), Vxi11Server::kAbortProgram);
    EXPECT_EQ(abort.Call(1, Args({b})).at(0), 0u);
    reader.join();
    EXPECT_EQ(result.at(0), 23u);
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(2000));
}

TEST_F(SimVxi11, RefusesWhatItDoesNotServeAndSurvivesGarbage) {
    Core core(server_.Port());
    core.Call(99, {});
    EXPECT_EQ(core.status, visa::VI_ERROR_NSUP_OPER);
    EXPECT_NE(core.rpc->LastError().find("procedure"), std::string::npos);
    core.Call(10, Args({1}));
    EXPECT_EQ(core.status, visa::VI_ERROR_IO);
    EXPECT_NE(core.rpc->LastError().find("decode"), std::string::npos);
    EXPECT_EQ(core.Call(10, Args({1, 0, 0}, "inst9", true)).at(0), 3u) << "unknown device";

    auto wrongVersion = Connect(server_.Port(), Vxi11Server::kCoreProgram, 2);
    RpcReply reply;
    EXPECT_EQ(wrongVersion->Call(10, {}, 256, Deadline::After(1000), &reply), visa::VI_ERROR_NSUP_OPER);
    EXPECT_NE(wrongVersion->LastError().find("version"), std::string::npos);

    // A record claiming 2 GB and bytes that are no record at all: the connection ends, the server goes on.
    int fd = -1;
    std::string why;
    ASSERT_EQ(visa::ConnectTcp("127.0.0.1", server_.Port(), Deadline::After(1000), &fd, &why), visa::VI_SUCCESS);
    ASSERT_EQ(::send(fd, "\x7f\xff\xff\xffjunk", 8, MSG_NOSIGNAL), 8);
    char byte;
    pollfd p{fd, POLLIN, 0};
    EXPECT_EQ(::poll(&p, 1, 2000), 1);
    EXPECT_EQ(::recv(fd, &byte, 1, 0), 0) << "closed by the server";
    ::close(fd);
    EXPECT_NE(Core(server_.Port()).Link(), 0u);
}

TEST(SimVxi11Portmapper, AnswersOverTcpAndUdpAndTakesRegistrations) {
    Portmapper portmapper;
    portmapper.Start(0);
    portmapper.Set(Vxi11Server::kCoreProgram, 1, Portmapper::kTcp, 4321);
    auto rpc = Connect(portmapper.Port(), 100000, 2);
    RpcReply reply;
    ASSERT_EQ(rpc->Call(3, Args({Vxi11Server::kCoreProgram, 1, 6, 0}), 64, Deadline::After(1000), &reply),
              visa::VI_SUCCESS);
    std::uint32_t port = 0;
    XdrReader results = reply.Results();
    results.GetUint32(&port);
    EXPECT_EQ(port, 4321u);

    // The same question in a datagram.
    ASSERT_TRUE(portmapper.ServesUdp());
    const int udp = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(portmapper.Port());
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const std::vector<std::uint8_t> call =
        Args({77, 0, 2, 100000, 2, 3, 0, 0, 0, 0, Vxi11Server::kCoreProgram, 1, 6, 0});
    ASSERT_EQ(::sendto(udp, call.data(), call.size(), 0, reinterpret_cast<sockaddr*>(&address), sizeof address),
              static_cast<ssize_t>(call.size()));
    std::uint8_t answer[64];
    pollfd p{udp, POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 2000), 1);
    ASSERT_EQ(::recv(udp, answer, sizeof answer, 0), 28);
    XdrReader in(answer, 28);
    std::uint32_t words[7];
    for (auto& word : words) in.GetUint32(&word);
    EXPECT_EQ(words[0], 77u);
    EXPECT_EQ(words[6], 4321u);
    ::close(udp);

    // Registration as a server started with --rpcbind does it, against our own portmapper.
    std::string why;
    EXPECT_TRUE(RegisterRpcProgram(portmapper.Port(), 0x0607AF, 1, 5555, &why)) << why;
    EXPECT_EQ(portmapper.Lookup(0x0607AF, 1, Portmapper::kTcp), 5555u);
    EXPECT_TRUE(UnregisterRpcProgram(portmapper.Port(), 0x0607AF, 1, &why)) << why;
    EXPECT_EQ(portmapper.Lookup(0x0607AF, 1, Portmapper::kTcp), 0u);
    const std::uint16_t gone = portmapper.Port();
    portmapper.Stop();
    EXPECT_FALSE(RegisterRpcProgram(gone, 0x0607AF, 1, 5555, &why));
    EXPECT_NE(why.find("no portmapper"), std::string::npos) << why;
}

// One portmapper call over TCP from a chosen source port (0: any); its boolean result, or
// nullopt when that port cannot be bound (not root).
std::optional<std::uint32_t> PortmapperCall(std::uint16_t portmapper, std::uint16_t from, std::uint32_t procedure,
                                            std::uint32_t mappedPort) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    local.sin_port = htons(from);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
        ::close(fd);
        return std::nullopt;
    }
    sockaddr_in remote = local;
    remote.sin_port = htons(portmapper);
    EXPECT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&remote), sizeof remote), 0);
    // xid, CALL, RPC 2, program, version, procedure, AUTH_NULL credential and verifier, arguments.
    const std::uint32_t words[] = {7, 0, 2, 100000, 2, procedure, 0, 0, 0, 0, Vxi11Server::kCoreProgram, 1, 6, mappedPort};
    std::string record(4, '\0');
    for (std::uint32_t w : words) {
        const std::uint32_t net = htonl(w);
        record.append(reinterpret_cast<const char*>(&net), 4);
    }
    const std::uint32_t mark = htonl(0x80000000u | static_cast<std::uint32_t>(record.size() - 4));
    std::memcpy(record.data(), &mark, 4);
    EXPECT_EQ(::send(fd, record.data(), record.size(), 0), static_cast<ssize_t>(record.size()));
    // Record mark, xid, REPLY, MSG_ACCEPTED, verifier (2 words), SUCCESS, the boolean.
    std::uint32_t reply[8] = {};
    std::size_t got = 0;
    while (got < sizeof reply) {
        const ssize_t n = ::recv(fd, reinterpret_cast<char*>(reply) + got, sizeof reply - got, 0);
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    EXPECT_EQ(got, sizeof reply);
    return ntohl(reply[7]);
}

// Clients change mappings only as the classic portmapper lets them: from a privileged port of
// this host, and never over an existing one.
TEST(SimVxi11Portmapper, ClientsCannotReplaceMappingsOrCallFromElsewhere) {
    Portmapper portmapper;
    portmapper.Start(0);
    portmapper.Set(Vxi11Server::kCoreProgram, 1, Portmapper::kTcp, 4321);
    // Any local program, from an ordinary port: neither SET nor UNSET is taken.
    EXPECT_EQ(PortmapperCall(portmapper.Port(), 0, 2, 0), 0u) << "UNSET from an unprivileged port";
    EXPECT_EQ(PortmapperCall(portmapper.Port(), 0, 1, 6666), 0u) << "SET from an unprivileged port";
    EXPECT_EQ(portmapper.Lookup(Vxi11Server::kCoreProgram, 1, Portmapper::kTcp), 4321u);

    // From a privileged port (root only): SET never replaces; UNSET then SET does.
    std::uint16_t next = 1023;
    const auto privileged = [&](std::uint32_t procedure, std::uint32_t mappedPort) {
        std::optional<std::uint32_t> result;
        while (next > 600 && !(result = PortmapperCall(portmapper.Port(), next--, procedure, mappedPort))) {}
        return result;
    };
    const std::optional<std::uint32_t> replaced = privileged(1, 6666);
    if (!replaced) GTEST_SKIP() << "no privileged source port can be bound here (not root)";
    EXPECT_EQ(*replaced, 0u) << "SET over an existing mapping";
    EXPECT_EQ(portmapper.Lookup(Vxi11Server::kCoreProgram, 1, Portmapper::kTcp), 4321u);
    EXPECT_EQ(privileged(2, 0).value_or(9), 1u);
    EXPECT_EQ(privileged(1, 6666).value_or(9), 1u);
    EXPECT_EQ(portmapper.Lookup(Vxi11Server::kCoreProgram, 1, Portmapper::kTcp), 6666u);

    const auto v4 = [](const char* text, std::uint16_t port) {
        sockaddr_storage address{};
        auto& in = reinterpret_cast<sockaddr_in&>(address);
        in.sin_family = AF_INET;
        in.sin_port = htons(port);
        ::inet_pton(AF_INET, text, &in.sin_addr);
        return address;
    };
    EXPECT_TRUE(MayChangeMappings(v4("127.0.0.1", 1023)));
    EXPECT_TRUE(MayChangeMappings(v4("127.3.2.1", 111)));
    EXPECT_FALSE(MayChangeMappings(v4("127.0.0.1", 1024)));
    EXPECT_FALSE(MayChangeMappings(v4("192.0.2.7", 700)));
    EXPECT_FALSE(portmapper.SetFromClient(false, 0x20000001, 1, Portmapper::kTcp, 1234));
    EXPECT_EQ(portmapper.Lookup(0x20000001, 1, Portmapper::kTcp), 0u);
}

TEST(SimLanEndpoints, StartWhatTheProgramIsAskedFor) {
    Instrument instrument;
    LanOptions options;
    options.vxi11 = options.hislip = true;
    options.portmapperPort = options.hislipPort = 0;
    LanEndpoints lan(instrument, options);
    lan.Start();
    EXPECT_NE(lan.HislipPort(), 0);
    visa::ViUInt16 port = 0;
    std::string why;
    EXPECT_EQ(visa::LookUpRpcPort("127.0.0.1", lan.PortmapperPort(), Vxi11Server::kCoreProgram, 1,
                                  Deadline::After(1000), &port, &why),
              visa::VI_SUCCESS)
        << why;
    EXPECT_EQ(port, lan.Vxi11Port());
}

// Every service binds to the address it is given, and only there: another loopback address of
// this host reaches them, 127.0.0.1 does not.
TEST(SimLanEndpoints, EveryServiceListensWhereItIsTold) {
    ASSERT_FALSE(ListenAddress::Parse("10.87.0"));
    const ListenAddress where = *ListenAddress::Parse("127.0.0.2");
    EXPECT_EQ(where.Text(), "127.0.0.2");
    Instrument instrument;
    LanOptions options;
    options.vxi11 = options.hislip = true;
    options.portmapperPort = options.hislipPort = 0;
    options.listen = where;
    LanEndpoints lan(instrument, options);
    lan.Start();
    visa::ViUInt16 port = 0;
    std::string why;
    EXPECT_EQ(visa::LookUpRpcPort("127.0.0.2", lan.PortmapperPort(), Vxi11Server::kCoreProgram, 1,
                                  Deadline::After(1000), &port, &why),
              visa::VI_SUCCESS)
        << why;
    EXPECT_EQ(port, lan.Vxi11Port());
    const auto reaches = [](const char* host, std::uint16_t to) {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(to);
        ::inet_pton(AF_INET, host, &address.sin_addr);
        const bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        ::close(fd);
        return connected;
    };
    for (std::uint16_t service : {lan.Vxi11Port(), lan.HislipPort(), lan.PortmapperPort()}) {
        EXPECT_TRUE(reaches("127.0.0.2", service)) << service;
        EXPECT_FALSE(reaches("127.0.0.1", service)) << service;
    }
    SocketServer socket(instrument);
    socket.Start(0, where);
    EXPECT_TRUE(reaches("127.0.0.2", socket.Port()));
    EXPECT_FALSE(reaches("127.0.0.1", socket.Port()));
}

}  // namespace
}  // namespace zpv::sim
