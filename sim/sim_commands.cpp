#include <algorithm>
#include <cstring>

#include "handlers.h"
#include "parameter_type.h"

namespace zpv::sim {

namespace {

constexpr long long kLargestBlock = 100'000'000;

// Whether an answer of `bytes` stays within what the simulator may hold for its clients.
bool FitsAnswerLimits(const Call& call, std::size_t bytes) {
    const AnswerLimits& limits = call.state.limits;
    const std::size_t held = call.state.heldBytes ? call.state.heldBytes->load() : 0;
    return bytes <= limits.maxAnswerBytes && held + bytes <= limits.maxHeldBytes;
}

}  // namespace

void SimDelay(Call& call) {
    auto& delay = call.state.faults.answerDelay;
    if (call.IsQuery()) return call.Answer(std::to_string(delay.count()));
    if (auto ms = call.IntegerParam(0, 0, 600'000)) delay = std::chrono::milliseconds(*ms);
}

void SimDrop(Call& call) {
    Faults& faults = call.state.faults;
    if (call.IsQuery()) return call.Answer(faults.dropAfter < 0 ? "OFF" : std::to_string(faults.dropAfter));
    if (MatchesMnemonic("OFF", call.Param(0).text)) {
        faults.dropAfter = -1;
    } else if (auto count = call.IntegerParam(0, 0, 1'000'000)) {
        faults.dropAfter = static_cast<int>(*count);
    } else {
        return;
    }
    ++faults.dropEpoch;
}

void SimGarbage(Call& call) {
    bool& garbage = call.state.faults.garbage;
    if (call.IsQuery()) return call.Answer(garbage ? "ON" : "OFF");
    if (auto on = call.SwitchParam(0)) garbage = *on;
}

void SimOversize(Call& call) {
    std::size_t& size = call.state.faults.oversize;
    if (call.IsQuery()) return call.Answer(std::to_string(size));
    if (MatchesMnemonic("OFF", call.Param(0).text)) size = 0;
    else if (auto bytes = call.IntegerParam(0, 0, kLargestBlock)) {
        if (!FitsAnswerLimits(call, static_cast<std::size_t>(*bytes))) return call.Fail(kOutOfMemory);
        size = static_cast<std::size_t>(*bytes);
    }
}

void SimMute(Call& call) {
    bool& mute = call.state.faults.mute;
    if (call.IsQuery()) return call.Answer(mute ? "ON" : "OFF");
    if (auto on = call.SwitchParam(0)) mute = *on;
}

void SimLoadImpedance(Call& call) {
    double& ohms = call.state.load.impedance;
    if (call.IsQuery()) return call.Answer(FormatReal(ohms));
    if (auto value = call.RealParam(0, 1e-3, 1e9)) ohms = *value;
}

void SimLoadPowerFactor(Call& call) {
    double& pf = call.state.load.powerFactor;
    if (call.IsQuery()) return call.Answer(FormatReal(pf));
    if (auto value = call.RealParam(0, 0.01, 1)) pf = *value;
}

// A definite-length block "#<digits><length><bytes>" of printable bytes, for big-read tests.
void SimBlock(Call& call) {
    const auto length = call.IntegerParam(0, 0, kLargestBlock);
    if (!length) return;
    if (!FitsAnswerLimits(call, static_cast<std::size_t>(*length))) return call.Fail(kOutOfMemory);
    const std::string count = std::to_string(*length);
    std::string block = "#" + std::to_string(count.size()) + count;
    const std::size_t header = block.size();
    const auto bytes = static_cast<std::size_t>(*length);
    block.reserve(header + bytes + 1);  // room for the line feed the answer gets
    block.resize(header + bytes);
    // "ABC...Z" repeated - or, for the binary block, every byte value from 0 to 255, line feeds
    // among them - doubled by copying what is already there.
    const std::size_t period = call.row.arg == kBinaryBlock ? 256 : 26;
    char* data = block.data() + header;
    for (std::size_t i = 0; i < std::min(period, bytes); ++i)
        data[i] = static_cast<char>(period == 256 ? i : 'A' + i);
    for (std::size_t done = std::min(period, bytes); done < bytes;) {
        const std::size_t chunk = std::min(done - done % period, bytes - done);
        std::memcpy(data + done, data, chunk);
        done += chunk;
    }
    call.Answer(std::move(block));
}

// Raises standard event status bits directly, as an instrument fault would.
void SimEventStatus(Call& call) {
    if (auto bits = call.IntegerParam(0, 0, 255)) call.state.status.SetEvents(static_cast<int>(*bits));
}

}  // namespace zpv::sim
