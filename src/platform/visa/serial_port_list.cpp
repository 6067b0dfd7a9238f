#include "platform/visa/serial_port_list.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace zpv::visa {

std::vector<std::string> ListSerialResources(const std::string& sysfsRoot, const std::string& devDir) {
    namespace fs = std::filesystem;
    std::vector<std::string> resources;
    std::error_code error;
    const fs::path classDir = fs::path(sysfsRoot) / "class" / "tty";
    for (fs::directory_iterator it(classDir, error), end; !error && it != end; it.increment(error)) {
        std::error_code missing;
        const fs::path device = fs::canonical(it->path() / "device", missing);
        if (missing) continue;  // virtual terminals and ptys have no device
        const fs::path bus = fs::canonical(device / "subsystem", missing);
        if (!missing && bus.filename() == "platform") continue;
        resources.push_back("ASRL" + (fs::path(devDir) / it->path().filename()).string() + "::INSTR");
    }
    std::sort(resources.begin(), resources.end());
    return resources;
}

}  // namespace zpv::visa
