// Tokenized formats, kept for the life of the process: the command set passes the same format
// literals over and over, so each is tokenized once and then only looked up.
#pragma once

#include "io/format_grammar.h"

namespace zpv::io {

// The tokens of format, or null when it does not tokenize. Thread-safe; the result stays valid
// for the life of the process.
const FormatTokens* CachedFormatTokens(const char* format, FormatDirection direction);

}  // namespace zpv::io
