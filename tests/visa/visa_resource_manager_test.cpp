#include <cstdlib>

#include <gtest/gtest.h>

#include "platform/visa/portmapper_client.h"
#include "platform/visa/resource_manager.h"
#include "platform/visa/transport_registry.h"
#include "platform/visa/usbtmc_device_finder.h"
#include "visa/loopback_peer.h"

namespace zpv::visa {
namespace {

TEST(VisaResourceManager, EveryTransportIsRegisteredAndAbsentResourcesSaySo) {
    for (ResourceKind kind : {ResourceKind::TcpipSocket, ResourceKind::TcpipVxi11, ResourceKind::TcpipHislip,
                              ResourceKind::AsrlInstr, ResourceKind::UsbInstr}) {
        const TransportEntry* entry = FindTransport(kind);
        ASSERT_NE(entry, nullptr);
        EXPECT_NE(entry->open, nullptr) << entry->name;
    }

    unsigned short closedPort = 0;
    ::close(testing::BoundLoopbackSocket(-1, &closedPort));
    const std::string port = std::to_string(closedPort);
    ::setenv(kPortmapperPortVariable, port.c_str(), 1);
    ::setenv(kUsbtmcSysfsVariable, "/nonexistent", 1);
    const struct {
        std::string descriptor;
        std::string detail;
    } cases[] = {
        {"TCPIP0::127.0.0.1::inst0::INSTR", "No VXI-11 service at 127.0.0.1:" + port},
        {"TCPIP0::127.0.0.1::hislip0," + port + "::INSTR", "No HiSLIP service at 127.0.0.1:" + port},
        {"USB0::0x1234::0x5678::SN1::INSTR", "No USBTMC device USB0::0x1234::0x5678::SN1::INSTR"},
    };
    for (const auto& c : cases) {
        ResourceManager manager;
        std::unique_ptr<MessageSession> session;
        EXPECT_EQ(manager.Open(c.descriptor, 500, &session), VI_ERROR_RSRC_NFOUND) << c.descriptor;
        EXPECT_EQ(session, nullptr);
        EXPECT_NE(manager.ErrorDetail().find(c.detail), std::string::npos) << manager.ErrorDetail();
    }
    ::unsetenv(kPortmapperPortVariable);
    ::unsetenv(kUsbtmcSysfsVariable);
}

TEST(VisaResourceManager, BadNamesAndAccessModesAreRefused) {
    ResourceManager manager;
    std::unique_ptr<MessageSession> session;
    EXPECT_EQ(manager.Open("TCPIP0::host::SOCKET", 100, &session), VI_ERROR_INV_RSRC_NAME);
    EXPECT_FALSE(manager.ErrorDetail().empty());
    EXPECT_EQ(manager.Open("ASRL1::INSTR", 100, &session, VI_SHARED_LOCK), VI_ERROR_INV_ACC_MODE);
    EXPECT_EQ(manager.Open("ASRL1::INSTR", 100, nullptr), VI_ERROR_USER_BUF);
}

TEST(VisaResourceManager, ExclusiveOpenKeepsOtherSessionsOut) {
    testing::LoopbackPeer peer;
    ResourceManager manager;
    std::unique_ptr<MessageSession> owner, other, third;
    ASSERT_EQ(manager.Open(peer.Descriptor(), 1000, &owner, VI_EXCLUSIVE_LOCK), VI_SUCCESS);
    ASSERT_EQ(manager.Open(peer.Descriptor(), 1000, &other), VI_SUCCESS);
    EXPECT_EQ(other->Write("*CLS\n", 5, nullptr), VI_ERROR_RSRC_LOCKED);
    EXPECT_EQ(other->ReadStatusByte(nullptr), VI_ERROR_RSRC_LOCKED);
    EXPECT_EQ(manager.Open(peer.Descriptor(), 100, &third, VI_EXCLUSIVE_LOCK), VI_ERROR_RSRC_LOCKED);
    EXPECT_EQ(third, nullptr);

    EXPECT_EQ(owner->Write("*CLS\n", 5, nullptr), VI_SUCCESS);
    owner.reset();  // closing releases the lock
    EXPECT_EQ(other->Write("*CLS\n", 5, nullptr), VI_SUCCESS);
}

}  // namespace
}  // namespace zpv::visa
