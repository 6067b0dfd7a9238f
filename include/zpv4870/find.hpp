// zpv4870/find.hpp - the instruments this machine can reach, for modern C++.
//
//     for (const auto& found : zpv4870::find_instruments({.timeout =
//     std::chrono::seconds(2)}).instruments)
//         std::printf("%s %s %s\n", found.address.c_str(), found.model.c_str(),
//         found.resources.front().c_str());
//
// What is asked where, and how long it takes, is described in zpv4870_find.h.
#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "driver.hpp"
#include "zpv4870_find.h"

namespace zpv4870 {

struct FoundInstrument {
    std::string address;
    std::vector<std::string> resources;  // best first: VXI-11, HiSLIP, SOCKET
    std::string manufacturer, model, serial, firmware;
    std::string problem;  // why *IDN? gave no identity; empty when it did or was not asked
};

struct FoundInstruments {
    std::vector<FoundInstrument> instruments;
    std::vector<std::string> notes;  // where was asked, and what could not be
};

struct FindOptions {
    std::chrono::milliseconds timeout{1000};
    bool lan = true;    // the VXI-11 broadcast
    bool mdns = false;  // DNS-SD through the Avahi daemon
    bool local = true;  // serial ports and USBTMC devices
};

namespace detail {

inline std::vector<std::string> split_fields(std::string_view line) {
    std::vector<std::string> fields;
    for (std::size_t start = 0;;) {
        const std::size_t tab = line.find('\t', start);
        fields.emplace_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
        if (tab == std::string_view::npos) return fields;
        start = tab + 1;
    }
}

}  // namespace detail

// The lines of zpv4870_find_instruments, read into structures.
inline FoundInstruments parse_found_instruments(std::string_view text) {
    FoundInstruments result;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::vector<std::string> fields = detail::split_fields(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (fields[0] == "note" && fields.size() >= 2) {
            result.notes.push_back(fields[1]);
        } else if (fields[0] == "instrument" && fields.size() >= 7) {
            FoundInstrument found{
                fields[1], {fields.begin() + 7, fields.end()}, fields[2], fields[3], fields[4], fields[5], fields[6]};
            result.instruments.push_back(std::move(found));
        }
    }
    return result;
}

// Throws InvalidValue for a timeout outside 10 ms to 60 s.
inline FoundInstruments find_instruments(const FindOptions& options = {}) {
    const ViInt32 what = (options.lan ? ZPV4870_FIND_LAN : 0) | (options.mdns ? ZPV4870_FIND_MDNS : 0) |
                         (options.local ? ZPV4870_FIND_LOCAL : 0);
    const double seconds = std::chrono::duration<double>(options.timeout).count();
    std::string text(64 * 1024, '\0');
    ViStatus status = zpv4870_find_instruments(seconds, what, static_cast<ViInt32>(text.size()), text.data());
    for (int retry = 0; status > 0 && retry < 3; ++retry) {  // more found than fits: again, with room
        text.assign(static_cast<std::size_t>(status) * 2, '\0');
        status = zpv4870_find_instruments(seconds, what, static_cast<ViInt32>(text.size()), text.data());
    }
    if (status < 0) {
        ViChar description[256] = "";
        ZPV4870_GetError(0, nullptr, sizeof description, description);
        throw InvalidValue(static_cast<HRESULT>(status::kInvalidValue), description);
    }
    text.resize(text.find('\0'));
    return parse_found_instruments(text);
}

}  // namespace zpv4870
