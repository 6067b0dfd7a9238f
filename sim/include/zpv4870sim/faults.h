// Faults the simulator can inject into its answers, set by command-line flags, by the in-process API
// or by the simulator-only "SIM:" commands.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>

namespace zpv::sim {

struct Faults {
    // Every answer waits this long before it is sent.
    std::chrono::milliseconds answerDelay{0};
    // >= 0: a connection answers this many messages and is closed, unanswered, when the next one
    // arrives. Counting starts when the connection opens or the fault is armed, whichever is later.
    int dropAfter = -1;
    // Answers are replaced by bytes that parse as nothing the driver expects.
    bool garbage = false;
    // > 0: answers shorter than this are padded with blanks to this many bytes before the terminator.
    std::size_t oversize = 0;
    // Queries are executed but never answered.
    bool mute = false;
    // Kept by the instrument: bumped whenever dropAfter is set, so connections restart their count.
    std::uint64_t dropEpoch = 0;
};

}  // namespace zpv::sim
