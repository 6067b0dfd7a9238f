// Every kind of resource has a row; a transport left out of the build (ZPV4870_WITH_... off) still
// parses its descriptors and says, when opened, that it is not available.
#include <gtest/gtest.h>

#include "platform/visa/resource_manager.h"
#include "platform/visa/transport_registry.h"

namespace zpv::visa {
namespace {

TEST(TransportRegistry, EveryKindHasARowAndLeftOutTransportsSaySo) {
    const std::pair<ResourceKind, const char*> rows[] = {
        {ResourceKind::TcpipSocket, "TCPIP0::127.0.0.1::1::SOCKET"},
        {ResourceKind::AsrlInstr, "ASRL/dev/null::INSTR"},
        {ResourceKind::TcpipVxi11, "TCPIP0::127.0.0.1::inst0::INSTR"},
        {ResourceKind::TcpipHislip, "TCPIP0::127.0.0.1::hislip0::INSTR"},
        {ResourceKind::UsbInstr, "USB0::0x1234::0x5678::SN1::INSTR"},
    };
    for (const auto& [kind, descriptor] : rows) {
        SCOPED_TRACE(descriptor);
        const TransportEntry* entry = FindTransport(kind);
        ASSERT_NE(entry, nullptr);
        if (entry->open) continue;
        ResourceManager manager;
        std::unique_ptr<MessageSession> session;
        EXPECT_EQ(manager.Open(descriptor, 100, &session), VI_ERROR_NSUP_OPER);
        EXPECT_NE(manager.ErrorDetail().find("transport is not available"), std::string::npos) << manager.ErrorDetail();
    }
    EXPECT_NE(FindTransport(ResourceKind::TcpipSocket)->open, nullptr) << "the TCP socket is always built";
}

}  // namespace
}  // namespace zpv::visa
