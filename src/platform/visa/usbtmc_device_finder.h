// Finds the /dev/usbtmc<n> node of a USB[n]::vid::pid::serial[::intf]::INSTR resource through
// sysfs: every <sysfs>/class/usbmisc/usbtmc<n>/device is a USB interface, whose parent device
// holds idVendor, idProduct and serial. The environment may move both roots:
// ZPV4870_USBTMC_SYSFS_ROOT (default /sys) and ZPV4870_USBTMC_DEV_DIR (default /dev), for tests.
#pragma once

#include <string>
#include <vector>

#include "platform/visa/resource_descriptor.h"

namespace zpv::visa {

inline constexpr const char* kUsbtmcSysfsVariable = "ZPV4870_USBTMC_SYSFS_ROOT";
inline constexpr const char* kUsbtmcDevVariable = "ZPV4870_USBTMC_DEV_DIR";

struct UsbtmcRoots {
    std::string sysfs = "/sys";
    std::string dev = "/dev";

    static UsbtmcRoots FromEnvironment();
};

// The lowest-numbered node matching vendor, product, serial number (without regard to case) and,
// when the descriptor names one, interface number. VI_ERROR_RSRC_NFOUND with detail naming the
// resource when none does.
ViStatus FindUsbtmcDevice(const ResourceDescriptor& descriptor, const UsbtmcRoots& roots, std::string* devicePath,
                          std::string* detail);

// Every USBTMC device attached, as a resource string (USB0::0x1AB1::0x0E11::SN123::INSTR; the
// interface number only where it is not 0), lowest node first.
std::vector<std::string> ListUsbtmcResources(const UsbtmcRoots& roots);

}  // namespace zpv::visa
