// What a stored setting accepts and how its query answers: a number in a range, a keyword, or both.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zpv::sim {

// Mnemonic spelling: the capitals (and digits) up to the first small letter are the short form, the
// whole word is the long form; either is accepted in any letter case ("TRIangle": TRI, TRIANGLE).
bool MatchesMnemonic(std::string_view mnemonic, std::string_view word);
std::string ShortForm(std::string_view mnemonic);  // in capitals

struct Keyword {
    const char* mnemonic;
    const char* answer = nullptr;  // what the query returns; nullptr: the long form in capitals
};

enum class ValueKind { Real, Integer, Keyword };

struct ParamType {
    ValueKind kind;
    double min = 0;
    double max = 0;
    // Keyword kind: the choices. Number kinds: keywords accepted besides a number.
    std::span<const Keyword> keywords = {};
};

constexpr ParamType Real(double min, double max) { return {ValueKind::Real, min, max}; }
constexpr ParamType Integer(double min, double max) { return {ValueKind::Integer, min, max}; }

inline constexpr Keyword kOnOffWords[] = {{"ON"}, {"OFF"}, {"1", "ON"}, {"0", "OFF"}};
inline constexpr ParamType kOnOff{ValueKind::Keyword, 0, 0, kOnOffWords};

// IEEE 488.2 decimal numeric data: sign, digits, point, exponent; nothing else, finite only.
std::optional<double> ParseDecimal(std::string_view text);
// The shortest text that reads back as the same double ("60", "59.999999999999", "1e-05").
std::string FormatReal(double value);

// The text the query answers after the set form was given `text`, or nothing when the type refuses it.
std::optional<std::string> Canonical(const ParamType& type, std::string_view text);

}  // namespace zpv::sim
