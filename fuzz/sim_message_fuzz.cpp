// Any bytes a client sends the simulator: framed into messages, parsed and run, answered or
// refused with an error in the queue - never a crash. One instrument serves every input, as one
// server serves every client; its answers are kept small so the run stays quick.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "zpv4870sim/client_session.h"
#include "zpv4870sim/instrument.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static zpv::sim::Instrument instrument([] {
        zpv::sim::InstrumentOptions options;
        options.limits.maxAnswerBytes = 1u << 20;
        return options;
    }());
    zpv::sim::ClientSession session(instrument);
    session.OnBytes(std::string_view(reinterpret_cast<const char*>(data), size),
                    [](const zpv::sim::ClientSession::Reply&) { return true; });
    session.OnBytes("\n", [](const zpv::sim::ClientSession::Reply&) { return true; });
    return 0;
}
