// The simulated instrument: its state and the execution of program messages, independent of any
// transport. Thread-safe: one lock around the whole instrument, so clients share one state.
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "zpv4870sim/answer_limits.h"
#include "zpv4870sim/faults.h"
#include "zpv4870sim/load.h"
#include "zpv4870sim/models.h"

namespace zpv::sim {

struct InstrumentState;

struct InstrumentOptions {
    std::string model{kDefaultModel};
    std::string serial = "SIM000001";
    std::string firmware = "1.00";
    Faults faults;
    Load load;
    AnswerLimits limits;
    // Told each connection that opens or closes and each message a client sends ("open",
    // "< MEAS:VOLT?", "closed"); empty: nothing is told.
    std::function<void(std::string_view event)> log;
};

class Instrument {
public:
    // Throws std::invalid_argument when the model is not one of the twelve.
    explicit Instrument(InstrumentOptions options = {});
    ~Instrument();
    Instrument(const Instrument&) = delete;
    Instrument& operator=(const Instrument&) = delete;

    // Runs one program message (without its terminator). Returns the response message, the answers
    // of its queries joined by ";", or nothing when no query answered.
    std::optional<std::string> Execute(std::string_view message);

    // Reserves room for an answer of `bytes` that a connection is about to hold until it is sent;
    // released when the token goes. Null, with error -225 queued, when the limits are reached.
    std::shared_ptr<void> HoldAnswer(std::size_t bytes);
    // Hands an event to the options' log, one at a time.
    void Log(std::string_view event);
    // Queues an error in the instrument's error queue, as a fault of the message exchange would.
    void ReportError(int code);

    std::string Model() const;
    Faults GetFaults() const;
    void SetFaults(const Faults& faults);  // also restarts the drop count of every connection
    Load GetLoad() const;
    void SetLoad(const Load& load);

private:
    mutable std::mutex mutex_;
    std::mutex logMutex_;
    std::function<void(std::string_view)> log_;
    std::shared_ptr<std::atomic<std::size_t>> heldBytes_;
    std::unique_ptr<InstrumentState> state_;
};

}  // namespace zpv::sim
