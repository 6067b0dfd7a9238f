#include "measurement.h"

#include <cmath>
#include <cstdio>

#include "text.h"

namespace zpv::sim {

namespace {

struct WaveformShape {
    std::string_view name;
    double crestFactor;  // peak over RMS
};

constexpr WaveformShape kWaveforms[] = {
    {"SINE", 1.4142135623730951},
    {"TRIANGLE", 1.7320508075688772},
    {"SQUARE", 1.0},
    {"CLIPPED", 1.2},
};

double CrestFactorOf(std::string_view waveform) {
    for (const WaveformShape& shape : kWaveforms)
        if (shape.name == waveform) return shape.crestFactor;
    return kWaveforms[0].crestFactor;
}

}  // namespace

Quantities Measure(const OutputPoint& point, const Load& load) {
    Quantities q{};
    const double vac = std::fabs(point.voltageAc);
    const double vdc = point.voltageDc;
    q[kVoltageAc] = vac;
    q[kVoltageDc] = vdc;
    q[kVoltage] = std::hypot(vac, vdc);
    if (q[kVoltage] == 0 || load.impedance <= 0) return q;

    // The load is |Z| at power factor pf: its resistive part Z*pf also carries the DC component.
    const double resistance = load.impedance * load.powerFactor;
    q[kCurrentAc] = vac / load.impedance;
    q[kCurrentDc] = resistance > 0 ? vdc / resistance : 0;
    q[kCurrent] = std::hypot(q[kCurrentAc], q[kCurrentDc]);
    q[kFrequency] = vac > 0 ? point.frequency : 0;
    q[kPower] = vac * q[kCurrentAc] * load.powerFactor + vdc * q[kCurrentDc];
    q[kApparentPower] = q[kVoltage] * q[kCurrent];
    q[kPowerFactor] = q[kApparentPower] > 0 ? q[kPower] / q[kApparentPower] : 0;
    // Only the AC part sees the reactance; the rest of S is distortion power from the DC component.
    q[kReactivePower] = vac * q[kCurrentAc] * std::sqrt(1 - load.powerFactor * load.powerFactor);
    q[kCurrentPeak] = std::fabs(q[kCurrentDc]) + q[kCurrentAc] * CrestFactorOf(point.waveform);
    q[kCrestFactor] = q[kCurrent] > 0 ? q[kCurrentPeak] / q[kCurrent] : 0;
    return q;
}

std::string FormatQuantity(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.6g", value == 0 ? 0.0 : value);
    return buffer;
}

std::string FormatQuantities(const Quantities& values) { return Join(values, ',', FormatQuantity); }

}  // namespace zpv::sim
