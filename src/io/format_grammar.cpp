#include "io/format_grammar.h"

#include <string>

namespace zpv::io {

namespace {

using O = OutputKind;

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
    if (!ScanFormat(format, direction, tokens)) return false;
    if (direction == FormatDirection::Output)
        for (FormatToken& token : tokens)
            if (token.literal.empty() && token.kind != 0) PrepareOutputConversion(token);
    return true;
}

}  // namespace zpv::io
