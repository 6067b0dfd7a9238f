// Resource descriptors ("TCPIP0::10.0.0.5::5025::SOCKET", "ASRL/dev/ttyUSB0::INSTR", ...) parsed
// into their parts. Keywords are case-insensitive; host names, device names, paths and USB serial
// numbers keep the letter case they were given in.
#pragma once

#include <string>
#include <string_view>

#include "platform/visa/status.h"

namespace zpv::visa {

// What a descriptor names; the transport registry is keyed by it.
enum class ResourceKind { TcpipSocket, TcpipVxi11, TcpipHislip, AsrlInstr, UsbInstr };

inline constexpr ViUInt16 kHislipDefaultPort = 4880;

struct ResourceDescriptor {
    ResourceKind kind = ResourceKind::TcpipSocket;
    InterfaceType interfaceType = InterfaceType::Tcpip;
    ViUInt16 board = 0;
    std::string resourceClass;  // "INSTR" or "SOCKET"
    std::string canonicalName;  // board number and class always spelled out

    std::string host;        // TCPIP, without the brackets of an IPv6 literal
    ViUInt16 port = 0;       // SOCKET port; HiSLIP port
    std::string deviceName;  // VXI-11 device ("inst0", "gpib0,5"); HiSLIP sub-address ("hislip0")

    std::string serialPath;  // ASRL given by device path; empty for ASRL<n>

    ViUInt16 usbVendorId = 0;
    ViUInt16 usbProductId = 0;
    std::string usbSerial;
    int usbInterface = -1;  // -1: not given
};

// VI_SUCCESS or VI_ERROR_INV_RSRC_NAME; on failure detail (when given) says what is wrong.
ViStatus ParseResourceDescriptor(std::string_view text, ResourceDescriptor* out, std::string* detail = nullptr);

}  // namespace zpv::visa
