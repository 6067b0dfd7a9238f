#include "zpv4870sim/scpi_parser.h"

#include "event_status.h"
#include "text.h"

namespace zpv::sim {

namespace {

bool IsQuote(char c) { return c == '"' || c == '\''; }

// No header of the command tree has more nodes; a longer path names nothing. Relative headers
// that resolve to nothing would otherwise lengthen the path with every unit of a message.
constexpr size_t kDeepestHeader = 8;

// The position of the first `separator` outside quotes, or npos; an unterminated quote runs to
// the end.
size_t FindOutsideQuotes(std::string_view text, char separator) {
    char quote = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quote) {
            if (c == quote) quote = 0;  // a doubled quote closes and reopens: same result
        } else if (IsQuote(c)) {
            quote = c;
        } else if (c == separator) {
            return i;
        }
    }
    return std::string_view::npos;
}

// Splits at `separator` outside quotes.
std::vector<std::string_view> SplitOutsideQuotes(std::string_view text, char separator) {
    std::vector<std::string_view> pieces;
    for (size_t at; (at = FindOutsideQuotes(text, separator)) != std::string_view::npos; text.remove_prefix(at + 1))
        pieces.push_back(text.substr(0, at));
    pieces.push_back(text);
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

bool ScpiParser::Next(ProgramUnit* unit) {
    while (!done_) {
        const size_t end = FindOutsideQuotes(rest_, ';');
        std::string_view text = Trim(rest_.substr(0, end));
        if (end == std::string_view::npos) {
            done_ = true;
        } else {
            rest_.remove_prefix(end + 1);
        }
        if (text.empty()) continue;

        // The unit's vectors keep their room from one unit to the next.
        unit->path.clear();
        unit->params.clear();
        unit->query = false;
        unit->error = 0;
        size_t headerEnd = 0;
        while (headerEnd < text.size() && !IsBlank(text[headerEnd])) ++headerEnd;
        std::string_view header = text.substr(0, headerEnd);
        const std::string_view rest = Trim(text.substr(headerEnd));

        if (!header.empty() && header.back() == '?') {
            unit->query = true;
            header.remove_suffix(1);
        }
        if (!header.empty() && header.front() == '*') {
            unit->path.emplace_back(header);
        } else {
            if (!header.empty() && header.front() == ':') {
                prefix_.clear();
                header.remove_prefix(1);
            }
            unit->path.assign(prefix_.begin(), prefix_.end());
            for (std::string_view node : Split(header, ':')) {
                if (node.empty()) unit->error = kSyntaxError;
                unit->path.emplace_back(node);
            }
            if (unit->path.size() > kDeepestHeader && !unit->error) unit->error = kUndefinedHeader;
            prefix_.assign(unit->path.begin(), unit->path.end() - 1);
        }
        if (!rest.empty() && !unit->error) {
            for (std::string_view piece : SplitOutsideQuotes(rest, ',')) {
                Parameter& param = unit->params.emplace_back();
                if (int error = ParseParameter(piece, param)) {
                    unit->error = error;
                    break;
                }
            }
        }
        // A command error discards the rest of the message: nothing more to parse.
        if (unit->error) done_ = true;
        return true;
    }
    return false;
}

std::vector<ProgramUnit> ScpiParser::Parse(std::string_view message) {
    std::vector<ProgramUnit> units;
    ScpiParser parser(message);
    for (ProgramUnit unit; parser.Next(&unit);) units.push_back(unit);
    return units;
}

}  // namespace zpv::sim
