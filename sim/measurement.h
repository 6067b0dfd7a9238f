// What the meter reads for an output point driving the simulated load.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "zpv4870sim/load.h"

namespace zpv::sim {

// In the order of the combined "ALL?" answers.
enum Quantity : int {
    kVoltageAc,
    kVoltageDc,
    kVoltage,
    kCurrentAc,
    kCurrentDc,
    kCurrent,
    kFrequency,
    kPower,
    kPowerFactor,
    kCurrentPeak,
    kReactivePower,
    kCrestFactor,
    kApparentPower,
    kQuantityCount
};

using Quantities = std::array<double, kQuantityCount>;

struct OutputPoint {
    double voltageAc = 0;
    double voltageDc = 0;
    double frequency = 0;
    std::string_view waveform = "SINE";
};

// All zeros for a point with no voltage.
Quantities Measure(const OutputPoint& point, const Load& load);

// Six significant digits, as the meter shows them.
std::string FormatQuantity(double value);
// The thirteen values, comma-separated without blanks.
std::string FormatQuantities(const Quantities& values);

}  // namespace zpv::sim
