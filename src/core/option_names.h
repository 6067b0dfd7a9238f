// The names the option string knows (any letter case): the six operation flags in their order and
// the DriverSetup marker. Every other name is accepted and has no effect, so tools that build an
// option string from what a user typed warn about the others.
#pragma once

#include <array>
#include <string_view>

namespace zpv::driver {

inline constexpr std::array<std::string_view, 6> kOptionFlagNames = {
    "cache", "interchangecheck", "queryinstrstatus", "rangecheck", "recordcoercions", "simulate"};
inline constexpr std::string_view kDriverSetupName = "driversetup";

}  // namespace zpv::driver
