// Compile-time check that a row's format fits the C++ types of its member: one conversion per
// value, in order, each of the kind the type needs. A row whose format and type disagree fails to
// build instead of reading 8 bytes into a 4-byte integer at run time.
//   double            %lg, %0.15lg (any g/f/e conversion)
//   LONG              %d, %i
//   an enumeration E  %{E}s (the enum keyword maps' name for it)
//   VARIANT_BOOL      %{VARIANT_BOOL}s
//   BSTR              %$Bs, %$BQs, %$Bt
#pragma once

#include <string_view>
#include <type_traits>

#include "zpv4870_runtime.h"

namespace zpv::members {

namespace format_fit {

// The type's name as the compiler spells it ("ZPV4870RangeEnum").
template <class T>
consteval std::string_view TypeName() {
    std::string_view text = __PRETTY_FUNCTION__;
    const std::size_t start = text.find("T = ") + 4;
    const std::size_t end = text.find_first_of(";]", start);
    return text.substr(start, end - start);
}

enum class Kind { Real, Integer, Enum, Text, Unknown };

struct Conversion {
    Kind kind = Kind::Unknown;
    std::string_view enumName;
};

// The next conversion at or after pos (pos moves past it); false when there is none.
constexpr bool NextConversion(std::string_view format, std::size_t& pos, Conversion& out) {
    while (pos < format.size()) {
        if (format[pos] != '%') {
            ++pos;
            continue;
        }
        ++pos;
        if (pos < format.size() && format[pos] == '%') {
            ++pos;
            continue;
        }
        out = {};
        if (pos < format.size() && format[pos] == '{') {
            const std::size_t close = format.find('}', pos);
            if (close == std::string_view::npos) return true;
            out.enumName = format.substr(pos + 1, close - pos - 1);
            pos = close + 1;
        }
        bool text = false;
        while (pos < format.size() && std::string_view("-+ #0123456789.").find(format[pos]) != std::string_view::npos)
            ++pos;
        if (format.substr(pos, 2) == "$B") {
            text = true;
            pos += 2;
        }
        while (pos < format.size() && std::string_view("qQlh").find(format[pos]) != std::string_view::npos) ++pos;
        if (pos >= format.size()) return true;
        const char conversion = format[pos++];
        if (!out.enumName.empty())
            out.kind = conversion == 's' ? Kind::Enum : Kind::Unknown;
        else if (text)
            out.kind = conversion == 's' || conversion == 't' ? Kind::Text : Kind::Unknown;
        else if (std::string_view("gfeGE").find(conversion) != std::string_view::npos)
            out.kind = Kind::Real;
        else if (conversion == 'd' || conversion == 'i')
            out.kind = Kind::Integer;
        return true;
    }
    return false;
}

template <class T>
constexpr bool Fits(const Conversion& c) {
    switch (c.kind) {
        case Kind::Real: return std::is_same_v<T, double>;
        case Kind::Integer: return std::is_same_v<T, LONG>;
        case Kind::Text: return std::is_same_v<T, BSTR>;
        case Kind::Enum:
            if constexpr (std::is_same_v<T, VARIANT_BOOL>)
                return c.enumName == "VARIANT_BOOL";
            else if constexpr (std::is_enum_v<T>)
                return c.enumName == TypeName<T>();
            else
                return false;
        case Kind::Unknown: return false;
    }
    return false;
}

}  // namespace format_fit

// True when format has exactly one conversion per type in Types, each fitting its type. The
// first type is a placeholder (void) so that an empty list can be written.
template <class Placeholder, class... Types>
consteval bool FormatFits(const char* format) {
    if (!format) return sizeof...(Types) == 0;
    const std::string_view text(format);
    std::size_t pos = 0;
    bool fits = true;
    [[maybe_unused]] auto next = [&]<class T>() {
        format_fit::Conversion c;
        if (!format_fit::NextConversion(text, pos, c) || !format_fit::Fits<T>(c)) fits = false;
    };
    (next.template operator()<Types>(), ...);
    format_fit::Conversion extra;
    return fits && !format_fit::NextConversion(text, pos, extra);
}

}  // namespace zpv::members
