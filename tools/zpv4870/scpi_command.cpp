// scpi: commands as typed, to the instrument; the answers of queries printed. What the instrument
// refuses fails the command with its own words (its error queue is read after every command).
#include <cstdio>
#include <string>
#include <vector>

#include "ZPV4870.h"

#include "commands.h"
#include "output.h"

namespace zpv::cli {

namespace {

// A query asks for an answer: a '?' in its header (before any parameter).
bool IsQuery(const std::string& command) {
    const std::size_t space = command.find(' ');
    return command.substr(0, space).find('?') != std::string::npos;
}

// The whole answer, however many reads it takes (the response limit of the session bounds it).
std::string ReadAnswer(const CSession& session, const std::string& command) {
    std::string answer;
    for (;;) {
        ViByte piece[65536];
        ViInt32 count = 0;
        const ViStatus status =
            session.Check(ZPV4870_viRead(session.Handle(), piece, sizeof piece, &count), "reading the answer to " + command);
        answer.append(reinterpret_cast<const char*>(piece), static_cast<std::size_t>(count));
        if (status == VI_SUCCESS || count == 0) break;  // a warning: the answer goes on
    }
    while (!answer.empty() && (answer.back() == '\n' || answer.back() == '\r')) answer.pop_back();
    return answer;
}

// The instrument's error queue, emptied: "code, message" each.
std::vector<std::string> Refusals(const CSession& session) {
    std::vector<std::string> refusals;
    for (int i = 0; i < 32; ++i) {
        ViInt32 code = 0;
        ViChar message[256] = "";
        session.Check(ZPV4870_error_query(session.Handle(), &code, message), "reading the error queue");
        if (code == 0) break;
        refusals.push_back(std::to_string(code) + ", " + message);
    }
    return refusals;
}

}  // namespace

int Scpi(const Common& common, const std::vector<std::string>& commands) {
    // The tool reads the error queue itself, after each command, so nothing it says is lost.
    SessionOptions options = common.session;
    options.statusCheck = false;
    CSession session(options);
    std::vector<std::string> json;
    for (const std::string& command : commands) {
        const std::string line = command + "\n";
        ViInt32 written = 0;
        session.Check(ZPV4870_viWrite(session.Handle(), reinterpret_cast<const ViByte*>(line.data()),
                                      static_cast<ViInt32>(line.size()), &written),
                      "sending " + command);
        const std::string answer = IsQuery(command) ? ReadAnswer(session, command) : std::string();
        const std::vector<std::string> refusals = Refusals(session);
        if (!refusals.empty()) {
            std::string words;
            for (const std::string& refusal : refusals) words += (words.empty() ? "" : "; ") + refusal;
            throw Failure(command + " failed: the instrument refused it: " + words);
        }
        if (common.json) {
            json.push_back(JsonObject({{"command", JsonString(command)},
                                       {"answer", IsQuery(command) ? JsonString(answer) : "null"}}));
        } else if (IsQuery(command)) {
            std::printf("%s\n", answer.c_str());
        }
    }
    if (common.json) std::printf("%s\n", JsonArray(json).c_str());
    return 0;
}

}  // namespace zpv::cli
