// Failures of the I/O layer that carry their own text go out as "I/O error: <text>".
#pragma once

#include <string>
#include <string_view>

#include "errors/error_reporter.h"

namespace zpv::io {

// Reports text through reporter's I/O-error path; without a reporter, returns that path's status.
HRESULT ReportIoFailure(errors::IErrorReporter* reporter, std::string_view text);

// A response that does not hold what the format asked for: E_UNEXPECTED, published with a
// description of what was expected and the first bytes that came instead.
HRESULT ReportUnexpectedResponse(errors::IErrorReporter* reporter, std::string_view expected, std::string_view came);

// Bytes as printable text: \n, \r, \t, \\ and \xNN for the others; past limit bytes, "...".
std::string PrintableExcerpt(std::string_view bytes, std::size_t limit = 40);

// printf into a string.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace zpv::io
