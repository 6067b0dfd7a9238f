// One client's conversation with the instrument, whatever carries it: frames messages, runs them
// and shapes the answers with the injected faults. Transports own one per connection.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "zpv4870sim/instrument.h"

namespace zpv::sim {

class ClientSession {
public:
    struct Reply {
        std::string bytes;                     // the answer with its line feed; empty: send nothing
        std::chrono::milliseconds delay{0};    // wait this long before sending
        bool close = false;                    // close the connection instead of answering
        std::shared_ptr<void> hold;            // the answer's share of the simulator's limits
    };

    explicit ClientSession(Instrument& instrument);
    ~ClientSession();
    ClientSession(const ClientSession&) = delete;
    ClientSession& operator=(const ClientSession&) = delete;

    // One complete message, terminator removed.
    Reply OnMessage(std::string_view message);

    // Bytes as they arrive: each message ends at a line feed, a carriage return before it is dropped.
    // `deliver` gets each answer in order (and may take its bytes) and returns false to stop. Returns
    // false once a reply closed the connection or `deliver` stopped.
    bool OnBytes(std::string_view bytes, const std::function<bool(Reply&)>& deliver);

private:
    Instrument& instrument_;
    std::string pending_;
    std::uint64_t dropEpoch_;
    int handled_ = 0;
};

}  // namespace zpv::sim
