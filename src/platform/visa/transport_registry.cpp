#include "platform/visa/transport_registry.h"

#include "platform/visa/tcp_socket_session.h"
#ifdef ZPV4870_WITH_SERIAL
#include "platform/visa/serial_session.h"
#endif
#ifdef ZPV4870_WITH_VXI11
#include "platform/visa/vxi11_session.h"
#endif
#ifdef ZPV4870_WITH_HISLIP
#include "platform/visa/hislip_session.h"
#endif
#ifdef ZPV4870_WITH_USBTMC
#include "platform/visa/usbtmc_session.h"
#endif

namespace zpv::visa {

namespace {

// A transport left out of the build (its ZPV4870_WITH_... option off) keeps its row without an
// opener: its descriptors still parse, and opening one says the transport is not available.

constexpr TransportEntry kTransports[] = {
    {ResourceKind::TcpipSocket, "TCP socket", &TcpSocketSession::Open},
#ifdef ZPV4870_WITH_SERIAL
    {ResourceKind::AsrlInstr, "serial", &SerialSession::Open},
#else
    {ResourceKind::AsrlInstr, "serial", nullptr},
#endif
#ifdef ZPV4870_WITH_VXI11
    {ResourceKind::TcpipVxi11, "VXI-11", &Vxi11Session::Open},
#else
    {ResourceKind::TcpipVxi11, "VXI-11", nullptr},
#endif
#ifdef ZPV4870_WITH_HISLIP
    {ResourceKind::TcpipHislip, "HiSLIP", &HislipSession::Open},
#else
    {ResourceKind::TcpipHislip, "HiSLIP", nullptr},
#endif
#ifdef ZPV4870_WITH_USBTMC
    {ResourceKind::UsbInstr, "USBTMC", &UsbtmcSession::Open},
#else
    {ResourceKind::UsbInstr, "USBTMC", nullptr},
#endif
};

}  // namespace

const TransportEntry* FindTransport(ResourceKind kind) {
    for (const TransportEntry& entry : kTransports)
        if (entry.kind == kind) return &entry;
    return nullptr;
}

}  // namespace zpv::visa
