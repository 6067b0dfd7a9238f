// scpi: commands as typed, to the instrument; the answers of queries printed. What the instrument
// refuses fails the command with its own words (its error queue is read after every command).
// scpi -i: the same at a prompt with line editing and history, which goes on after a refusal.
#include <editline/readline.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "ZPV4870.h"

#include "commands.h"
#include "interrupts.h"
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

// One command sent as typed: the answer of a query ("" for a command), and what the instrument
// refused of it, in its own words ("" when nothing).
struct Exchanged {
    std::string answer;
    std::string refused;
};

Exchanged Exchange(const CSession& session, const std::string& command) {
    const std::string line = command + "\n";
    ViInt32 written = 0;
    session.Check(ZPV4870_viWrite(session.Handle(), reinterpret_cast<const ViByte*>(line.data()),
                                  static_cast<ViInt32>(line.size()), &written),
                  "sending " + command);
    Exchanged done;
    if (IsQuery(command)) done.answer = ReadAnswer(session, command);
    for (const auto& [code, message] : session.ErrorQueue(32))
        done.refused += (done.refused.empty() ? "" : "; ") + std::to_string(code) + ", " + message;
    return done;
}

// Where the prompt keeps its history: $XDG_STATE_HOME/zpv4870, else ~/.local/state/zpv4870.
std::string HistoryPath() {
    namespace fs = std::filesystem;
    fs::path directory;
    if (const char* state = std::getenv("XDG_STATE_HOME"); state && *state) directory = state;
    else if (const char* home = std::getenv("HOME"); home && *home) directory = fs::path(home) / ".local" / "state";
    else return {};
    directory /= "zpv4870";
    std::error_code ignored;
    fs::create_directories(directory, ignored);
    return (directory / "scpi_history").string();
}

constexpr int kHistoryLines = 1000;

// A line from the terminal through the line editor, or from a pipe as it is; nothing at the end.
std::optional<std::string> NextLine(bool terminal, const std::string& prompt) {
    if (!terminal) {
        std::string line;
        if (!std::getline(std::cin, line)) return std::nullopt;
        return line;
    }
    char* typed = readline(prompt.c_str());
    if (!typed) return std::nullopt;
    std::string line(typed);
    std::free(typed);
    return line;
}

}  // namespace

int Scpi(const Common& common, const std::vector<std::string>& commands) {
    // The tool reads the error queue itself, after each command, so nothing it says is lost.
    SessionOptions options = common.session;
    options.statusCheck = false;
    CSession session(options);
    std::vector<std::string> json;
    for (const std::string& command : commands) {
        const Exchanged done = Exchange(session, command);
        if (!done.refused.empty()) throw Failure(command + " failed: the instrument refused it: " + done.refused);
        if (common.json) {
            json.push_back(JsonObject({{"command", JsonString(command)},
                                       {"answer", IsQuery(command) ? JsonString(done.answer) : "null"}}));
        } else if (IsQuery(command)) {
            std::printf("%s\n", done.answer.c_str());
        }
    }
    if (common.json) std::printf("%s\n", JsonArray(json).c_str());
    return 0;
}

int ScpiPrompt(const Common& common) {
    SessionOptions options = common.session;
    options.statusCheck = false;
    CSession session(options);
    const bool terminal = isatty(STDIN_FILENO);
    const std::string history = terminal ? HistoryPath() : std::string();
    if (terminal) {
        using_history();
        stifle_history(kHistoryLines);
        if (!history.empty()) read_history(history.c_str());
        std::printf("Connected to %s. Commands and queries as the instrument takes them; Ctrl-D or \"exit\" "
                    "leaves, Ctrl-C forgets the line.\n", options.resource.c_str());
    }
    CatchInterrupts();
    const std::string prompt = options.resource + "> ";
    int failures = 0;
    for (;;) {
        std::optional<std::string> line = NextLine(terminal, prompt);
        if (InterruptSignal() == SIGINT) {  // at the prompt or mid-exchange: the line is done with
            ClearInterrupt();
            if (terminal) std::printf("\n");
            continue;
        }
        if (Interrupted()) break;  // SIGTERM, SIGHUP: nobody is there to see the output any more
        if (!line) break;
        const std::size_t first = line->find_first_not_of(" \t\r");
        if (first == std::string::npos) continue;
        const std::string command = line->substr(first, line->find_last_not_of(" \t\r") + 1 - first);
        if (command == "exit" || command == "quit") break;
        if (terminal) {
            add_history(command.c_str());
            if (!history.empty()) write_history(history.c_str());
        }
        try {
            const Exchanged done = Exchange(session, command);
            if (IsQuery(command)) std::printf("%s\n", done.answer.c_str());
            if (!done.refused.empty()) {
                std::printf("refused: %s\n", done.refused.c_str());
                ++failures;
            }
        } catch (const Failure& failure) {  // the prompt stays: the next command may well work
            std::printf("failed: %s\n", failure.what());
            ++failures;
        }
        std::fflush(stdout);
    }
    if (Interrupted()) {
        // Killed or hung up: a source left on with nobody at the prompt is switched off.
        const ViStatus off = ZPV4870_SetOutputEnable(session.Handle(), ZPV4870_VAL_OUTPUT_OFF);
        std::fprintf(stderr, "zpv4870: interrupted; the output %s\n",
                     off >= VI_SUCCESS ? "was switched off" : "could NOT be switched off: switch it off by hand");
        return kInterruptedStatus;
    }
    ViInt32 state = ZPV4870_VAL_OUTPUT_OFF;
    if (terminal && ZPV4870_GetOutputEnable(session.Handle(), &state) >= VI_SUCCESS && state != ZPV4870_VAL_OUTPUT_OFF)
        std::printf("Note: the output is still ON.\n");
    // Without a terminal the prompt is a script: a refusal or failure in it is the exit status.
    return terminal || failures == 0 ? 0 : 1;
}

}  // namespace zpv::cli
