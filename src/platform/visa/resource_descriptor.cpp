#include "platform/visa/resource_descriptor.h"
#include "platform/text/sentence.h"

#include <cctype>
#include <charconv>
#include <cstdio>
#include <vector>

namespace zpv::visa {

namespace {

using Tokens = std::vector<std::string_view>;

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

bool HasSpace(std::string_view text) {
    for (char c : text)
        if (std::isspace(static_cast<unsigned char>(c)) || std::iscntrl(static_cast<unsigned char>(c))) return true;
    return false;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    return text;
}

// Splits at "::" except inside brackets, which hold IPv6 literals and bracketed LAN device names.
bool Tokenize(std::string_view text, Tokens& tokens) {
    std::size_t start = 0;
    int depth = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '[') {
            ++depth;
        } else if (text[i] == ']') {
            if (--depth < 0) return false;
        } else if (depth == 0 && text[i] == ':' && i + 1 < text.size() && text[i + 1] == ':') {
            tokens.push_back(text.substr(start, i - start));
            start = i + 2;
            ++i;
        }
    }
    if (depth != 0) return false;
    tokens.push_back(text.substr(start));
    // A part that begins or ends with ':' came from ":::", which has no single reading.
    for (std::string_view token : tokens)
        if (token.empty() || token.front() == ':' || token.back() == ':') return false;
    return true;
}

// Decimal, or hexadecimal after "0x" when hexAllowed.
bool ParseNumber(std::string_view text, std::uint32_t max, std::uint32_t& value, bool hexAllowed = false) {
    int base = 10;
    if (hexAllowed && StartsWithNoCase(text, "0x")) {
        text.remove_prefix(2);
        base = 16;
    }
    if (text.empty()) return false;
    std::uint32_t parsed = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), parsed, base);
    if (ec != std::errc() || end != text.data() + text.size() || parsed > max) return false;
    value = parsed;
    return true;
}

struct ParseState {
    ResourceDescriptor& out;
    std::string& detail;

    ViStatus Fail(std::string why) {
        detail = std::move(why);
        return VI_ERROR_INV_RSRC_NAME;
    }
};

bool DropTrailingClass(Tokens& rest, std::string_view cls) {
    if (rest.empty() || !EqualsNoCase(rest.back(), cls)) return false;
    rest.pop_back();
    return true;
}

ViStatus ParseHost(std::string_view token, ParseState& st) {
    if (token.front() == '[') {
        if (token.size() < 3 || token.back() != ']') return st.Fail("badly bracketed host");
        token = token.substr(1, token.size() - 2);
    } else if (token.find_first_of(":[]") != std::string_view::npos) {
        return st.Fail("host '" + std::string(token) + "' needs brackets");
    }
    if (HasSpace(token)) return st.Fail("host contains white space");
    st.out.host = std::string(token);
    return VI_SUCCESS;
}

std::string HostForName(const ResourceDescriptor& d) {
    return d.host.find(':') != std::string::npos ? "[" + d.host + "]" : d.host;
}

// "hislip0" or "hislip0,4880".
ViStatus ParseHislip(std::string_view device, ParseState& st) {
    std::string_view name = device.substr(0, device.find(','));
    std::uint32_t ignored = 0;
    if (!ParseNumber(name.substr(6), 0xFFFF, ignored)) return st.Fail("HiSLIP sub-address must be hislip<n>");
    st.out.port = kHislipDefaultPort;
    if (name.size() < device.size()) {
        std::uint32_t port = 0;
        if (!ParseNumber(device.substr(name.size() + 1), 0xFFFF, port) || port == 0)
            return st.Fail("HiSLIP port must be 1 to 65535");
        st.out.port = static_cast<ViUInt16>(port);
    }
    st.out.kind = ResourceKind::TcpipHislip;
    st.out.deviceName = std::string(name);
    st.out.canonicalName = "TCPIP" + std::to_string(st.out.board) + "::" + HostForName(st.out) + "::" +
                           st.out.deviceName +
                           (st.out.port != kHislipDefaultPort ? "," + std::to_string(st.out.port) : "") + "::INSTR";
    return VI_SUCCESS;
}

ViStatus ParseTcpip(Tokens rest, ParseState& st) {
    ResourceDescriptor& d = st.out;
    d.interfaceType = InterfaceType::Tcpip;
    if (rest.empty()) return st.Fail("host missing");
    if (ViStatus s = ParseHost(rest.front(), st); Failed(s)) return s;
    std::string board = "TCPIP" + std::to_string(d.board) + "::";

    if (DropTrailingClass(rest, "SOCKET")) {
        std::uint32_t port = 0;
        if (rest.size() != 2 || !ParseNumber(rest[1], 0xFFFF, port) || port == 0)
            return st.Fail("a SOCKET resource is TCPIP[n]::host::port::SOCKET with port 1 to 65535");
        d.kind = ResourceKind::TcpipSocket;
        d.resourceClass = "SOCKET";
        d.port = static_cast<ViUInt16>(port);
        d.canonicalName = board + HostForName(d) + "::" + std::to_string(d.port) + "::SOCKET";
        return VI_SUCCESS;
    }

    DropTrailingClass(rest, "INSTR");
    if (rest.size() > 2) return st.Fail("too many parts for a TCPIP instrument");
    d.resourceClass = "INSTR";
    std::string_view device = rest.size() == 2 ? rest[1] : std::string_view("inst0");
    if (HasSpace(device)) return st.Fail("device name contains white space");
    if (StartsWithNoCase(device, "hislip")) return ParseHislip(device, st);
    d.kind = ResourceKind::TcpipVxi11;
    d.deviceName = std::string(device);
    d.canonicalName = board + HostForName(d) + "::" + d.deviceName + "::INSTR";
    return VI_SUCCESS;
}

ViStatus ParseAsrl(Tokens rest, ParseState& st) {
    ResourceDescriptor& d = st.out;
    d.kind = ResourceKind::AsrlInstr;
    d.interfaceType = InterfaceType::Asrl;
    d.resourceClass = "INSTR";
    DropTrailingClass(rest, "INSTR");
    if (!rest.empty()) return st.Fail("a serial resource is ASRL[n]::INSTR or ASRL<device path>::INSTR");
    d.canonicalName = "ASRL" + (d.serialPath.empty() ? std::to_string(d.board) : d.serialPath) + "::INSTR";
    return VI_SUCCESS;
}

ViStatus ParseUsb(Tokens rest, ParseState& st) {
    ResourceDescriptor& d = st.out;
    d.kind = ResourceKind::UsbInstr;
    d.interfaceType = InterfaceType::Usb;
    d.resourceClass = "INSTR";
    DropTrailingClass(rest, "INSTR");
    if (rest.size() != 3 && rest.size() != 4)
        return st.Fail("a USB instrument is USB[n]::vendor::product::serial[::interface]::INSTR");
    std::uint32_t vid = 0, pid = 0, intf = 0;
    if (!ParseNumber(rest[0], 0xFFFF, vid, true)) return st.Fail("USB vendor id must be 0 to 0xFFFF");
    if (!ParseNumber(rest[1], 0xFFFF, pid, true)) return st.Fail("USB product id must be 0 to 0xFFFF");
    if (HasSpace(rest[2])) return st.Fail("USB serial number contains white space");
    if (rest.size() == 4) {
        if (!ParseNumber(rest[3], 0xFF, intf)) return st.Fail("USB interface number must be 0 to 255");
        d.usbInterface = static_cast<int>(intf);
    }
    d.usbVendorId = static_cast<ViUInt16>(vid);
    d.usbProductId = static_cast<ViUInt16>(pid);
    d.usbSerial = std::string(rest[2]);
    char ids[32];
    std::snprintf(ids, sizeof ids, "::0x%04X::0x%04X::", vid, pid);
    d.canonicalName = "USB" + std::to_string(d.board) + ids + d.usbSerial +
                      (d.usbInterface >= 0 ? "::" + std::to_string(d.usbInterface) : "") + "::INSTR";
    return VI_SUCCESS;
}

struct InterfaceRow {
    std::string_view prefix;
    bool acceptsPath;  // "ASRL/dev/ttyUSB0"
    ViStatus (*parse)(Tokens rest, ParseState& st);
};

constexpr InterfaceRow kInterfaces[] = {
    {"TCPIP", false, ParseTcpip},
    {"ASRL", true, ParseAsrl},
    {"USB", false, ParseUsb},
};

}  // namespace

ViStatus ParseResourceDescriptor(std::string_view text, ResourceDescriptor* out, std::string* detail) {
    std::string why;
    ResourceDescriptor parsed;
    ParseState st{parsed, why};
    ViStatus status = [&]() -> ViStatus {
        Tokens tokens;
        text = Trim(text);
        if (text.empty()) return st.Fail("empty resource name");
        if (!Tokenize(text, tokens)) return st.Fail("empty part, stray ':' or unbalanced brackets");
        std::string_view head = tokens.front();
        for (const InterfaceRow& row : kInterfaces) {
            if (!StartsWithNoCase(head, row.prefix)) continue;
            std::string_view board = head.substr(row.prefix.size());
            if (row.acceptsPath && !board.empty() && board.front() == '/') {
                if (board.size() < 2 || HasSpace(board)) return st.Fail("bad device path");
                parsed.serialPath = std::string(board);
            } else {
                std::uint32_t number = 0;
                if (!board.empty() && !ParseNumber(board, 0xFFFF, number))
                    return st.Fail("bad board number in '" + std::string(head) + "'");
                parsed.board = static_cast<ViUInt16>(number);
            }
            return row.parse(Tokens(tokens.begin() + 1, tokens.end()), st);
        }
        return st.Fail("unknown interface '" + std::string(head) + "'");
    }();
    if (Failed(status)) {
        if (detail) *detail = "Invalid resource name '" + std::string(text) + "': " + text::Sentence(why);
        return status;
    }
    if (out) *out = std::move(parsed);
    return VI_SUCCESS;
}

}  // namespace zpv::visa
