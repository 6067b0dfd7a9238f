#include "io/format_grammar.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <span>
#include <strings.h>

namespace zpv::io {

namespace {

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
char SeparatorByte(char letter) {
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

bool IsNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

class SpecifierScanner {
public:
    SpecifierScanner(std::string_view text, std::size_t pos) : text_(text), pos_(pos) {}

    std::size_t pos() const { return pos_; }

    bool Match(const Form& form, FormatToken& token) {
        for (Part part : form.parts) {
            if (part == Part::End) break;
            if (!MatchPart(part, form, token)) return false;
        }
        token.kind = form.kind;
        return true;
    }

private:
    char Peek(std::size_t ahead = 0) const { return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : '\0'; }
    bool Take(char c) {
        if (Peek() != c || c == '\0') return false;
        ++pos_;
        return true;
    }
    void SkipBlanks() {
        while (Peek() == ' ' || Peek() == '\t') ++pos_;
    }
    bool Digits(int& value) {
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
    bool AmountOf(Amount& amount, char argumentMark, AmountSource argumentSource) {
        if (Digits(amount.value)) {
            amount.source = AmountSource::Given;
        } else if (Take(argumentMark)) {
            amount.source = argumentSource;
        }
        return true;
    }

    bool MatchPart(Part part, const Form& form, FormatToken& token) {
        return (this->*kMatchers[static_cast<std::size_t>(part)])(form, token);
    }

    // ----- one matcher per part of a specifier

    bool MatchBlanks(const Form&, FormatToken&) {
        SkipBlanks();
        return true;
    }
    // '{' name '}'; the output form allows blanks inside the braces.
    template <bool blanksInside>
    bool MatchEnumName(const Form&, FormatToken& token) {
        if (!Take('{')) return false;
        if (blanksInside) SkipBlanks();
        const std::size_t start = pos_;
        while (IsNameChar(Peek())) ++pos_;
        if (pos_ == start) return false;
        token.enumName.assign(text_.substr(start, pos_ - start));
        token.booleanEnum = token.enumName.size() == 12 && strncasecmp(token.enumName.c_str(), "VARIANT_BOOL", 12) == 0;
        if (blanksInside) SkipBlanks();
        return Take('}');
    }
    bool MatchSuppress(const Form&, FormatToken& token) {
        if (Take('*')) {
            token.suppress = true;
            SkipBlanks();
        }
        return true;
    }
    bool MatchNumericFlags(const Form&, FormatToken& token) {
        for (char c = Peek(); c == '-' || c == '+' || c == '0' || c == ' ' || c == '\t'; c = Peek()) {
            if (c != '\t') token.flags.push_back(c);
            token.leftAlign |= c == '-';
            token.zeroPad |= c == '0';
            ++pos_;
        }
        return true;
    }
    bool MatchDash(const Form&, FormatToken& token) {
        token.leftAlign |= Take('-');
        return true;
    }
    bool MatchNumberForm(const Form&, FormatToken& token) {
        if (!Take('@')) return true;
        const char form = Peek();
        if (form == '\0' || !std::strchr("123HQB", form)) return false;
        token.numberForm = form;
        ++pos_;
        SkipBlanks();
        return true;
    }
    bool MatchOutputWidth(const Form&, FormatToken& token) {
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
    bool MatchInputWidth(const Form&, FormatToken& token) { return AmountOf(token.width, '#', AmountSource::Pointer); }
    bool MatchPrecision(const Form&, FormatToken& token) {
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
    bool MatchList(const Form&, FormatToken& token) {
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
    bool MatchOutputCount(const Form&, FormatToken& token) { return AmountOf(token.count, '*', AmountSource::Star); }
    bool MatchInputCount(const Form&, FormatToken& token) { return AmountOf(token.count, '#', AmountSource::Pointer); }
    bool MatchByteOrder(const Form&, FormatToken& token) {
        if (!Take('!')) return true;
        if (!Take('o')) return false;
        if (Take('l'))
            token.littleEndian = true;
        else if (!Take('b'))
            return false;
        SkipBlanks();
        return true;
    }
    bool MatchSafeArray(const Form&, FormatToken& token) {
        if (Peek() == '$' && Peek(1) == 'S') {
            pos_ += 2;
            token.safeArray = true;
            SkipBlanks();
        }
        return true;
    }
    bool MatchStorage(const Form&, FormatToken& token) {
        if (Peek() == '$' && (Peek(1) == 'B' || Peek(1) == 'C')) {
            token.storage = Peek(1) == 'B' ? StringStorage::Wide : StringStorage::Object;
            pos_ += 2;
            SkipBlanks();
        }
        return true;
    }
    bool MatchQuote(const Form&, FormatToken& token) {
        if (Take('q'))
            token.quote = '\'';
        else if (Take('Q'))
            token.quote = '"';
        return true;
    }
    bool MatchSize(const Form& form, FormatToken& token) {
        if (Peek() != '\0' && std::strchr(form.sizes, Peek())) token.size = text_[pos_++];
        return true;
    }
    bool MatchConversion(const Form& form, FormatToken& token) {
        if (Peek() == '\0' || !std::strchr(form.conversions, Peek())) return false;
        token.conversion = text_[pos_++];
        return true;
    }
    bool MatchCharacterSetPart(const Form&, FormatToken& token) { return MatchCharacterSet(token); }

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

    bool MatchCharacterSet(FormatToken& token) {
        if (!Take('[')) return false;
        const bool negated = Take('^');
        const std::size_t start = pos_;
        while (Peek() != '\0' && Peek() != ']') ++pos_;
        if (pos_ == start || !Take(']')) return false;
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
        token.conversion = '[';
        return true;
    }

    std::string_view text_;
    std::size_t pos_;
};

bool HasStar(const FormatToken& token) {
    return token.width.source == AmountSource::Star || token.precision.source == AmountSource::Star;
}

int GivenOrNone(const Amount& amount) { return amount.source == AmountSource::Given ? amount.value : -1; }

void PrepareOutputConversion(FormatToken& token) {
    const auto kind = token.output();
    const bool number = kind == O::Integer || kind == O::IntegerList || kind == O::Real || kind == O::RealList;
    const bool customDigits = token.numberForm == 'H' || token.numberForm == 'Q' || token.numberForm == 'B';
    if ((number && !customDigits) || kind == O::Character) {
        if (!HasStar(token))
            token.cFormat =
                PrintfConversion(token, GivenOrNone(token.width), GivenOrNone(token.precision), token.leftAlign);
    }
}

}  // namespace

std::string PrintfConversion(const FormatToken& token, int width, int precision, bool leftAlign) {
    std::string format = "%";
    if (token.output() == O::Character) {
        if (leftAlign) format += '-';
    } else {
        format += token.flags;
        if (leftAlign && token.flags.find('-') == std::string::npos) format += '-';
        if (token.zeroPad && token.flags.find('0') == std::string::npos) format += '0';
    }
    if (width >= 0) format += std::to_string(width);
    if (precision >= 0) format.append(".").append(std::to_string(precision));
    char conversion = token.conversion;
    switch (token.numberForm) {
        case '1':
            format += "ll";
            conversion = 'd';
            break;
        case '2': conversion = 'f'; break;
        case '3': conversion = 'E'; break;
        default:
            // 8- and 32-bit values travel as int; 'I' is the 64-bit size.
            if (token.size == 'h' && token.output() != O::Real && token.output() != O::RealList) format += 'h';
            if (token.size == 'I') format += "ll";
            break;
    }
    format += conversion;
    return format;
}

bool TokenizeFormat(std::string_view format, FormatDirection direction, FormatTokens& tokens) {
    tokens.clear();
    const auto& forms =
        direction == FormatDirection::Output ? std::span<const Form>(kOutputForms) : std::span<const Form>(kInputForms);
    std::size_t pos = 0;
    while (pos < format.size()) {
        FormatToken token;
        if (format[pos] != '%') {
            const std::size_t end = std::min(format.find('%', pos), format.size());
            token.literal.assign(format.substr(pos, end - pos));
            pos = end;
        } else if (pos + 1 < format.size() && format[pos + 1] == '%') {
            token.literal = "%";
            pos += 2;
        } else {
            bool matched = false;
            for (const Form& form : forms) {
                FormatToken candidate;
                SpecifierScanner scanner(format, pos + 1);
                if (scanner.Match(form, candidate)) {
                    token = std::move(candidate);
                    pos = scanner.pos();
                    matched = true;
                    break;
                }
            }
            if (!matched) return false;
            if (direction == FormatDirection::Output) PrepareOutputConversion(token);
        }
        tokens.push_back(std::move(token));
    }
    return true;
}

}  // namespace zpv::io
