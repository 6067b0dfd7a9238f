// list run: a YAML list program built, run with a progress bar, and its results per sequence.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <numeric>
#include <stdexcept>
#include <thread>

#include "attribute_values.h"
#include "commands.h"
#include "interrupts.h"
#include "list_program.h"
#include "output.h"

namespace zpv::cli {

namespace {

// A reading's position in the instrument's list of all readings.
std::size_t FieldIndex(std::string_view name) {
    const auto& fields = ReadingFields();
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (fields[i].name == name) return i;
    throw std::logic_error("the catalog has no reading " + std::string(name));
}

std::vector<std::string> Split(const std::string& text) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const auto comma = text.find(',', start);
        fields.push_back(text.substr(start, comma - start));
        if (comma == std::string::npos) return fields;
        start = comma + 1;
    }
}

void Write(const CSession& session, const Setting& s) { WriteAttribute(session, {s.attribute, ""}, s.value); }

// Waits out the program's run time, drawing progress on a terminal; ends early once the
// instrument says it stopped, or on an interrupt (then false).
bool Follow(const CSession& session, const std::vector<double>& seconds, bool terminal) {
    const double total = std::accumulate(seconds.begin(), seconds.end(), 0.0);
    const auto started = std::chrono::steady_clock::now();
    for (;;) {
        const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        std::size_t step = 0;
        for (double end = 0; step < seconds.size() && elapsed >= (end += seconds[step]);) ++step;
        if (terminal) {
            const int filled = total > 0 ? static_cast<int>(30 * std::min(1.0, elapsed / total)) : 30;
            std::fprintf(stderr, "\r[%s%s] step %zu/%zu, %.1f s left ", std::string(filled, '#').c_str(),
                         std::string(30 - filled, ' ').c_str(), std::min(step + 1, seconds.size()), seconds.size(),
                         std::max(0.0, total - elapsed));
        }
        if (elapsed >= total) break;
        if (Interrupted()) {
            if (terminal) std::fprintf(stderr, "\n");
            return false;
        }
        const std::string state = session.Text("reading the run state", [&](ViInt32 size, char* buffer) {
            return ZPV4870_State(session.Handle(), size, buffer);
        });
        if (state == "STOP") break;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    if (terminal) std::fprintf(stderr, "\n");
    return !Interrupted();
}

}  // namespace

int RunListProgram(const Common& common, const std::string& programPath, const std::string& csvPath, bool leaveOn) {
    const ListProgram program = LoadListProgram(programPath);  // every mistake before the first command
    std::ofstream csv;
    if (!csvPath.empty()) {
        csv.open(csvPath);
        if (!csv) throw UsageError("cannot write " + csvPath);
        csv << "sequence";
        for (const ReadingField& field : ReadingFields()) csv << ',' << SnakeCase(field.name);
        csv << std::endl;
    }
    CatchInterrupts();
    CSession session(common.session);
    const ViSession vi = session.Handle();
    const auto count = static_cast<ViInt32>(program.sequences.size());
    // The table shows a few readings, headed by their units.
    const std::string shown[] = {"Voltage", "Current", "Power", "Frequency", "PowerFactor"};
    std::vector<std::vector<std::string>> rows{{"SEQ"}};
    for (const std::string& name : shown) {
        const std::string& unit = ReadingFields()[FieldIndex(name)].unit;
        rows[0].push_back(!unit.empty() ? unit : name == "PowerFactor" ? "PF" : name);
    }
    std::vector<std::string> json;

    // The results the instrument has, each row written to the CSV file as it comes.
    auto readResults = [&]() -> ViInt32 {
        ViInt32 total = 0;
        session.Check(ZPV4870_GetAttributeViInt32(vi, nullptr, ZPV4870_ATTR_RESULT_TOTAL_SEQUENCE, &total),
                      "reading the number of results");
        for (ViInt32 i = 1; i <= std::min(total, count); ++i) {
            session.Check(ZPV4870_SetAttributeViInt32(vi, nullptr, ZPV4870_ATTR_RESULT_SEQUENCE_INDEX, i),
                          "selecting result " + std::to_string(i));
            const std::string all = session.Text("reading result " + std::to_string(i), [&](ViInt32 size, char* buffer) {
                return ZPV4870_GetAll(vi, size, buffer);
            });
            const auto fields = Split(all);
            if (fields.size() != ReadingFields().size())
                throw Failure("result " + std::to_string(i) + " has " + std::to_string(fields.size()) + " values where " +
                              std::to_string(ReadingFields().size()) + " were expected: \"" + all + "\"");
            rows.push_back({std::to_string(i)});
            for (const std::string& name : shown) rows.back().push_back(fields[FieldIndex(name)]);
            std::vector<std::pair<std::string, std::string>> object{{"sequence", std::to_string(i)}};
            for (std::size_t f = 0; f < fields.size(); ++f)
                object.emplace_back(SnakeCase(ReadingFields()[f].name), JsonNumber(std::strtod(fields[f].c_str(), nullptr)));
            json.push_back(JsonObject(object));
            if (csv) csv << i << ',' << all << std::endl;
        }
        return total;
    };
    auto show = [&] {
        if (common.json) std::printf("%s\n", JsonArray(json).c_str());
        else std::fputs(Table(rows).c_str(), stdout);
        std::fflush(stdout);
    };

    bool outputOn = false;
    try {
        for (const Setting& s : program.program) Write(session, s);
        ViInt32 existing = 0;
        session.Check(ZPV4870_GetTotalSequence(vi, &existing), "reading the number of sequences");
        for (ViInt32 index = 1; index <= count && !Interrupted(); ++index) {
            if (index > existing) session.Check(ZPV4870_Add2(vi), "adding sequence " + std::to_string(index));
            session.Check(ZPV4870_Edit2(vi, index), "editing sequence " + std::to_string(index));
            for (const Setting& s : program.sequences[static_cast<std::size_t>(index - 1)]) Write(session, s);
        }
        // Exactly the file's sequences run: what an earlier program left behind them goes, last first.
        for (ViInt32 extra = existing; extra > count && !Interrupted(); --extra)
            session.Check(ZPV4870_Delete2(vi, extra), "deleting sequence " + std::to_string(extra) + " of an earlier program");
        if (Interrupted()) {
            std::fprintf(stderr, "zpv4870: interrupted before the program started; nothing was run\n");
            return kInterruptedStatus;
        }

        // The program starts when the output is switched on: from off, whatever state it was left in.
        session.Check(ZPV4870_SetOutputEnable(vi, ZPV4870_VAL_OUTPUT_OFF), "switching the output off before the run");
        session.Check(ZPV4870_SetOperationMode(vi, ZPV4870_VAL_OPERATION_MODE_LIST), "selecting list mode");
        outputOn = true;
        session.Check(ZPV4870_SetOutputEnable(vi, ZPV4870_VAL_OUTPUT_ON), "starting the list");
        const bool completed = Follow(session, program.seconds, !common.json && isatty(STDERR_FILENO));
        if (completed || !leaveOn) {
            session.Check(ZPV4870_SetOutputEnable(vi, ZPV4870_VAL_OUTPUT_OFF), "stopping the output");
            outputOn = false;
        }
        if (!completed) {
            const ViInt32 finished = readResults();
            show();
            std::fprintf(stderr, "zpv4870: interrupted: %d of %d sequences finished%s; the output was %s\n",
                         static_cast<int>(std::min(finished, count)), static_cast<int>(count),
                         csv ? (" and written to " + csvPath).c_str() : "", outputOn ? "left on (--leave-on)" : "switched off");
            return kInterruptedStatus;
        }
        const ViInt32 total = readResults();
        // One result per sequence of the file, or the run did not do what the file says.
        if (total != count)
            throw Failure("the instrument reports " + std::to_string(total) + " results for the " + std::to_string(count) +
                          " sequences of " + programPath +
                          (total == 0 ? ": the program did not run" : ": the run did not complete as written"));
    } catch (const std::exception&) {
        // Whatever failed, a running program's output does not stay on behind the user's back.
        if (outputOn && !leaveOn) {
            const ViStatus off = ZPV4870_SetOutputEnable(vi, ZPV4870_VAL_OUTPUT_OFF);
            std::fprintf(stderr, "zpv4870: the run failed; the output %s\n",
                         off >= VI_SUCCESS ? "was switched off" : "could NOT be switched off: switch it off by hand");
        }
        throw;
    }
    show();
    return 0;
}

}  // namespace zpv::cli
