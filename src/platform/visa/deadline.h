// The time budget of one operation: every wait inside it takes what is left, so a peer that
// trickles bytes cannot stretch the operation past its timeout.
#pragma once

#include <chrono>
#include <climits>

#include "platform/visa/visa_types.h"

namespace zpv::visa {

class Deadline {
public:
    using Clock = std::chrono::steady_clock;

    static Deadline After(ViUInt32 timeoutMs) {
        Deadline d;
        d.infinite_ = timeoutMs == VI_TMO_INFINITE;
        d.end_ = Clock::now() + std::chrono::milliseconds(d.infinite_ ? 0 : timeoutMs);
        return d;
    }

    bool Infinite() const { return infinite_; }
    bool Expired() const { return !infinite_ && Clock::now() >= end_; }
    Clock::time_point End() const { return end_; }

    // Milliseconds left for poll(): -1 when infinite, rounded up so a wait never ends early.
    int PollMs() const {
        if (infinite_) return -1;
        auto left = std::chrono::duration_cast<std::chrono::microseconds>(end_ - Clock::now()).count();
        if (left <= 0) return 0;
        long long ms = (left + 999) / 1000;
        return ms > INT_MAX ? INT_MAX : static_cast<int>(ms);
    }

private:
    bool infinite_ = false;
    Clock::time_point end_{};
};

}  // namespace zpv::visa
