#include "call.h"

#include <cmath>

#include "parameter_type.h"

namespace zpv::sim {

void Call::Fail(int code) {
    if (error) return;
    error = code;
    state.status.Report(code);
}

std::optional<double> Call::RealParam(size_t index, double min, double max) {
    const std::optional<double> value = Param(index).quoted ? std::nullopt : ParseDecimal(Param(index).text);
    if (value && *value >= min && *value <= max) return value;
    Fail(kIllegalParameterValue);
    return std::nullopt;
}

std::optional<long long> Call::IntegerParam(size_t index, long long min, long long max) {
    const auto value = RealParam(index, static_cast<double>(min), static_cast<double>(max));
    if (!value) return std::nullopt;
    if (*value == std::trunc(*value)) return static_cast<long long>(*value);
    Fail(kIllegalParameterValue);
    return std::nullopt;
}

std::optional<bool> Call::SwitchParam(size_t index) {
    const auto word = Param(index).quoted ? std::nullopt : Canonical(kOnOff, Param(index).text);
    if (word) return *word == "ON";
    Fail(kIllegalParameterValue);
    return std::nullopt;
}

}  // namespace zpv::sim
