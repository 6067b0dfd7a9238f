// What the simulator holds for its clients at most, so that no client can make it hold more.
#pragma once

#include <cstddef>

namespace zpv::sim {

// Connections one service (a TCP port) serves at once; one more is closed as soon as it comes.
inline constexpr std::size_t kMaxConnectionsPerService = 128;

struct AnswerLimits {
    std::size_t maxAnswerBytes = 64u << 20;  // one answer; a query asking for more gets error -225
    std::size_t maxHeldBytes = 256u << 20;   // the answers of all connections not yet sent
};

}  // namespace zpv::sim
