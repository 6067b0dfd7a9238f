#include "platform/visa/transport_registry.h"

#include "platform/visa/hislip_session.h"
#include "platform/visa/serial_session.h"
#include "platform/visa/tcp_socket_session.h"
#include "platform/visa/usbtmc_session.h"
#include "platform/visa/vxi11_session.h"

namespace zpv::visa {

namespace {

constexpr TransportEntry kTransports[] = {
    {ResourceKind::TcpipSocket, "TCP socket", &TcpSocketSession::Open},
    {ResourceKind::AsrlInstr, "serial", &SerialSession::Open},
    {ResourceKind::TcpipVxi11, "VXI-11", &Vxi11Session::Open},
    {ResourceKind::TcpipHislip, "HiSLIP", &HislipSession::Open},
    {ResourceKind::UsbInstr, "USBTMC", &UsbtmcSession::Open},
};

}  // namespace

const TransportEntry* FindTransport(ResourceKind kind) {
    for (const TransportEntry& entry : kTransports)
        if (entry.kind == kind) return &entry;
    return nullptr;
}

}  // namespace zpv::visa
