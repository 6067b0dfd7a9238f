// The two format grammars (output and input) as data, and the scanner that applies them. Every
// function here also runs while compiling: the member rows' formats are checked by the same
// grammar that reads them at run time (members/format_fit.h), so the two can never disagree.
#pragma once

#include <array>
#include <climits>
#include <cstdint>
#include <span>
#include <string_view>
#include <type_traits>

#include "io/format_token.h"

namespace zpv::io {

enum class FormatDirection : std::uint8_t { Output, Input };

namespace grammar {

constexpr bool Contains(std::string_view set, char c) { return c != '\0' && set.find(c) != std::string_view::npos; }

constexpr bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const char x = a[i] >= 'a' && a[i] <= 'z' ? static_cast<char>(a[i] - 'a' + 'A') : a[i];
        const char y = b[i] >= 'a' && b[i] <= 'z' ? static_cast<char>(b[i] - 'a' + 'A') : b[i];
        if (x != y) return false;
    }
    return true;
}

// The pieces a conversion specifier is built from, in the order they may appear.
enum class Part : std::uint8_t {
    End,
    Blanks,          // any run of blanks and tabs
    OutputEnumName,  // '{' _ name _ '}'
    InputEnumName,   // '{' name '}'
    Suppress,        // ['*' _]
    NumericFlags,    // run of '-' '+' '0' blank (tabs allowed and dropped)
    Dash,            // ['-']
    NumberForm,      // ['@' 1|2|3|H|Q|B _]
    OutputWidth,     // [N | 0*'*']
    InputWidth,      // [N | '#']
    Precision,       // ['.' (N | '*')]
    OutputList,      // ',' | '(' one separator ')'
    InputList,       // ',' | '(' one or more separators ')'
    OutputCount,     // [N | '*']
    InputCount,      // [N | '#']
    ByteOrder,       // ['!ob' | '!ol' _]
    SafeArray,       // ['$S' _]
    Storage,         // ['$B' | '$C' _]
    Quote,           // ['q' | 'Q']
    Size,            // [one of the form's size letters]
    Conversion,      // one of the form's conversion letters
    CharacterSet,    // '[' ['^'] characters ']'
};

struct Form {
    std::uint8_t kind;
    const char* sizes;
    const char* conversions;
    std::array<Part, 14> parts;  // up to the first End
};

template <class Kind>
constexpr std::uint8_t K(Kind kind) {
    return static_cast<std::uint8_t>(kind);
}

using O = OutputKind;
using I = InputKind;

using enum Part;

constexpr Form kOutputForms[] = {
    {K(O::Integer), "lhbI", "dioux", {NumericFlags, NumberForm, OutputWidth, Precision, Size, Conversion}},
    {K(O::IntegerList),
     "lhbI",
     "dioux",
     {NumericFlags, NumberForm, OutputWidth, Precision, OutputList, Blanks, OutputCount, SafeArray, Size, Conversion}},
    {K(O::Real), "lL", "feEgG", {NumericFlags, NumberForm, OutputWidth, Precision, Size, Conversion}},
    {K(O::RealList),
     "lL",
     "feEgG",
     {NumericFlags, NumberForm, OutputWidth, Precision, OutputList, Blanks, OutputCount, SafeArray, Size, Conversion}},
    {K(O::DefiniteBlock), "hlzZI", "b", {Blanks, OutputCount, SafeArray, Size, Conversion}},
    {K(O::IndefiniteBlock), "hlzZI", "B", {Blanks, OutputCount, SafeArray, Size, Conversion}},
    {K(O::RawBinary), "hlI", "y", {Blanks, OutputCount, ByteOrder, SafeArray, Size, Conversion}},
    {K(O::Character), "", "c", {Blanks, Dash, Blanks, OutputWidth, Precision, Conversion}},
    {K(O::String), "", "s", {Blanks, Dash, Blanks, OutputWidth, Precision, Storage, Quote, Conversion}},
    {K(O::StringList),
     "",
     "s",
     {Blanks, Dash, Blanks, OutputWidth, Precision, OutputList, Blanks, OutputCount, SafeArray, Storage, Quote,
      Conversion}},
    {K(O::Enum), "", "s", {Blanks, OutputEnumName, Blanks, Dash, Blanks, OutputWidth, Precision, Quote, Conversion}},
    {K(O::EnumList),
     "",
     "s",
     {Blanks, OutputEnumName, Blanks, Dash, Blanks, OutputWidth, Precision, OutputList, Blanks, OutputCount, SafeArray,
      Quote, Conversion}},
};

constexpr Form kInputForms[] = {
    {K(I::Integer), "lhbI", "dioux", {Blanks, Suppress, NumberForm, InputWidth, Size, Conversion}},
    {K(I::IntegerList),
     "lhbI",
     "dioux",
     {Blanks, Suppress, NumberForm, InputWidth, InputList, Blanks, InputCount, SafeArray, Size, Conversion}},
    {K(I::Real), "lL", "feEgG", {Blanks, Suppress, NumberForm, InputWidth, Size, Conversion}},
    {K(I::RealList),
     "lL",
     "feEgG",
     {Blanks, Suppress, NumberForm, InputWidth, InputList, Blanks, InputCount, SafeArray, Size, Conversion}},
    {K(I::DefiniteBlock), "hlzZI", "b", {Blanks, Suppress, InputCount, SafeArray, Size, Conversion}},
    {K(I::RawBinary), "hlI", "y", {Blanks, Suppress, InputCount, ByteOrder, SafeArray, Size, Conversion}},
    {K(I::Character), "", "c", {Blanks, Suppress, InputWidth, Conversion}},
    {K(I::Line), "", "T", {Blanks, Suppress, InputWidth, Storage, Conversion}},
    {K(I::Rest), "", "t", {Blanks, Suppress, InputWidth, Storage, Conversion}},
    {K(I::Word), "", "s", {Blanks, Suppress, InputWidth, Storage, Conversion}},
    {K(I::CharacterSet), "", "", {Blanks, Suppress, InputWidth, Storage, CharacterSet}},
    {K(I::StringList),
     "",
     "s",
     {Blanks, Suppress, InputWidth, InputList, Blanks, InputCount, SafeArray, Storage, Quote, Conversion}},
    {K(I::Enum), "", "s", {Blanks, InputEnumName, Blanks, Suppress, InputWidth, Quote, Conversion}},
    {K(I::EnumCharacterSet), "", "", {Blanks, InputEnumName, Blanks, Suppress, InputWidth, CharacterSet}},
    {K(I::EnumList),
     "",
     "s",
     {Blanks, InputEnumName, Blanks, Suppress, InputWidth, InputList, Blanks, InputCount, SafeArray, Quote,
      Conversion}},
};

// Letters that name list separators inside parentheses.
constexpr char SeparatorByte(char letter) {
    switch (letter) {
        case ',':
        case ';':
        case ':': return letter;
        case 's': return ' ';
        case 't': return '\t';
        case 'r': return '\r';
        case 'n': return '\n';
        default: return 0;
    }
}

constexpr bool IsNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

class SpecifierScanner {
public:
    constexpr SpecifierScanner(std::string_view text, std::size_t pos) : text_(text), pos_(pos) {}

    constexpr std::size_t pos() const { return pos_; }

    constexpr bool Match(const Form& form, FormatToken& token) {
        for (Part part : form.parts) {
            if (part == Part::End) break;
            if (!MatchPart(part, form, token)) return false;
        }
        token.kind = form.kind;
        return true;
    }

private:
    constexpr char Peek(std::size_t ahead = 0) const { return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : '\0'; }
    constexpr bool Take(char c) {
        if (Peek() != c || c == '\0') return false;
        ++pos_;
        return true;
    }
    constexpr void SkipBlanks() {
        while (Peek() == ' ' || Peek() == '\t') ++pos_;
    }
    constexpr bool Digits(int& value) {
        const std::size_t start = pos_;
        long long v = 0;
        while (Peek() >= '0' && Peek() <= '9') {
            v = v * 10 + (Peek() - '0');
            if (v > INT_MAX) v = INT_MAX;
            ++pos_;
        }
        value = static_cast<int>(v);
        return pos_ > start;
    }

    // N, or '*' / '#' for the argument-supplied forms.
    constexpr bool AmountOf(Amount& amount, char argumentMark, AmountSource argumentSource) {
        if (Digits(amount.value)) {
            amount.source = AmountSource::Given;
        } else if (Take(argumentMark)) {
            amount.source = argumentSource;
        }
        return true;
    }

    constexpr bool MatchPart(Part part, const Form& form, FormatToken& token) {
        return (this->*kMatchers[static_cast<std::size_t>(part)])(form, token);
    }

    // ----- one matcher per part of a specifier

    constexpr bool MatchBlanks(const Form&, FormatToken&) {
        SkipBlanks();
        return true;
    }
    // '{' name '}'; the output form allows blanks inside the braces.
    template <bool blanksInside>
    constexpr bool MatchEnumName(const Form&, FormatToken& token) {
        if (!Take('{')) return false;
        if (blanksInside) SkipBlanks();
        const std::size_t start = pos_;
        while (IsNameChar(Peek())) ++pos_;
        if (pos_ == start) return false;
        token.enumName.assign(text_.substr(start, pos_ - start));
        token.booleanEnum = EqualNoCase(token.enumName, "VARIANT_BOOL");
        if (blanksInside) SkipBlanks();
        return Take('}');
    }
    constexpr bool MatchSuppress(const Form&, FormatToken& token) {
        if (Take('*')) {
            token.suppress = true;
            SkipBlanks();
        }
        return true;
    }
    constexpr bool MatchNumericFlags(const Form&, FormatToken& token) {
        for (char c = Peek(); c == '-' || c == '+' || c == '0' || c == ' ' || c == '\t'; c = Peek()) {
            if (c != '\t') token.flags.push_back(c);
            token.leftAlign |= c == '-';
            token.zeroPad |= c == '0';
            ++pos_;
        }
        return true;
    }
    constexpr bool MatchDash(const Form&, FormatToken& token) {
        token.leftAlign |= Take('-');
        return true;
    }
    constexpr bool MatchNumberForm(const Form&, FormatToken& token) {
        if (!Take('@')) return true;
        const char form = Peek();
        if (!Contains("123HQB", form)) return false;
        token.numberForm = form;
        ++pos_;
        SkipBlanks();
        return true;
    }
    constexpr bool MatchOutputWidth(const Form&, FormatToken& token) {
        const std::size_t start = pos_;
        int value = 0;
        const bool digits = Digits(value);
        const bool onlyZeros = text_.find_first_not_of('0', start) >= pos_;
        if (Peek() == '*' && (!digits || onlyZeros)) {
            ++pos_;
            token.width.source = AmountSource::Star;
            token.zeroPad |= digits;
        } else if (digits) {
            token.width = {AmountSource::Given, value};
        }
        return true;
    }
    constexpr bool MatchInputWidth(const Form&, FormatToken& token) { return AmountOf(token.width, '#', AmountSource::Pointer); }
    constexpr bool MatchPrecision(const Form&, FormatToken& token) {
        if (!Take('.')) return true;
        if (Digits(token.precision.value)) {
            token.precision.source = AmountSource::Given;
            return true;
        }
        if (!Take('*')) return false;
        token.precision.source = AmountSource::Star;
        return true;
    }
    // ',' or separators in parentheses: one for output, one or more for input.
    template <bool oneSeparator>
    constexpr bool MatchList(const Form&, FormatToken& token) {
        token.list = true;
        if (Take(',')) {
            token.separators = ",";
            return true;
        }
        if (!Take('(')) return false;
        while (const char separator = SeparatorByte(Peek())) {
            token.separators.push_back(separator);
            ++pos_;
            if (oneSeparator) break;
        }
        return !token.separators.empty() && Take(')');
    }
    constexpr bool MatchOutputCount(const Form&, FormatToken& token) { return AmountOf(token.count, '*', AmountSource::Star); }
    constexpr bool MatchInputCount(const Form&, FormatToken& token) { return AmountOf(token.count, '#', AmountSource::Pointer); }
    constexpr bool MatchByteOrder(const Form&, FormatToken& token) {
        if (!Take('!')) return true;
        if (!Take('o')) return false;
        if (Take('l'))
            token.littleEndian = true;
        else if (!Take('b'))
            return false;
        SkipBlanks();
        return true;
    }
    constexpr bool MatchSafeArray(const Form&, FormatToken& token) {
        if (Peek() == '$' && Peek(1) == 'S') {
            pos_ += 2;
            token.safeArray = true;
            SkipBlanks();
        }
        return true;
    }
    constexpr bool MatchStorage(const Form&, FormatToken& token) {
        if (Peek() == '$' && (Peek(1) == 'B' || Peek(1) == 'C')) {
            token.storage = Peek(1) == 'B' ? StringStorage::Wide : StringStorage::Object;
            pos_ += 2;
            SkipBlanks();
        }
        return true;
    }
    constexpr bool MatchQuote(const Form&, FormatToken& token) {
        if (Take('q'))
            token.quote = '\'';
        else if (Take('Q'))
            token.quote = '"';
        return true;
    }
    constexpr bool MatchSize(const Form& form, FormatToken& token) {
        if (Contains(form.sizes, Peek())) token.size = text_[pos_++];
        return true;
    }
    constexpr bool MatchConversion(const Form& form, FormatToken& token) {
        if (!Contains(form.conversions, Peek())) return false;
        token.conversion = text_[pos_++];
        return true;
    }
    constexpr bool MatchCharacterSetPart(const Form&, FormatToken& token) { return MatchCharacterSet(token); }

    using Matcher = bool (SpecifierScanner::*)(const Form&, FormatToken&);
    // Indexed by Part, in the enumeration's order.
    static constexpr Matcher kMatchers[] = {
        &SpecifierScanner::MatchBlanks,             // End
        &SpecifierScanner::MatchBlanks,             // Blanks
        &SpecifierScanner::MatchEnumName<true>,     // OutputEnumName
        &SpecifierScanner::MatchEnumName<false>,    // InputEnumName
        &SpecifierScanner::MatchSuppress,           // Suppress
        &SpecifierScanner::MatchNumericFlags,       // NumericFlags
        &SpecifierScanner::MatchDash,               // Dash
        &SpecifierScanner::MatchNumberForm,         // NumberForm
        &SpecifierScanner::MatchOutputWidth,        // OutputWidth
        &SpecifierScanner::MatchInputWidth,         // InputWidth
        &SpecifierScanner::MatchPrecision,          // Precision
        &SpecifierScanner::MatchList<true>,         // OutputList
        &SpecifierScanner::MatchList<false>,        // InputList
        &SpecifierScanner::MatchOutputCount,        // OutputCount
        &SpecifierScanner::MatchInputCount,         // InputCount
        &SpecifierScanner::MatchByteOrder,          // ByteOrder
        &SpecifierScanner::MatchSafeArray,          // SafeArray
        &SpecifierScanner::MatchStorage,            // Storage
        &SpecifierScanner::MatchQuote,              // Quote
        &SpecifierScanner::MatchSize,               // Size
        &SpecifierScanner::MatchConversion,         // Conversion
        &SpecifierScanner::MatchCharacterSetPart,   // CharacterSet
    };
    static_assert(std::size(kMatchers) == static_cast<std::size_t>(Part::CharacterSet) + 1, "one matcher per part");

    constexpr bool MatchCharacterSet(FormatToken& token) {
        if (!Take('[')) return false;
        const bool negated = Take('^');
        const std::size_t start = pos_;
        while (Peek() != '\0' && Peek() != ']') ++pos_;
        if (pos_ == start || !Take(']')) return false;
        token.conversion = '[';
        // The set itself is only needed to read responses, not to check a format while compiling.
        if (std::is_constant_evaluated()) return true;
        const std::string_view members = text_.substr(start, pos_ - 1 - start);
        for (std::size_t i = 0; i < members.size(); ++i) {
            const auto first = static_cast<unsigned char>(members[i]);
            // "a-z" is a range; a '-' first or last stands for itself.
            if (i + 2 < members.size() && members[i + 1] == '-') {
                const auto last = static_cast<unsigned char>(members[i + 2]);
                for (unsigned c = first; c <= last; ++c) token.characterSet.set(c);
                i += 2;
            } else {
                token.characterSet.set(first);
            }
        }
        if (negated) token.characterSet.flip();
        return true;
    }

    std::string_view text_;
    std::size_t pos_;
};

}  // namespace grammar

// Splits format into tokens, trying the forms of the direction's grammar in order at each
// position. False when some text matches no form; tokens is then unspecified. Output tokens do
// not have their printf conversion yet (TokenizeFormat adds it).
constexpr bool ScanFormat(std::string_view format, FormatDirection direction, FormatTokens& tokens) {
    using grammar::Form;
    tokens.clear();
    const auto forms = direction == FormatDirection::Output ? std::span<const Form>(grammar::kOutputForms)
                                                            : std::span<const Form>(grammar::kInputForms);
    std::size_t pos = 0;
    while (pos < format.size()) {
        FormatToken token;
        if (format[pos] != '%') {
            std::size_t end = format.find('%', pos);
            if (end == std::string_view::npos) end = format.size();
            token.literal.assign(format.substr(pos, end - pos));
            pos = end;
        } else if (pos + 1 < format.size() && format[pos + 1] == '%') {
            token.literal = "%";
            pos += 2;
        } else {
            bool matched = false;
            for (const Form& form : forms) {
                FormatToken candidate;
                grammar::SpecifierScanner scanner(format, pos + 1);
                if (scanner.Match(form, candidate)) {
                    token = std::move(candidate);
                    pos = scanner.pos();
                    matched = true;
                    break;
                }
            }
            if (!matched) return false;
        }
        tokens.push_back(std::move(token));
    }
    return true;
}

}  // namespace zpv::io
