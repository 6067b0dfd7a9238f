// USBTMC without a USB device: the sysfs matching against a fake tree, and opening through the
// resource manager up to the point where the kernel driver would have to answer.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "platform/visa/resource_manager.h"
#include "platform/visa/usbtmc_device_finder.h"
#ifdef ZPV4870_WITH_SERIAL
#include "platform/visa/serial_port_list.h"
#endif

namespace zpv::visa {
namespace {

namespace fs = std::filesystem;

class VisaUsbtmc : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("zpv-usbtmc-" + std::to_string(::getpid()));
        fs::remove_all(root_);
        AddDevice("1-1", "0957", "1755", "MY123", {{0, "usbtmc0"}});
        AddDevice("1-2", "1234", "5678", "SN1", {{1, "usbtmc1"}, {0, "usbtmc2"}});
        fs::create_directories(root_ / "sys/class/usbmisc/hiddev0");
        fs::create_directories(root_ / "dev");
        std::ofstream(root_ / "dev/usbtmc0") << "a plain file";
        roots_.sysfs = (root_ / "sys").string();
        roots_.dev = (root_ / "dev").string();
    }
    void TearDown() override {
        ::unsetenv(kUsbtmcSysfsVariable);
        ::unsetenv(kUsbtmcDevVariable);
        fs::remove_all(root_);
    }

    // A USB device with usbtmc interfaces, linked from class/usbmisc as the kernel does.
    void AddDevice(const std::string& port, const char* vendor, const char* product, const char* serial,
                   std::initializer_list<std::pair<int, const char*>> interfaces) {
        const fs::path device = root_ / "sys/devices/pci0000:00/usb1" / port;
        fs::create_directories(device);
        std::ofstream(device / "idVendor") << vendor << "\n";
        std::ofstream(device / "idProduct") << product << "\n";
        std::ofstream(device / "serial") << serial << "\n";
        for (const auto& [number, node] : interfaces) {
            const fs::path usbInterface = device / (port + ":1." + std::to_string(number));
            fs::create_directories(usbInterface);
            std::ofstream(usbInterface / "bInterfaceNumber") << "0" << number << "\n";
            fs::create_directories(root_ / "sys/class/usbmisc" / node);
            fs::create_directory_symlink(fs::relative(usbInterface, root_ / "sys/class/usbmisc" / node),
                                         root_ / "sys/class/usbmisc" / node / "device");
        }
    }

    ViStatus Find(const std::string& name, std::string* path, std::string* detail) {
        ResourceDescriptor descriptor;
        EXPECT_EQ(ParseResourceDescriptor(name, &descriptor), VI_SUCCESS) << name;
        return FindUsbtmcDevice(descriptor, roots_, path, detail);
    }

    fs::path root_;
    UsbtmcRoots roots_;
};

TEST_F(VisaUsbtmc, FindsTheNodeByVendorProductSerialAndInterface) {
    const struct {
        const char* name;
        const char* node;
    } cases[] = {
        {"USB::0x0957::0x1755::my123::INSTR", "usbtmc0"},  // serial numbers match without regard to case
        {"USB0::4660::22136::SN1::INSTR", "usbtmc1"},      // the lowest-numbered node of the device
        {"USB0::0x1234::0x5678::SN1::0::INSTR", "usbtmc2"},
        {"USB0::0x1234::0x5678::SN1::1::INSTR", "usbtmc1"},
    };
    for (const auto& c : cases) {
        std::string path, detail;
        EXPECT_EQ(Find(c.name, &path, &detail), VI_SUCCESS) << c.name << ": " << detail;
        EXPECT_EQ(path, roots_.dev + "/" + c.node) << c.name;
    }

    for (const char* absent : {"USB::0x0957::0x1755::MY124::INSTR", "USB::0x0957::0x1756::MY123::INSTR",
                               "USB::0x1234::0x5678::SN1::2::INSTR"}) {
        std::string path, detail;
        EXPECT_EQ(Find(absent, &path, &detail), VI_ERROR_RSRC_NFOUND) << absent;
        EXPECT_NE(detail.find("No USBTMC device USB0::"), std::string::npos) << detail;
    }

    roots_.sysfs = (root_ / "nowhere").string();
    std::string path, detail;
    EXPECT_EQ(Find("USB::0x0957::0x1755::MY123::INSTR", &path, &detail), VI_ERROR_RSRC_NFOUND);
    EXPECT_NE(detail.find("lists no usbtmc device"), std::string::npos) << detail;
}

// What find lists of this machine: every usbtmc node as a resource (the interface number where it
// is not 0), and the serial ports with a device behind them, but not the 8250 ports the kernel
// lists whether or not one is fitted.
TEST_F(VisaUsbtmc, ListsDevicesAndSerialPortsAsResources) {
    EXPECT_EQ(ListUsbtmcResources(roots_),
              (std::vector<std::string>{"USB0::0x0957::0x1755::MY123::INSTR", "USB0::0x1234::0x5678::SN1::1::INSTR",
                                        "USB0::0x1234::0x5678::SN1::INSTR"}));
#ifdef ZPV4870_WITH_SERIAL
    const fs::path tty = root_ / "sys/class/tty", devices = root_ / "sys/devices";
    const auto port = [&](const char* name, const char* bus) {
        const fs::path device = devices / bus / name;
        fs::create_directories(device);
        fs::create_directories(root_ / "sys/bus" / bus);
        fs::create_directory_symlink(root_ / "sys/bus" / bus, device / "subsystem");
        fs::create_directories(tty / name);
        fs::create_directory_symlink(device, tty / name / "device");
    };
    port("ttyUSB0", "usb");
    port("ttyS0", "pnp");
    port("ttyS7", "platform");
    fs::create_directories(tty / "tty1");  // a virtual terminal: no device
    EXPECT_EQ(ListSerialResources(roots_.sysfs, "/dev"),
              (std::vector<std::string>{"ASRL/dev/ttyS0::INSTR", "ASRL/dev/ttyUSB0::INSTR"}));
#endif
}

TEST_F(VisaUsbtmc, OpeningTellsAbsentDevicesFromNodesThatAreNoUsbtmcDevice) {
    ::setenv(kUsbtmcSysfsVariable, roots_.sysfs.c_str(), 1);
    ::setenv(kUsbtmcDevVariable, roots_.dev.c_str(), 1);
    ResourceManager manager;
    std::unique_ptr<MessageSession> session;

    EXPECT_EQ(manager.Open("USB::0x1234::0x9999::SN1::INSTR", 500, &session), VI_ERROR_RSRC_NFOUND);
    EXPECT_NE(manager.ErrorDetail().find("No USBTMC device USB0::0x1234::0x9999::SN1::INSTR is attached"),
              std::string::npos)
        << manager.ErrorDetail();

    EXPECT_EQ(manager.Open("USB::0x0957::0x1755::MY123::INSTR", 500, &session), VI_ERROR_RSRC_NFOUND);
    EXPECT_NE(manager.ErrorDetail().find("is not a usbtmc device"), std::string::npos) << manager.ErrorDetail();

    EXPECT_EQ(manager.Open("USB::0x1234::0x5678::SN1::INSTR", 500, &session), VI_ERROR_RSRC_NFOUND);
    EXPECT_NE(manager.ErrorDetail().find("Cannot open " + roots_.dev + "/usbtmc1"), std::string::npos)
        << manager.ErrorDetail();
    EXPECT_EQ(session, nullptr);
}

}  // namespace
}  // namespace zpv::visa
