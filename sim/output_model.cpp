#include "output_model.h"

namespace zpv::sim {

bool OutputOn(const InstrumentState& state) { return state.global.Get("OUTP") == "ON"; }

Quantities LiveQuantities(const InstrumentState& state) {
    if (!OutputOn(state)) return {};
    const SettingValues& manual = state.Files(Mode::Manual).Edited().settings;
    const std::string& coupling = manual.Get("MAN:COUP");
    OutputPoint point;
    point.voltageAc = coupling == "DC" ? 0 : state.global.Number("OUTP:VOLT:AC");
    point.voltageDc = coupling == "AC" ? 0 : state.global.Number("OUTP:VOLT:DC");
    point.frequency = state.global.Number("OUTP:FREQ");
    point.waveform = manual.Get("MAN:WAVE");
    return Measure(point, state.load);
}

void PlayListProgram(InstrumentState& state) {
    const bool advanced = state.identity.family == Family::Advanced;
    state.results.clear();
    for (const SettingValues& sequence : state.Files(Mode::List).Loaded().sequences.All()) {
        // Standard models have one voltage and frequency per sequence, Advanced ones ramps and a DC part.
        OutputPoint point;
        point.voltageAc = sequence.Number(advanced ? "LIST:SEQ:VOLT:AC:END" : "LIST:SEQ:VOLT:AC");
        point.voltageDc = advanced ? sequence.Number("LIST:SEQ:VOLT:DC:END") : 0;
        point.frequency = sequence.Number(advanced ? "LIST:SEQ:FREQ:END" : "LIST:SEQ:FREQ");
        point.waveform = advanced ? std::string_view(sequence.Get("LIST:SEQ:WAVE")) : "SINE";
        state.results.push_back(Measure(point, state.load));
    }
    ++state.listRuns;
}

void CheckProtection(InstrumentState& state) {
    if (!OutputOn(state)) return;
    const double limit = state.global.Number("OUTP:CURR:HIGH");
    if (limit <= 0 || LiveQuantities(state)[kCurrent] <= limit) return;
    state.overCurrent = true;
    state.global.Set(*CommandTable::Instance().Find("OUTP"), "OFF");
}

}  // namespace zpv::sim
