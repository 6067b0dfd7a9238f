// Helpers shared by the simulator's test suites.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "zpv4870sim/instrument.h"

namespace zpv::sim::testing {

// The response of one message, or "<none>" when nothing answered.
inline std::string Ask(Instrument& instrument, std::string_view message) {
    return instrument.Execute(message).value_or("<none>");
}

// Every queued error, oldest first, leaving the queue empty.
inline std::vector<std::string> DrainErrors(Instrument& instrument) {
    std::vector<std::string> errors;
    for (std::string e; (e = Ask(instrument, "SYST:ERR?")) != "+0,\"No error\"";) errors.push_back(e);
    return errors;
}

inline std::vector<double> Numbers(std::string_view csv) {
    std::vector<double> values;
    size_t start = 0;
    for (;;) {
        const size_t comma = csv.find(',', start);
        values.push_back(std::stod(std::string(csv.substr(start, comma - start))));
        if (comma == std::string_view::npos) return values;
        start = comma + 1;
    }
}

}  // namespace zpv::sim::testing
