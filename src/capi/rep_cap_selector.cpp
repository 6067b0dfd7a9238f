#include "capi/rep_cap_selector.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <strings.h>

#include "core/option_string.h"

namespace zpv::repcap {

namespace {

constexpr const char* kBadlyFormedText = "The repeated capability selector is badly-formed.";
constexpr const char* kRangeText = "Invalid range specified in repeated capability selector.";
constexpr const char* kLevelsText = "Invalid or inconsistent number of levels specified in repeated capability selector.";

// A range may not expand to more names than this, nor a selector to more paths: a selector is a
// short list, not a flood.
constexpr long kMaxRangeNames = 10000;
constexpr std::size_t kMaxPaths = 10000;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsPrefixChar(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_' || c == '!'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsNameChar(char c) { return IsPrefixChar(c) || IsDigit(c); }

std::string_view StripBlanks(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// The non-empty pieces of s between separators.
std::vector<std::string_view> Tokens(std::string_view s, char separator) {
    std::vector<std::string_view> tokens;
    std::size_t start = 0;
    while (start <= s.size()) {
        std::size_t end = s.find(separator, start);
        if (end == std::string_view::npos) end = s.size();
        if (end > start) tokens.push_back(s.substr(start, end - start));
        start = end + 1;
    }
    return tokens;
}

// "prefix digits" with a non-empty prefix of letters, "_" or "!" and non-empty digits.
struct RangeEnd {
    std::string_view prefix;
    std::string_view digits;
};
bool SplitRangeEnd(std::string_view s, RangeEnd& out) {
    std::size_t i = 0;
    while (i < s.size() && IsPrefixChar(s[i])) ++i;
    if (i == 0 || i == s.size()) return false;
    if (!std::all_of(s.begin() + static_cast<long>(i), s.end(), IsDigit)) return false;
    out = {s.substr(0, i), s.substr(i)};
    return true;
}

// Decimal digits as a number; false when it does not fit the range limit.
bool ToNumber(std::string_view digits, long& value) {
    value = 0;
    for (char c : digits) {
        value = value * 10 + (c - '0');
        if (value > 0x7FFFFFFF) return false;
    }
    return true;
}

}  // namespace

ViStatus CRepCapSelector::Parse(ViSession session, bool allowMulti) {
    if (!parsed_) {
        parsed_ = true;
        parseStatus_ = ParseText(allowMulti);
    }
    if (parseStatus_ == VI_SUCCESS) return VI_SUCCESS;
    const char* text = parseStatus_ == kSelectorRangeInvalid    ? kRangeText
                       : parseStatus_ == kSelectorLevelsInvalid ? kLevelsText
                                                                : kBadlyFormedText;
    return capi::SetError(session, parseStatus_, text);
}

ViStatus CRepCapSelector::ParseText(bool allowMulti) {
    // The usual selector is one plain name ("OutputPhase2"): one path of one level, no parsing.
    if (text_.empty() || std::all_of(text_.begin(), text_.end(), IsNameChar)) {
        paths_.push_back({text_});
        return VI_SUCCESS;
    }
    Levels working;
    for (std::string_view levelToken : Tokens(text_, ':')) {
        working.emplace_back();
        std::string_view level = driver::TrimWhite(levelToken);
        bool bracketed = false;
        if (level.starts_with('[')) {
            if (!level.ends_with(']') || level.size() < 2) return kSelectorBadlyFormed;
            level = level.substr(1, level.size() - 2);
            bracketed = true;
        }
        std::size_t index = 0;
        for (std::string_view element : Tokens(level, ',')) {
            ViStatus status = AddElement(element, bracketed, index++, allowMulti, working);
            if (status != VI_SUCCESS) return status;
        }
    }
    ViStatus status = Flush(working);
    if (status != VI_SUCCESS) return status;
    // A selector of separators only names nothing; that is not a usable selector.
    if (paths_.empty()) return kSelectorBadlyFormed;

    std::set<std::string> seen;
    for (const Path& path : paths_) {
        std::string key;
        for (const std::string& name : path) key.append(name).append(":");
        if (!seen.insert(std::move(key)).second) return kSelectorBadlyFormed;
    }
    return VI_SUCCESS;
}

ViStatus CRepCapSelector::AddElement(std::string_view element, bool bracketed, std::size_t elementIndex,
                                     bool allowMulti, Levels& working) {
    if (elementIndex >= 1 && !bracketed) {
        ViStatus status = Flush(working);
        if (status != VI_SUCCESS) return status;
        working.assign(1, {});
    }
    const std::string_view core = StripBlanks(element);
    if (!core.empty() && std::all_of(core.begin(), core.end(), IsNameChar)) {
        working.back().emplace_back(core);
        return VI_SUCCESS;
    }

    const auto dash = core.find('-');
    RangeEnd first, last;
    if (dash == std::string_view::npos || !SplitRangeEnd(StripBlanks(core.substr(0, dash)), first) ||
        !SplitRangeEnd(StripBlanks(core.substr(dash + 1)), last))
        return kSelectorBadlyFormed;
    if (!allowMulti) return kSelectorBadlyFormed;

    if (last.prefix.size() > first.prefix.size() ||
        strncasecmp(first.prefix.data(), last.prefix.data(), last.prefix.size()) != 0)
        return kSelectorRangeInvalid;
    long start = 0, end = 0;
    if (!ToNumber(first.digits, start) || !ToNumber(last.digits, end) || end < start ||
        end - start >= kMaxRangeNames)
        return kSelectorRangeInvalid;
    for (long n = start; n <= end; ++n) working.back().push_back(std::string(first.prefix) + std::to_string(n));
    return VI_SUCCESS;
}

ViStatus CRepCapSelector::Flush(const Levels& working) {
    if (!paths_.empty() && paths_.front().size() != working.size()) return kSelectorLevelsInvalid;
    std::size_t count = working.empty() ? 0 : 1;
    for (const auto& level : working) {
        count *= level.size();
        if (count > kMaxPaths) return kSelectorBadlyFormed;
    }
    if (paths_.size() + count > kMaxPaths) return kSelectorBadlyFormed;
    // Cartesian product, first level outermost.
    std::vector<Path> product{{}};
    for (const auto& level : working) {
        std::vector<Path> next;
        for (const Path& prefix : product)
            for (const std::string& name : level) {
                next.push_back(prefix);
                next.back().push_back(name);
            }
        product = std::move(next);
    }
    if (!working.empty())
        for (Path& path : product) paths_.push_back(std::move(path));
    return VI_SUCCESS;
}

ViStatus CRepCapSelector::GetName(ViSession session, bool allowMulti, std::size_t pathIndex, std::size_t levelIndex,
                                  std::string& name) {
    ViStatus status = Parse(session, allowMulti);
    if (status != VI_SUCCESS) return status;
    if (pathIndex >= paths_.size()) return capi::SetError(session, kSelectorBadlyFormed, kBadlyFormedText);
    if (levelIndex >= paths_[pathIndex].size()) return capi::SetError(session, kSelectorLevelsInvalid, kLevelsText);
    name = paths_[pathIndex][levelIndex];
    return VI_SUCCESS;
}

}  // namespace zpv::repcap
