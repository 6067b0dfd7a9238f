#include "capi/rep_cap_selector.h"

#include <algorithm>
#include <cctype>
#include <unordered_set>
#include <strings.h>

#include "core/option_string.h"

namespace zpv::repcap {

namespace {

constexpr const char* kBadlyFormedText = "The repeated capability selector is badly-formed.";
constexpr const char* kRangeText = "Invalid range specified in repeated capability selector.";
constexpr const char* kLevelsText = "Invalid or inconsistent number of levels specified in repeated capability selector.";

// A selector may name at most this many names in all its paths together, or one name per byte of
// its text when that is more: every range and product is counted before it is expanded, so a short
// selector never costs more than a little memory, and cost grows with the text, not faster.
constexpr std::size_t kMinNameBudget = 1024;

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
    budget_ = std::max(kMinNameBudget, text_.size());
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

    std::unordered_set<std::string> seen;
    seen.reserve(paths_.size());
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
        if (!Spend(1)) return kSelectorBadlyFormed;
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
    if (!ToNumber(first.digits, start) || !ToNumber(last.digits, end) || end < start) return kSelectorRangeInvalid;
    if (!Spend(static_cast<std::size_t>(end - start) + 1)) return kSelectorRangeInvalid;
    for (long n = start; n <= end; ++n) working.back().push_back(std::string(first.prefix) + std::to_string(n));
    return VI_SUCCESS;
}

ViStatus CRepCapSelector::Flush(const Levels& working) {
    if (!paths_.empty() && paths_.front().size() != working.size()) return kSelectorLevelsInvalid;
    if (working.empty()) return VI_SUCCESS;
    // Count first: the product's size, with its names, must fit what is left to spend.
    std::size_t count = 1;
    for (const auto& level : working) {
        if (level.empty()) return VI_SUCCESS;  // a level without names contributes no paths
        if (count > budget_ / level.size()) return kSelectorBadlyFormed;
        count *= level.size();
    }
    if (count > budget_ / working.size() || !Spend(count * working.size())) return kSelectorBadlyFormed;
    // Cartesian product, first level outermost: path i takes from each level the digit of i in
    // the mixed radix of the level sizes.
    for (std::size_t i = 0; i < count; ++i) {
        Path path(working.size());
        std::size_t rest = i;
        for (std::size_t level = working.size(); level-- > 0;) {
            path[level] = working[level][rest % working[level].size()];
            rest /= working[level].size();
        }
        paths_.push_back(std::move(path));
    }
    return VI_SUCCESS;
}

bool CRepCapSelector::Spend(std::size_t names) {
    if (names > budget_ - spent_) return false;
    spent_ += names;
    return true;
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
