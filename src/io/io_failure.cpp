#include "io/io_failure.h"

#include <cstdarg>
#include <cstdio>

namespace zpv::io {

HRESULT ReportIoFailure(errors::IErrorReporter* reporter, std::string_view text) {
    if (reporter) return reporter->Report<errors::MessageId::IoGeneral>({}, text);
    return errors::StatusOfMessage(static_cast<unsigned>(errors::MessageId::IoGeneral)).status;
}

HRESULT ReportUnexpectedResponse(errors::IErrorReporter* reporter, std::string_view expected, std::string_view came) {
    if (!reporter) return E_UNEXPECTED;
    std::string text;
    if (FAILED(reporter->FormatMessageText(errors::MessageId::UnexpectedResponse, {}, text))) return E_UNEXPECTED;
    text += "\r\nExpected ";
    text += expected;
    text += came.empty() ? std::string(", but the response ended.") : ", received \"" + PrintableExcerpt(came) + "\".";
    reporter->ReportErrorText(E_UNEXPECTED, text);
    return E_UNEXPECTED;
}

std::string PrintableExcerpt(std::string_view bytes, std::size_t limit) {
    std::string text;
    for (std::size_t i = 0; i < bytes.size() && i < limit; ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        switch (c) {
            case '\n': text += "\\n"; break;
            case '\r': text += "\\r"; break;
            case '\t': text += "\\t"; break;
            case '\\': text += "\\\\"; break;
            case '"': text += "\\\""; break;
            default:
                if (c >= 0x20 && c < 0x7F) {
                    text.push_back(static_cast<char>(c));
                } else {
                    char hex[5];
                    std::snprintf(hex, sizeof hex, "\\x%02X", c);
                    text += hex;
                }
        }
    }
    if (bytes.size() > limit) text += "...";
    return text;
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
