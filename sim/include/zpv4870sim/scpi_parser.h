// Splits one program message (terminator already removed) into its program units.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zpv::sim {

struct Parameter {
    std::string text;     // quotes removed from a string parameter, doubled quotes undone
    bool quoted = false;
};

struct ProgramUnit {
    // Header nodes as typed, after the header-path rule; a common command is one node ("*IDN").
    std::vector<std::string> path;
    bool query = false;
    std::vector<Parameter> params;
    int error = 0;        // non-zero: the unit is malformed (an error queue code)
};

class ScpiParser {
public:
    // Units are separated by ";". A unit without a leading ":" continues the path of the previous
    // one minus its last node ("MAN:CURR:HIGH 5;DEL 0.5" reaches MAN:CURR:DEL); a leading ":"
    // starts from the root; common commands ("*RST") leave the path alone.
    explicit ScpiParser(std::string_view message) : rest_(message) {}

    // The next unit of the message, one at a time, so a long message is never held parsed whole;
    // false at its end. A unit with an error is the last: the rest of the message is discarded.
    bool Next(ProgramUnit* unit);

    // Every unit at once, for callers that want them all.
    static std::vector<ProgramUnit> Parse(std::string_view message);

private:
    std::string_view rest_;
    bool done_ = false;
    std::vector<std::string> prefix_;
};

}  // namespace zpv::sim
