#include "core/option_string.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <unordered_map>

namespace zpv::driver {

namespace {

bool IsWhite(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }
bool IsEntryDelimiter(char c) { return c == ',' || c == '='; }
char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

}  // namespace

std::string_view TrimWhite(std::string_view text) {
    while (!text.empty() && IsWhite(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsWhite(text.back())) text.remove_suffix(1);
    return text;
}

std::string ToLower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), Lower);
    return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return Lower(x) == Lower(y);
           });
}

std::optional<DriverSetupMarker> FindDriverSetupMarker(std::string_view options) {
    static constexpr std::string_view kWord = "driversetup";
    const std::string lowered = ToLower(options);
    const std::string_view text(lowered);

    if (auto p = text.find("driversetup="); p != std::string_view::npos)
        return DriverSetupMarker{p, p + kWord.size() + 1};

    auto p = text.find("driversetup ");
    if (p == std::string_view::npos) return std::nullopt;
    // Blanks may follow the word; the first "=" ends the marker, anything else means no marker.
    for (std::size_t i = p + kWord.size() + 1; i < text.size(); ++i) {
        if (text[i] == '=') return DriverSetupMarker{p, i + 1};
        if (!IsWhite(text[i])) return std::nullopt;
    }
    return DriverSetupMarker{p, text.size()};
}

OptionEntries SplitOptionEntries(std::string_view text) {
    OptionEntries entries;
    std::unordered_map<std::string, std::size_t> places;  // name -> its entry, so a repeat costs no scan
    std::size_t i = 0;
    while (i < text.size()) {
        if (IsEntryDelimiter(text[i])) {
            ++i;
            continue;
        }
        // Every start inside this run of name characters ends at the same delimiter, so one test
        // decides the whole run.
        std::size_t nameEnd = i;
        while (nameEnd < text.size() && !IsEntryDelimiter(text[nameEnd])) ++nameEnd;
        if (nameEnd >= text.size() || text[nameEnd] != '=' || nameEnd + 1 >= text.size() ||
            IsEntryDelimiter(text[nameEnd + 1])) {
            i = nameEnd + 1;
            continue;
        }
        std::size_t valueEnd = nameEnd + 1;
        while (valueEnd < text.size() && !IsEntryDelimiter(text[valueEnd])) ++valueEnd;

        std::string name(TrimWhite(text.substr(i, nameEnd - i)));
        std::string value(TrimWhite(text.substr(nameEnd + 1, valueEnd - nameEnd - 1)));
        if (auto [place, added] = places.try_emplace(name, entries.size()); !added)
            entries[place->second].second = std::move(value);
        else
            entries.emplace_back(std::move(name), std::move(value));
        i = valueEnd;
    }
    return entries;
}

std::optional<bool> ParseOptionBoolean(std::string_view value) {
    if (EqualsNoCase(value, "VI_TRUE")) return true;
    if (EqualsNoCase(value, "VI_FALSE")) return false;
    const std::string_view trimmed = TrimWhite(value);
    if (EqualsNoCase(trimmed, "true") || trimmed == "1") return true;
    if (EqualsNoCase(trimmed, "false") || trimmed == "0") return false;
    return std::nullopt;
}

long ReadLeadingDecimal(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsWhite(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > static_cast<long long>(INT_MAX) + 1) magnitude = static_cast<long long>(INT_MAX) + 1;
    }
    long long value = negative ? -magnitude : magnitude;
    return static_cast<long>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

}  // namespace zpv::driver
