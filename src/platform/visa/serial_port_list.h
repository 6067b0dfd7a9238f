// The serial ports present on this machine, as ASRL resources: every tty of sysfs backed by a
// device, except the legacy 8250 UARTs the kernel lists whether or not a port is fitted (their
// device is on the platform bus).
#pragma once

#include <string>
#include <vector>

namespace zpv::visa {

// "ASRL/dev/ttyUSB0::INSTR", ... sorted by name; sysfsRoot is "/sys" but for tests.
std::vector<std::string> ListSerialResources(const std::string& sysfsRoot, const std::string& devDir);

}  // namespace zpv::visa
