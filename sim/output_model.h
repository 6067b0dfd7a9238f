// How the output behaves: what the meter reads, what a list run logs, when protection trips.
#pragma once

#include "instrument_state.h"

namespace zpv::sim {

bool OutputOn(const InstrumentState& state);
// The live meter reading: the running output values (subsystem OUTP) shaped by the manual-mode
// coupling and waveform; zeros while the output is off.
Quantities LiveQuantities(const InstrumentState& state);
// Plays the loaded list program at once: one result per sequence, from the sequence's end values.
void PlayListProgram(InstrumentState& state);
// An output drawing more than its current high limit trips: it switches off and latches an
// over-current until the protections are cleared.
void CheckProtection(InstrumentState& state);

}  // namespace zpv::sim
