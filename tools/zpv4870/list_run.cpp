#include "list_run.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <numeric>
#include <thread>

#include "attribute_values.h"

namespace zpv::cli {

namespace {

void Write(const CSession& session, const Setting& s) { WriteAttribute(session, {s.attribute, ""}, s.value); }

bool Stopped(const ListRunEvents& events) { return events.stop && events.stop(); }

// Waits out the program's run time, telling the progress; ends early once the instrument says it
// stopped, or when asked to stop (then false).
bool Follow(const CSession& session, const std::vector<double>& seconds, const ListRunEvents& events) {
    const double total = std::accumulate(seconds.begin(), seconds.end(), 0.0);
    const auto started = std::chrono::steady_clock::now();
    for (;;) {
        const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        std::size_t step = 0;
        for (double end = 0; step < seconds.size() && elapsed >= (end += seconds[step]);) ++step;
        if (events.progress) events.progress(std::min(step + 1, seconds.size()), seconds.size(), std::max(0.0, total - elapsed));
        if (elapsed >= total) break;
        if (Stopped(events)) return false;
        const std::string state = session.Text("reading the run state", [&](ViInt32 size, char* buffer) {
            return ZPV4870_State(session.Handle(), size, buffer);
        });
        if (state == "STOP") break;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return !Stopped(events);
}

}  // namespace

std::vector<std::string> SplitReadings(const std::string& text) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const auto comma = text.find(',', start);
        fields.push_back(text.substr(start, comma - start));
        if (comma == std::string::npos) return fields;
        start = comma + 1;
    }
}

ListRunOutcome RunList(const CSession& session, const ListProgram& program, const std::string& programName, bool leaveOn,
                       const ListRunEvents& events) {
    const ViSession vi = session.Handle();
    const auto count = static_cast<ViInt32>(program.sequences.size());
    ListRunOutcome outcome;
    // The results the instrument has (at most the program's), and how many it says it has.
    const auto readResults = [&]() -> ViInt32 {
        ViInt32 total = 0;
        session.Check(ZPV4870_GetAttributeViInt32(vi, nullptr, ZPV4870_ATTR_RESULT_TOTAL_SEQUENCE, &total),
                      "reading the number of results");
        outcome.results.clear();
        for (ViInt32 i = 1; i <= std::min(total, count); ++i) {
            session.Check(ZPV4870_SetAttributeViInt32(vi, nullptr, ZPV4870_ATTR_RESULT_SEQUENCE_INDEX, i),
                          "selecting result " + std::to_string(i));
            const std::string all = session.Text("reading result " + std::to_string(i), [&](ViInt32 size, char* buffer) {
                return ZPV4870_GetAll(vi, size, buffer);
            });
            outcome.results.push_back(SplitReadings(all));
            if (outcome.results.back().size() != ReadingFields().size())
                throw Failure("result " + std::to_string(i) + " has " + std::to_string(outcome.results.back().size()) +
                              " values where " + std::to_string(ReadingFields().size()) + " were expected: \"" + all + "\"");
        }
        return total;
    };

    try {
        for (const Setting& s : program.program) Write(session, s);
        ViInt32 existing = 0;
        session.Check(ZPV4870_GetTotalSequence(vi, &existing), "reading the number of sequences");
        for (ViInt32 index = 1; index <= count && !Stopped(events); ++index) {
            if (index > existing) session.Check(ZPV4870_Add2(vi), "adding sequence " + std::to_string(index));
            session.Check(ZPV4870_Edit2(vi, index), "editing sequence " + std::to_string(index));
            for (const Setting& s : program.sequences[static_cast<std::size_t>(index - 1)]) Write(session, s);
        }
        // Exactly the program's sequences run: what an earlier program left behind them goes, last first.
        for (ViInt32 extra = existing; extra > count && !Stopped(events); --extra)
            session.Check(ZPV4870_Delete2(vi, extra), "deleting sequence " + std::to_string(extra) + " of an earlier program");
        if (Stopped(events)) return outcome;

        // The program starts when the output is switched on: from off, whatever state it was left in.
        session.Check(ZPV4870_SetOutputEnable(vi, ZPV4870_VAL_OUTPUT_OFF), "switching the output off before the run");
        session.Check(ZPV4870_SetOperationMode(vi, ZPV4870_VAL_OPERATION_MODE_LIST), "selecting list mode");
        outcome.started = outcome.outputOn = true;
        session.Check(ZPV4870_SetOutputEnable(vi, ZPV4870_VAL_OUTPUT_ON), "starting the list");
        outcome.completed = Follow(session, program.seconds, events);
        if (outcome.completed || !leaveOn) {
            session.Check(ZPV4870_SetOutputEnable(vi, ZPV4870_VAL_OUTPUT_OFF), "stopping the output");
            outcome.outputOn = false;
        }
        const ViInt32 total = readResults();
        // One result per sequence of the program, or the run did not do what the program says.
        if (outcome.completed && total != count)
            throw Failure("the instrument reports " + std::to_string(total) + " results for the " + std::to_string(count) +
                          " sequences of " + programName + (total == 0 ? ": the program did not run" : ": the run did not complete as written"));
    } catch (const std::exception&) {
        // Whatever failed, a running program's output does not stay on behind the user's back.
        if (outcome.outputOn && !leaveOn) {
            const ViStatus off = ZPV4870_SetOutputEnable(vi, ZPV4870_VAL_OUTPUT_OFF);
            std::fprintf(stderr, "zpv4870: the run failed; the output %s\n",
                         off >= VI_SUCCESS ? "was switched off" : "could NOT be switched off: switch it off by hand");
        }
        throw;
    }
    return outcome;
}

}  // namespace zpv::cli
