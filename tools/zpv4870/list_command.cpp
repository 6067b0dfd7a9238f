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
#include "list_run.h"
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
    const std::size_t count = program.sequences.size();
    const bool terminal = !common.json && isatty(STDERR_FILENO);
    ListRunEvents events;
    events.stop = Interrupted;
    events.progress = [terminal](std::size_t step, std::size_t steps, double left) {
        if (!terminal) return;
        const double done = steps ? static_cast<double>(step - 1) / static_cast<double>(steps) : 1.0;
        const int filled = left <= 0 ? 30 : static_cast<int>(30 * done);
        std::fprintf(stderr, "\r[%s%s] step %zu/%zu, %.1f s left ", std::string(filled, '#').c_str(),
                     std::string(30 - filled, ' ').c_str(), step, steps, left);
    };
    const ListRunOutcome outcome = RunList(session, program, programPath, leaveOn, events);
    if (terminal && outcome.started) std::fprintf(stderr, "\n");
    if (!outcome.started) {
        std::fprintf(stderr, "zpv4870: interrupted before the program started; nothing was run\n");
        return kInterruptedStatus;
    }

    // The table shows a few readings, headed by their units; JSON and the CSV file have them all.
    const std::string shown[] = {"Voltage", "Current", "Power", "Frequency", "PowerFactor"};
    std::vector<std::vector<std::string>> rows{{"SEQ"}};
    for (const std::string& name : shown) {
        const std::string& unit = ReadingFields()[FieldIndex(name)].unit;
        rows[0].push_back(!unit.empty() ? unit : name == "PowerFactor" ? "PF" : name);
    }
    std::vector<std::string> json;
    for (std::size_t i = 0; i < outcome.results.size(); ++i) {
        const std::vector<std::string>& fields = outcome.results[i];
        rows.push_back({std::to_string(i + 1)});
        for (const std::string& name : shown) rows.back().push_back(fields[FieldIndex(name)]);
        std::vector<std::pair<std::string, std::string>> object{{"sequence", std::to_string(i + 1)}};
        std::string line = std::to_string(i + 1);
        for (std::size_t f = 0; f < fields.size(); ++f) {
            object.emplace_back(SnakeCase(ReadingFields()[f].name), JsonNumber(std::strtod(fields[f].c_str(), nullptr)));
            line += ',' + fields[f];
        }
        json.push_back(JsonObject(object));
        if (csv) csv << line << std::endl;
    }
    if (common.json) std::printf("%s\n", JsonArray(json).c_str());
    else std::fputs(Table(rows).c_str(), stdout);
    std::fflush(stdout);
    if (!outcome.completed) {
        std::fprintf(stderr, "zpv4870: interrupted: %zu of %zu sequences finished%s; the output was %s\n",
                     std::min(outcome.results.size(), count), count, csv ? (" and written to " + csvPath).c_str() : "",
                     outcome.outputOn ? "left on (--leave-on)" : "switched off");
        return kInterruptedStatus;
    }
    return 0;
}

}  // namespace zpv::cli
