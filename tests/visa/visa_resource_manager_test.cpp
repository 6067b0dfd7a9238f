#include <gtest/gtest.h>

#include "platform/visa/resource_manager.h"
#include "visa/loopback_peer.h"

namespace zpv::visa {
namespace {

TEST(VisaResourceManager, TransportsNotYetAvailableSaySo) {
    const struct {
        const char* descriptor;
        const char* transport;
    } cases[] = {
        {"TCPIP0::127.0.0.1::inst0::INSTR", "VXI-11"},
        {"TCPIP0::127.0.0.1::hislip0::INSTR", "HiSLIP"},
        {"USB0::0x1234::0x5678::SN1::INSTR", "USBTMC"},
    };
    for (const auto& c : cases) {
        ResourceManager manager;
        std::unique_ptr<MessageSession> session;
        EXPECT_EQ(manager.Open(c.descriptor, 100, &session), VI_ERROR_NSUP_OPER) << c.descriptor;
        EXPECT_EQ(session, nullptr);
        EXPECT_NE(manager.ErrorDetail().find(std::string(c.transport) + " transport is not available"),
                  std::string::npos)
            << manager.ErrorDetail();
    }
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
