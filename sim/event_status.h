// The IEEE 488.2 status model: standard event status register, its enable masks and the error queue.
#pragma once

#include <deque>
#include <string>

namespace zpv::sim {

// Error queue codes the instrument raises.
enum ErrorCode : int {
    kSyntaxError = -102,
    kParameterNotAllowed = -108,
    kMissingParameter = -109,
    kUndefinedHeader = -113,
    kInvalidStringData = -151,
    kSettingsConflict = -221,
    kIllegalParameterValue = -224,
    kOutOfMemory = -225,
    kQueueOverflow = -350,
};

// Standard event status register bits.
enum EventBit : int {
    kOperationComplete = 1,
    kQueryError = 4,
    kDeviceError = 8,
    kExecutionError = 16,
    kCommandError = 32,
};

inline bool IsCommandError(int code) { return code <= -100 && code > -200; }

class EventStatus {
public:
    // Queues the error and sets the register bit of its class (-1xx command, -2xx execution, ...).
    void Report(int code);
    // Oldest queued error as `<code>,"<text>"`, or `+0,"No error"` when the queue is empty.
    std::string NextError();
    void SetEvents(int bits) { register_ |= bits & 0xFF; }
    int ReadAndClear();
    void Clear();  // *CLS: the register and the error queue
    int StatusByte() const;

    int eventEnable = 0;    // *ESE
    int serviceEnable = 0;  // *SRE

private:
    struct Entry {
        int code;
        std::string text;
    };
    std::deque<Entry> queue_;
    int register_ = 0;
};

}  // namespace zpv::sim
