// Small text helpers shared by the simulator's sources.
#pragma once

#include <cctype>
#include <string>
#include <string_view>
#include <vector>

namespace zpv::sim {

inline bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

inline std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

inline std::string ToUpper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

inline std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> pieces;
    size_t start = 0;
    for (size_t pos; (pos = text.find(separator, start)) != std::string_view::npos; start = pos + 1)
        pieces.push_back(text.substr(start, pos - start));
    pieces.push_back(text.substr(start));
    return pieces;
}

template <typename Range, typename Format>
std::string Join(const Range& items, char separator, Format format) {
    std::string joined;
    bool first = true;
    for (const auto& item : items) {
        if (!first) joined += separator;
        first = false;
        joined += format(item);
    }
    return joined;
}

}  // namespace zpv::sim
