// Text rules of the option string: entry splitting, the DriverSetup marker, boolean spellings and
// decimal values.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zpv::driver {

std::string_view TrimWhite(std::string_view text);
std::string ToLower(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);

// Where the DriverSetup part starts: the marker "DriverSetup=" (any letter case, blanks allowed
// before the equals sign). The part runs from valueStart to the end of the string; the options
// are the text before markerPos.
struct DriverSetupMarker {
    std::size_t markerPos;
    std::size_t valueStart;
};
std::optional<DriverSetupMarker> FindDriverSetupMarker(std::string_view options);

// The "name=value" entries of a list, trimmed, in order of first appearance; a repeated name keeps
// its last value. Text that is not an entry (no "=", an empty side) is skipped.
using OptionEntries = std::vector<std::pair<std::string, std::string>>;
OptionEntries SplitOptionEntries(std::string_view text);

// "true"/"VI_TRUE"/"1" and "false"/"VI_FALSE"/"0", any letter case. The VI_ spellings are matched
// against the value as given, the others against the trimmed value. Empty when unknown.
std::optional<bool> ParseOptionBoolean(std::string_view value);

// A leading decimal integer: optional blanks and sign, then digits; anything after is ignored and
// no digits read as 0. Saturates at the 32-bit range.
long ReadLeadingDecimal(std::string_view text);

}  // namespace zpv::driver
