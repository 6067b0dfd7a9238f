#include "io/io_failure.h"

#include <cstdarg>
#include <cstdio>

namespace zpv::io {

HRESULT ReportIoFailure(errors::IErrorReporter* reporter, std::string_view text) {
    if (reporter) return reporter->Report<errors::MessageId::IoGeneral>({}, text);
    return errors::StatusOfMessage(static_cast<unsigned>(errors::MessageId::IoGeneral)).status;
}

std::string FormatText(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text;
    if (length > 0) {
        text.resize(static_cast<std::size_t>(length));
        std::vsnprintf(text.data(), text.size() + 1, format, again);
    }
    va_end(again);
    return text;
}

}  // namespace zpv::io
