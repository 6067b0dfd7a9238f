#include "zpv4870sim/client_session.h"

#include <string>

#include <algorithm>

namespace zpv::sim {

namespace {

// Bytes no answer format accepts: not a number, not a keyword, not a block, not valid text.
constexpr std::string_view kGarbage = "\x7f\xff?!garbage!?\xfe";

// A client that never sends a line feed must not grow the buffer without end.
constexpr size_t kLongestMessage = 16 * 1024 * 1024;

}  // namespace

ClientSession::ClientSession(Instrument& instrument)
    : instrument_(instrument), dropEpoch_(instrument.GetFaults().dropEpoch) {
    instrument_.Log("open");
}

ClientSession::~ClientSession() { instrument_.Log("closed"); }

ClientSession::Reply ClientSession::OnMessage(std::string_view message) {
    instrument_.Log(std::string("< ").append(message));
    const Faults before = instrument_.GetFaults();
    if (before.dropEpoch != dropEpoch_) {
        dropEpoch_ = before.dropEpoch;
        handled_ = 0;
    }
    if (before.dropAfter >= 0 && handled_ >= before.dropAfter) return {{}, {}, true, nullptr};
    ++handled_;

    std::optional<std::string> answer = instrument_.Execute(message);
    if (!answer) return {};
    const Faults faults = instrument_.GetFaults();  // the message itself may have changed them
    if (faults.mute) return {};
    Reply reply{faults.garbage ? std::string(kGarbage) : std::move(*answer), faults.answerDelay, false, nullptr};
    reply.hold = instrument_.HoldAnswer(std::max(reply.bytes.size(), faults.oversize) + 1);
    if (!reply.hold) return {};  // the instrument queued "Out of memory"
    if (reply.bytes.size() < faults.oversize) reply.bytes.resize(faults.oversize, ' ');
    reply.bytes += '\n';
    return reply;
}

bool ClientSession::OnBytes(std::string_view bytes, const std::function<bool(Reply&)>& deliver) {
    // Only the new bytes are searched: a long message that trickles in costs linear time.
    size_t from = pending_.size();
    pending_.append(bytes);
    size_t start = 0;
    for (size_t end; (end = pending_.find('\n', from)) != std::string::npos; start = from = end + 1) {
        std::string_view message(pending_.data() + start, end - start);
        if (!message.empty() && message.back() == '\r') message.remove_suffix(1);
        Reply reply = OnMessage(message);
        if (reply.close || (!reply.bytes.empty() && !deliver(reply))) {
            pending_.clear();
            return false;
        }
    }
    pending_.erase(0, start);
    if (pending_.size() > kLongestMessage) {
        pending_.clear();
        return false;
    }
    return true;
}

}  // namespace zpv::sim
