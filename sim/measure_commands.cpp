#include <chrono>

#include "handlers.h"
#include "output_model.h"

namespace zpv::sim {

namespace {

const Quantities* SelectedResult(const InstrumentState& state) {
    const size_t number = static_cast<size_t>(state.global.Number("RES:SEQ"));
    return number >= 1 && number <= state.results.size() ? &state.results[number - 1] : nullptr;
}

}  // namespace

void ClearProtection(Call& call) { call.state.overCurrent = false; }

void ProtectionState(Call& call) { call.Answer(call.state.overCurrent ? "OC" : "NONE"); }

void MeasureAll(Call& call) { call.Answer(FormatQuantities(LiveQuantities(call.state))); }

void MeasureQuantity(Call& call) { call.Answer(FormatQuantity(LiveQuantities(call.state)[call.row.arg])); }

void MeasureState(Call& call) { call.Answer(OutputOn(call.state) ? "RUN" : "STOP"); }

void MeasureDwellTime(Call& call) {
    using Seconds = std::chrono::duration<double>;
    const double seconds =
        OutputOn(call.state) ? Seconds(std::chrono::steady_clock::now() - call.state.outputOnSince).count() : 0;
    call.Answer(FormatQuantity(seconds));
}

void MeasureRunCount(Call& call) { call.Answer(std::to_string(call.state.listRuns)); }

// While a played list program holds the output, the meter shows its last sequence.
void MeasureSequence(Call& call) {
    const bool listRunning = OutputOn(call.state) && call.state.global.Get("OUTP:MODE") == "LIST";
    call.Answer(std::to_string(listRunning ? call.state.results.size() : 0));
}

// A sequence without a logged result reads as zeros.
void ResultAll(Call& call) {
    const Quantities* result = SelectedResult(call.state);
    call.Answer(FormatQuantities(result ? *result : Quantities{}));
}

void ResultQuantity(Call& call) {
    const Quantities* result = SelectedResult(call.state);
    call.Answer(FormatQuantity(result ? (*result)[call.row.arg] : 0));
}

void ResultTotal(Call& call) { call.Answer(std::to_string(call.state.results.size())); }

}  // namespace zpv::sim
