// Where the simulator's services listen: 127.0.0.1 unless told otherwise (an address of a test
// LAN, so several simulated instruments serve the standard ports side by side).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zpv::sim {

struct ListenAddress {
    std::uint32_t ipv4 = 0x7F000001;  // host byte order

    // A dotted IPv4 address ("10.87.0.11", "0.0.0.0" for every interface); nothing when it is not one.
    static std::optional<ListenAddress> Parse(std::string_view text);
    std::string Text() const;
};

}  // namespace zpv::sim
