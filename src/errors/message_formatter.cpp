#include "errors/message_formatter.h"

#include <cstdio>

#include "resources/message_table.h"

namespace zpv::errors {

namespace {

bool IsWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && IsWhiteSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsWhiteSpace(s.back())) s.remove_suffix(1);
    return s;
}

std::string HexId(unsigned id) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%02X", id);
    return buf;
}

}  // namespace

bool FormatMessageString(unsigned id, std::string_view text, InsertList inserts, std::string& out,
                         std::string& failureReason) {
    std::string result;
    result.reserve(text.size() + 64);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (c != '%' || next == '\0') {
            result += c;
        } else if (next == '%') {
            result += '%';
            ++i;
        } else if (next >= '1' && next <= '9') {
            const std::size_t n = static_cast<std::size_t>(next - '0');
            if (n > inserts.size()) {
                failureReason = "Insert %" + std::string(1, next) + " of message " + HexId(id) + " was not supplied.";
                return false;
            }
            result += inserts[n - 1];
            ++i;
        } else {
            result += c;  // any other character after % is ordinary text
        }
    }
    out = Trimmed(result);
    return true;
}

bool FormatFromTable(unsigned id, InsertList inserts, std::string& out, std::string& failureReason) {
    const resources::MessageRow* row = resources::FindMessage(id);
    if (!row) {
        failureReason = "The system cannot find message text for message number " + HexId(id) + " in the message file.";
        return false;
    }
    // The rows leave out the resource's closing CR LF; trimming would drop it anyway.
    return FormatMessageString(id, row->text, inserts, out, failureReason);
}

}  // namespace zpv::errors
