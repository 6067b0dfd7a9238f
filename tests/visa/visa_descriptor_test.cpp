#include <gtest/gtest.h>

#include "platform/visa/resource_descriptor.h"

namespace zpv::visa {
namespace {

struct GoodName {
    const char* text;
    ResourceKind kind;
    ViUInt16 board;
    const char* canonical;
    const char* hostOrPath;  // host for TCPIP, serial path for ASRL, USB serial number for USB
    ViUInt16 port;
    const char* device;
};

TEST(VisaDescriptor, GoodNamesParseIntoTheirParts) {
    const GoodName names[] = {
        {"TCPIP0::192.168.1.20::5025::SOCKET", ResourceKind::TcpipSocket, 0, "TCPIP0::192.168.1.20::5025::SOCKET",
         "192.168.1.20", 5025, ""},
        {"tcpip::Lab-Source.local::5025::socket", ResourceKind::TcpipSocket, 0,
         "TCPIP0::Lab-Source.local::5025::SOCKET", "Lab-Source.local", 5025, ""},
        {"TCPIP0::[fe80::1]::5025::SOCKET", ResourceKind::TcpipSocket, 0, "TCPIP0::[fe80::1]::5025::SOCKET",
         "fe80::1", 5025, ""},
        {"TCPIP3::10.0.0.1", ResourceKind::TcpipVxi11, 3, "TCPIP3::10.0.0.1::inst0::INSTR", "10.0.0.1", 0, "inst0"},
        {"TCPIP::10.0.0.1::gpib0,5::instr", ResourceKind::TcpipVxi11, 0, "TCPIP0::10.0.0.1::gpib0,5::INSTR",
         "10.0.0.1", 0, "gpib0,5"},
        {"TCPIP::10.0.0.1::usb0[2391::6039::MY1::0]::INSTR", ResourceKind::TcpipVxi11, 0,
         "TCPIP0::10.0.0.1::usb0[2391::6039::MY1::0]::INSTR", "10.0.0.1", 0, "usb0[2391::6039::MY1::0]"},
        {"TCPIP0::10.0.0.1::hislip0::INSTR", ResourceKind::TcpipHislip, 0, "TCPIP0::10.0.0.1::hislip0::INSTR",
         "10.0.0.1", 4880, "hislip0"},
        {"TCPIP1::10.0.0.1::HiSLIP2,5000", ResourceKind::TcpipHislip, 1, "TCPIP1::10.0.0.1::HiSLIP2,5000::INSTR",
         "10.0.0.1", 5000, "HiSLIP2"},
        {"ASRL1::INSTR", ResourceKind::AsrlInstr, 1, "ASRL1::INSTR", "", 0, ""},
        {" asrl ", ResourceKind::AsrlInstr, 0, "ASRL0::INSTR", "", 0, ""},
        {"ASRL/dev/ttyUSB0::instr", ResourceKind::AsrlInstr, 0, "ASRL/dev/ttyUSB0::INSTR", "/dev/ttyUSB0", 0, ""},
        {"USB0::0x0957::0x1755::MY123::INSTR", ResourceKind::UsbInstr, 0, "USB0::0x0957::0x1755::MY123::INSTR",
         "MY123", 0, ""},
        {"usb2::2391::6039::ab12::3", ResourceKind::UsbInstr, 2, "USB2::0x0957::0x1797::ab12::3::INSTR", "ab12", 0,
         ""},
    };
    for (const GoodName& name : names) {
        SCOPED_TRACE(name.text);
        ResourceDescriptor d;
        std::string detail;
        ASSERT_EQ(ParseResourceDescriptor(name.text, &d, &detail), VI_SUCCESS) << detail;
        EXPECT_EQ(d.kind, name.kind);
        EXPECT_EQ(d.board, name.board);
        EXPECT_EQ(d.canonicalName, name.canonical);
        EXPECT_EQ(d.port, name.port);
        EXPECT_EQ(d.deviceName, name.device);
        switch (d.interfaceType) {
        case InterfaceType::Tcpip: EXPECT_EQ(d.host, name.hostOrPath); break;
        case InterfaceType::Asrl: EXPECT_EQ(d.serialPath, name.hostOrPath); break;
        case InterfaceType::Usb: EXPECT_EQ(d.usbSerial, name.hostOrPath); break;
        default: ADD_FAILURE() << "unexpected interface type";
        }
        EXPECT_EQ(d.resourceClass, name.kind == ResourceKind::TcpipSocket ? "SOCKET" : "INSTR");
    }

    ResourceDescriptor usb;
    ASSERT_EQ(ParseResourceDescriptor("USB::0x0957::6039::MY1::INSTR", &usb), VI_SUCCESS);
    EXPECT_EQ(usb.usbVendorId, 0x0957);
    EXPECT_EQ(usb.usbProductId, 6039);
    EXPECT_EQ(usb.usbInterface, -1);
}

TEST(VisaDescriptor, BadNamesAreRefusedWithAReason) {
    const char* names[] = {
        "",
        "GPIB0::5::INSTR",
        "TCPIPx::host::5025::SOCKET",
        "TCPIP0::host::SOCKET",
        "TCPIP0::host::0::SOCKET",
        "TCPIP0::host::70000::SOCKET",
        "TCPIP0::host::50x5::SOCKET",
        "TCPIP0::::5025::SOCKET",
        "TCPIP0::fe80::1::5025::SOCKET",
        "TCPIP0::[fe80::1::5025::SOCKET",
        "TCPIP0::host name::5025::SOCKET",
        "TCPIP0::host::inst0::extra::INSTR",
        "TCPIP0::host::hislip::INSTR",
        "TCPIP0::host::hislip0,0::INSTR",
        "ASRL1::SOCKET",
        "ASRL1::2::INSTR",
        "ASRL99999::INSTR",
        "USB0::0x10000::1::SN::INSTR",
        "USB0::0x0957::SN::INSTR",
        "USB0::0x0957::0x1755::SN::256::INSTR",
        "USB0::0x0957::0x1755::SN::INSTR::INSTR",
    };
    for (const char* name : names) {
        std::string detail;
        ResourceDescriptor d;
        EXPECT_EQ(ParseResourceDescriptor(name, &d, &detail), VI_ERROR_INV_RSRC_NAME) << name;
        EXPECT_NE(detail.find("Invalid resource name"), std::string::npos) << name;
    }
}

}  // namespace
}  // namespace zpv::visa
