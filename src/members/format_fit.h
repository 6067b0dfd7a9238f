// Compile-time check that a row's format fits the C++ types of its member, with the grammar the
// engines use at run time (io/format_scanner.h), told whether the format is sent or read: one
// conversion per value, in order, each of the kind the type needs. A row whose format and type
// disagree fails to build instead of reading 8 bytes into a 4-byte integer at run time.
//   double            a real conversion (%lg, %0.15lg, %@2lf, ...)
//   LONG              an integer conversion (%d, %@1d, ...)
//   an enumeration E  %{E}s (the enum keyword maps' name for it)
//   VARIANT_BOOL      %{VARIANT_BOOL}s
//   BSTR              a $B string: %$Bs or %$BQs sent; %$Bs, %$Bt, %$BT or %$B[...] read
//   SAFEARRAY*        a list of numbers
// Widths, precisions or counts taken from arguments, and suppressed reads, take no value of the
// member and are refused: a row has no argument for them.
#pragma once

#include <string_view>
#include <type_traits>

#include "io/format_scanner.h"
#include "zpv4870_runtime.h"

namespace zpv::members {

// Which way a format goes.
inline constexpr io::FormatDirection Sent = io::FormatDirection::Output;
inline constexpr io::FormatDirection Read = io::FormatDirection::Input;

namespace format_fit {

// The type's name as the compiler spells it ("ZPV4870RangeEnum").
template <class T>
consteval std::string_view TypeName() {
    std::string_view text = __PRETTY_FUNCTION__;
    const std::size_t start = text.find("T = ") + 4;
    const std::size_t end = text.find_first_of(";]", start);
    return text.substr(start, end - start);
}

constexpr bool TakesArgument(const io::Amount& amount) {
    return amount.source == io::AmountSource::Star || amount.source == io::AmountSource::Pointer;
}

template <class T>
constexpr bool Fits(const io::FormatToken& token, io::FormatDirection direction) {
    using O = io::OutputKind;
    using I = io::InputKind;
    const bool sent = direction == io::FormatDirection::Output;
    const bool real = sent ? token.output() == O::Real : token.input() == I::Real;
    const bool integer = sent ? token.output() == O::Integer : token.input() == I::Integer;
    const bool enumeration = sent ? token.output() == O::Enum : token.input() == I::Enum;
    const bool numberList = sent ? token.output() == O::RealList || token.output() == O::IntegerList
                                 : token.input() == I::RealList || token.input() == I::IntegerList;
    const bool text = token.storage == io::StringStorage::Wide &&
                      (sent ? token.output() == O::String
                            : token.input() == I::Word || token.input() == I::Line || token.input() == I::Rest ||
                                  token.input() == I::CharacterSet);
    if constexpr (std::is_same_v<T, double>) return real;
    else if constexpr (std::is_same_v<T, LONG>) return integer;
    else if constexpr (std::is_same_v<T, BSTR>) return text;
    else if constexpr (std::is_same_v<T, SAFEARRAY*>) return numberList;
    else if constexpr (std::is_same_v<T, VARIANT_BOOL>) return enumeration && token.enumName == "VARIANT_BOOL";
    else if constexpr (std::is_enum_v<T>) return enumeration && token.enumName == TypeName<T>();
    else return false;
}

}  // namespace format_fit

// True when format, sent or read, has exactly one conversion per type in Types, each fitting its
// type. The first type is a placeholder (void) so that an empty list can be written.
template <class Placeholder, class... Types>
consteval bool FormatFits(const char* format, io::FormatDirection direction) {
    if (!format) return sizeof...(Types) == 0;
    io::FormatTokens tokens;
    if (!io::ScanFormat(format, direction, tokens)) return false;
    std::size_t next = 0;
    bool fits = true;
    [[maybe_unused]] auto take = [&]<class T>() {
        while (next < tokens.size() && tokens[next].kind == 0) ++next;  // literal text
        if (next == tokens.size()) {
            fits = false;
            return;
        }
        const io::FormatToken& token = tokens[next++];
        if (token.suppress || format_fit::TakesArgument(token.width) || format_fit::TakesArgument(token.precision) ||
            format_fit::TakesArgument(token.count) || !format_fit::Fits<T>(token, direction))
            fits = false;
    };
    (take.template operator()<Types>(), ...);
    while (next < tokens.size() && tokens[next].kind == 0) ++next;
    return fits && next == tokens.size();
}

}  // namespace zpv::members
