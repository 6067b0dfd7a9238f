// Every kind of resource has a row; a transport left out of the build still parses its
// descriptors and says, when opened, that it is not available.
#include <gtest/gtest.h>

#include "platform/visa/resource_manager.h"
#include "platform/visa/transport_registry.h"

namespace zpv::visa {
namespace {

TEST(TransportRegistry, EveryKindHasARowAndLeftOutTransportsSaySo) {
    struct Row {
        ResourceKind kind;
        const char* descriptor;
        bool built;
    };
    const Row rows[] = {
        {ResourceKind::TcpipSocket, "TCPIP0::127.0.0.1::1::SOCKET", true},
#ifdef ZPV4870_WITH_SERIAL
        {ResourceKind::AsrlInstr, "ASRL/dev/null::INSTR", true},
#else
        {ResourceKind::AsrlInstr, "ASRL/dev/null::INSTR", false},
#endif
#ifdef ZPV4870_WITH_VXI11
        {ResourceKind::TcpipVxi11, "TCPIP0::127.0.0.1::inst0::INSTR", true},
#else
        {ResourceKind::TcpipVxi11, "TCPIP0::127.0.0.1::inst0::INSTR", false},
#endif
#ifdef ZPV4870_WITH_HISLIP
        {ResourceKind::TcpipHislip, "TCPIP0::127.0.0.1::hislip0::INSTR", true},
#else
        {ResourceKind::TcpipHislip, "TCPIP0::127.0.0.1::hislip0::INSTR", false},
#endif
#ifdef ZPV4870_WITH_USBTMC
        {ResourceKind::UsbInstr, "USB0::0x1234::0x5678::SN1::INSTR", true},
#else
        {ResourceKind::UsbInstr, "USB0::0x1234::0x5678::SN1::INSTR", false},
#endif
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.descriptor);
        const TransportEntry* entry = FindTransport(row.kind);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->open != nullptr, row.built);
        if (row.built) continue;
        ResourceManager manager;
        std::unique_ptr<MessageSession> session;
        EXPECT_EQ(manager.Open(row.descriptor, 100, &session), VI_ERROR_NSUP_OPER);
        EXPECT_NE(manager.ErrorDetail().find("transport is not available"), std::string::npos) << manager.ErrorDetail();
    }
}

}  // namespace
}  // namespace zpv::visa
