#include "platform/visa/usbtmc_device_finder.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
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

struct UsbIdentity {
    unsigned vendor = 0, product = 0;
    std::string serial;
    int interfaceNumber = -1;
};

bool Identify(const fs::path& node, UsbIdentity* identity) {
    std::error_code error;
    const fs::path usbInterface = fs::canonical(node / "device", error);
    if (error) return false;
    const fs::path usbDevice = usbInterface.parent_path();
    if (!HexAttribute(usbDevice / "idVendor", &identity->vendor) ||
        !HexAttribute(usbDevice / "idProduct", &identity->product))
        return false;
    identity->serial = Attribute(usbDevice / "serial");
    unsigned interfaceNumber = 0;
    if (HexAttribute(usbInterface / "bInterfaceNumber", &interfaceNumber))
        identity->interfaceNumber = static_cast<int>(interfaceNumber);
    return true;
}

bool Matches(const UsbIdentity& node, const ResourceDescriptor& d) {
    return node.vendor == d.usbVendorId && node.product == d.usbProductId && SameText(node.serial, d.usbSerial) &&
           (d.usbInterface < 0 || node.interfaceNumber == d.usbInterface);
}

// The usbtmc nodes of the class directory, lowest number first.
std::vector<std::string> Nodes(const fs::path& classDir) {
    std::vector<std::pair<int, std::string>> nodes;
    std::error_code error;
    for (fs::directory_iterator it(classDir, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (int number = NodeNumber(name); number >= 0) nodes.emplace_back(number, name);
    }
    std::sort(nodes.begin(), nodes.end());
    std::vector<std::string> names;
    for (auto& node : nodes) names.push_back(std::move(node.second));
    return names;
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
    const std::vector<std::string> nodes = Nodes(classDir);
    for (const std::string& name : nodes) {
        UsbIdentity identity;
        if (!Identify(classDir / name, &identity) || !Matches(identity, descriptor)) continue;
        *devicePath = (fs::path(roots.dev) / name).string();
        return VI_SUCCESS;
    }
    *detail = "No USBTMC device " + descriptor.canonicalName + " is attached (looked in " + classDir.string() +
              (nodes.empty() ? ", which lists no usbtmc device)." : ").");
    return VI_ERROR_RSRC_NFOUND;
}

std::vector<std::string> ListUsbtmcResources(const UsbtmcRoots& roots) {
    const fs::path classDir = fs::path(roots.sysfs) / "class" / "usbmisc";
    std::vector<std::string> resources;
    for (const std::string& name : Nodes(classDir)) {
        UsbIdentity identity;
        if (!Identify(classDir / name, &identity)) continue;
        char ids[32];
        std::snprintf(ids, sizeof ids, "USB0::0x%04X::0x%04X::", identity.vendor, identity.product);
        resources.push_back(ids + identity.serial +
                            (identity.interfaceNumber > 0 ? "::" + std::to_string(identity.interfaceNumber) : "") +
                            "::INSTR");
    }
    return resources;
}

}  // namespace zpv::visa
