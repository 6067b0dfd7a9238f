#include "zpv4870sim/scpi_parser.h"

#include "event_status.h"
#include "text.h"

namespace zpv::sim {

namespace {

bool IsQuote(char c) { return c == '"' || c == '\''; }

// No header of the command tree has more nodes; a longer path names nothing. Relative headers
// that resolve to nothing would otherwise lengthen the path with every unit of a message.
constexpr size_t kDeepestHeader = 8;

// Splits at `separator` outside quotes; an unterminated quote leaves the rest as one piece.
std::vector<std::string_view> SplitOutsideQuotes(std::string_view text, char separator) {
    std::vector<std::string_view> pieces;
    char quote = 0;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quote) {
            if (c == quote) quote = 0;  // a doubled quote closes and reopens: same result
        } else if (IsQuote(c)) {
            quote = c;
        } else if (c == separator) {
            pieces.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    pieces.push_back(text.substr(start));
    return pieces;
}

int ParseParameter(std::string_view text, Parameter& out) {
    text = Trim(text);
    if (text.empty()) return kSyntaxError;
    if (!IsQuote(text.front())) {
        out.text.assign(text);
        return 0;
    }
    const char quote = text.front();
    out.quoted = true;
    for (size_t i = 1; i < text.size(); ++i) {
        if (text[i] != quote) {
            out.text.push_back(text[i]);
        } else if (i + 1 < text.size() && text[i + 1] == quote) {
            out.text.push_back(quote);
            ++i;
        } else {
            return i + 1 == text.size() ? 0 : kInvalidStringData;
        }
    }
    return kInvalidStringData;  // no closing quote
}

}  // namespace

std::vector<ProgramUnit> ScpiParser::Parse(std::string_view message) {
    std::vector<ProgramUnit> units;
    std::vector<std::string> prefix;
    for (std::string_view text : SplitOutsideQuotes(message, ';')) {
        text = Trim(text);
        if (text.empty()) continue;
        ProgramUnit unit;
        size_t headerEnd = 0;
        while (headerEnd < text.size() && !IsBlank(text[headerEnd])) ++headerEnd;
        std::string_view header = text.substr(0, headerEnd);
        const std::string_view rest = Trim(text.substr(headerEnd));

        if (!header.empty() && header.back() == '?') {
            unit.query = true;
            header.remove_suffix(1);
        }
        if (!header.empty() && header.front() == '*') {
            unit.path.emplace_back(header);
        } else {
            if (!header.empty() && header.front() == ':') {
                prefix.clear();
                header.remove_prefix(1);
            }
            unit.path = prefix;
            for (std::string_view node : Split(header, ':')) {
                if (node.empty()) unit.error = kSyntaxError;
                unit.path.emplace_back(node);
            }
            if (unit.path.size() > kDeepestHeader && !unit.error) unit.error = kUndefinedHeader;
            prefix.assign(unit.path.begin(), unit.path.end() - 1);
        }
        if (!rest.empty() && !unit.error) {
            for (std::string_view piece : SplitOutsideQuotes(rest, ',')) {
                Parameter& param = unit.params.emplace_back();
                if (int error = ParseParameter(piece, param)) {
                    unit.error = error;
                    break;
                }
            }
        }
        const bool failed = unit.error != 0;
        units.push_back(std::move(unit));
        if (failed) break;  // a command error discards the rest of the message: nothing more to parse
    }
    return units;
}

}  // namespace zpv::sim
