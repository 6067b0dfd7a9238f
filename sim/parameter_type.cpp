#include "parameter_type.h"

#include <cctype>
#include <charconv>
#include <cmath>

#include "text.h"

namespace zpv::sim {

namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

}  // namespace

std::string ShortForm(std::string_view mnemonic) {
    size_t length = 0;
    while (length < mnemonic.size() && !std::islower(static_cast<unsigned char>(mnemonic[length]))) ++length;
    return ToUpper(mnemonic.substr(0, length));
}

bool MatchesMnemonic(std::string_view mnemonic, std::string_view word) {
    return EqualsIgnoringCase(word, mnemonic) || EqualsIgnoringCase(word, ShortForm(mnemonic));
}

std::optional<double> ParseDecimal(std::string_view text) {
    text = Trim(text);
    if (text.size() > 1 && text.front() == '+' && text[1] != '-') text.remove_prefix(1);
    if (text.empty() || !(std::isdigit(static_cast<unsigned char>(text.back())) || text.back() == '.'))
        return std::nullopt;  // also keeps out "inf" and "nan"
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::string FormatReal(double value) {
    if (value == 0) value = 0;  // no "-0"
    char buffer[32];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return ec == std::errc() ? std::string(buffer, end) : std::string("0");
}

std::optional<std::string> Canonical(const ParamType& type, std::string_view text) {
    text = Trim(text);
    for (const Keyword& keyword : type.keywords)
        if (MatchesMnemonic(keyword.mnemonic, text)) return keyword.answer ? keyword.answer : ToUpper(keyword.mnemonic);
    if (type.kind == ValueKind::Keyword) return std::nullopt;
    const std::optional<double> value = ParseDecimal(text);
    if (!value || *value < type.min || *value > type.max) return std::nullopt;
    if (type.kind == ValueKind::Real) return FormatReal(*value);
    if (*value != std::trunc(*value)) return std::nullopt;
    return std::to_string(static_cast<long long>(*value));
}

}  // namespace zpv::sim
