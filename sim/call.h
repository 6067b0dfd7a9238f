// One program unit being served: the row it reached, its parameters, its answer and its error.
#pragma once

#include <optional>
#include <string>

#include "instrument_state.h"
#include "zpv4870sim/command_table.h"
#include "zpv4870sim/scpi_parser.h"

namespace zpv::sim {

struct Call {
    InstrumentState& state;
    const CommandRow& row;
    const ProgramUnit& unit;
    std::string response;
    int error = 0;

    bool IsQuery() const { return unit.query; }
    const Parameter& Param(size_t index) const { return unit.params[index]; }
    void Answer(std::string text) { response = std::move(text); }
    // Queues the error (once per unit) and sets its event status bit.
    void Fail(int code);

    // Typed parameters; each reports an illegal parameter value and returns nothing when refused.
    std::optional<long long> IntegerParam(size_t index, long long min, long long max);
    std::optional<double> RealParam(size_t index, double min, double max);
    std::optional<bool> SwitchParam(size_t index);  // ON, OFF, 1, 0
};

}  // namespace zpv::sim
