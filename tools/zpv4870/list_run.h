// A list program run on the instrument, as `list run` and the front panel both do it: exactly the
// program's sequences built, the output switched on from off to start it, the run followed until
// the instrument stops or its time is up, and the results read, one per sequence.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "c_session.h"
#include "list_program.h"

namespace zpv::cli {

struct ListRunEvents {
    // While it runs: the step under way (from 1), the number of steps and the seconds left.
    std::function<void(std::size_t step, std::size_t steps, double secondsLeft)> progress;
    // Asked while building and running: true ends the run early.
    std::function<bool()> stop;
};

struct ListRunOutcome {
    bool started = false;    // false: stopped before the output went on; nothing ran
    bool completed = false;  // ran to its end
    bool outputOn = false;   // left on (leaveOn and stopped early)
    // Per finished sequence, the instrument's readings in ReadingFields() order.
    std::vector<std::vector<std::string>> results;
};

// Throws Failure when the instrument refuses a step or reports another number of results than
// the program has sequences (programName says which program); a running output is switched off
// first unless leaveOn (stderr says whether that worked).
ListRunOutcome RunList(const CSession& session, const ListProgram& program, const std::string& programName, bool leaveOn,
                       const ListRunEvents& events);

// The readings of the instrument's list of all readings, split at its commas.
std::vector<std::string> SplitReadings(const std::string& text);

}  // namespace zpv::cli
