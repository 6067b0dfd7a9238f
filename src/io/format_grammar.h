// Tokenizing a format for the engines: the scanner of format_scanner.h, plus the ready printf
// conversion of each output token.
#pragma once

#include <string>
#include <string_view>

#include "io/format_scanner.h"

namespace zpv::io {

// Splits format into tokens, trying the forms of the direction's grammar in order at each
// position. False when some text matches no form; tokens is then unspecified.
bool TokenizeFormat(std::string_view format, FormatDirection direction, FormatTokens& tokens);

// The printf conversion that renders an output token through the C library (numbers without an
// IEEE 488.2 form or with @1 @2 @3, and characters), given its width and precision after star
// substitution (-1: none).
std::string PrintfConversion(const FormatToken& token, int width, int precision, bool leftAlign);

}  // namespace zpv::io
