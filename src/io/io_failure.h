// Failures of the I/O layer that carry their own text go out as "I/O error: <text>".
#pragma once

#include <string>
#include <string_view>

#include "errors/error_reporter.h"

namespace zpv::io {

// Reports text through reporter's I/O-error path; without a reporter, returns that path's status.
HRESULT ReportIoFailure(errors::IErrorReporter* reporter, std::string_view text);

// printf into a string.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace zpv::io
