// Any option string: the options and the DriverSetup part are found, or the string is refused
// with a status; nothing else.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/option_string.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string_view options = text;
    if (auto marker = zpv::driver::FindDriverSetupMarker(text)) {
        if (marker->valueStart > text.size() || marker->markerPos > marker->valueStart) __builtin_trap();
        zpv::driver::SplitOptionEntries(options.substr(marker->valueStart));
        options = options.substr(0, marker->markerPos);
    }
    for (const auto& [name, value] : zpv::driver::SplitOptionEntries(options)) {
        zpv::driver::ParseOptionBoolean(value);
        zpv::driver::ReadLeadingDecimal(value);
        if (name.find(',') != std::string::npos || value.find('=') != std::string::npos) __builtin_trap();
    }
    return 0;
}
