#include "platform/visa/usbtmc_device_finder.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

namespace zpv::visa {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kNodePrefix = "usbtmc";

// The first line of a sysfs attribute, without its line feed; empty when it cannot be read.
std::string Attribute(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back()))) line.pop_back();
    return line;
}

bool HexAttribute(const fs::path& file, unsigned* value) {
    const std::string text = Attribute(file);
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), *value, 16);
    return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
           });
}

// The N of "usbtmcN", or -1.
int NodeNumber(const std::string& name) {
    if (name.compare(0, kNodePrefix.size(), kNodePrefix) != 0 || name.size() == kNodePrefix.size()) return -1;
    int number = -1;
    auto [end, error] = std::from_chars(name.data() + kNodePrefix.size(), name.data() + name.size(), number);
    return error == std::errc() && end == name.data() + name.size() ? number : -1;
}

bool Matches(const fs::path& node, const ResourceDescriptor& d) {
    std::error_code error;
    const fs::path usbInterface = fs::canonical(node / "device", error);
    if (error) return false;
    const fs::path usbDevice = usbInterface.parent_path();
    unsigned vendor = 0, product = 0, interfaceNumber = 0;
    if (!HexAttribute(usbDevice / "idVendor", &vendor) || !HexAttribute(usbDevice / "idProduct", &product))
        return false;
    if (vendor != d.usbVendorId || product != d.usbProductId) return false;
    if (!SameText(Attribute(usbDevice / "serial"), d.usbSerial)) return false;
    if (d.usbInterface < 0) return true;
    return HexAttribute(usbInterface / "bInterfaceNumber", &interfaceNumber) &&
           interfaceNumber == static_cast<unsigned>(d.usbInterface);
}

}  // namespace

UsbtmcRoots UsbtmcRoots::FromEnvironment() {
    UsbtmcRoots roots;
    if (const char* sysfs = std::getenv(kUsbtmcSysfsVariable); sysfs && *sysfs) roots.sysfs = sysfs;
    if (const char* dev = std::getenv(kUsbtmcDevVariable); dev && *dev) roots.dev = dev;
    return roots;
}

ViStatus FindUsbtmcDevice(const ResourceDescriptor& descriptor, const UsbtmcRoots& roots, std::string* devicePath,
                          std::string* detail) {
    const fs::path classDir = fs::path(roots.sysfs) / "class" / "usbmisc";
    std::vector<std::pair<int, std::string>> nodes;
    std::error_code error;
    for (fs::directory_iterator it(classDir, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (int number = NodeNumber(name); number >= 0) nodes.emplace_back(number, name);
    }
    std::sort(nodes.begin(), nodes.end());
    for (const auto& [number, name] : nodes) {
        if (!Matches(classDir / name, descriptor)) continue;
        *devicePath = (fs::path(roots.dev) / name).string();
        return VI_SUCCESS;
    }
    *detail = "No USBTMC device " + descriptor.canonicalName + " is attached (looked in " + classDir.string() +
              (nodes.empty() ? ", which lists no usbtmc device)." : ").");
    return VI_ERROR_RSRC_NFOUND;
}

}  // namespace zpv::visa
