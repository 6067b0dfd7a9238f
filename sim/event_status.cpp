#include "event_status.h"

namespace zpv::sim {

namespace {

struct ErrorText {
    int code;
    const char* text;
};

constexpr ErrorText kErrorTexts[] = {
    {kSyntaxError, "Syntax error"},
    {kParameterNotAllowed, "Parameter not allowed"},
    {kMissingParameter, "Missing parameter"},
    {kUndefinedHeader, "Undefined header"},
    {kInvalidStringData, "Invalid string data"},
    {kSettingsConflict, "Settings conflict"},
    {kIllegalParameterValue, "Illegal parameter value"},
    {kOutOfMemory, "Out of memory"},
    {kQueueOverflow, "Queue overflow"},
};

constexpr size_t kQueueCapacity = 10;

const char* TextOf(int code) {
    for (const ErrorText& e : kErrorTexts)
        if (e.code == code) return e.text;
    return "Error";
}

int EventBitOf(int code) {
    switch (-code / 100) {
        case 1: return kCommandError;
        case 2: return kExecutionError;
        case 3: return kDeviceError;
        case 4: return kQueryError;
        default: return 0;
    }
}

}  // namespace

void EventStatus::Report(int code) {
    register_ |= EventBitOf(code);
    if (queue_.size() >= kQueueCapacity) {
        // A full queue keeps its oldest entries and says it overflowed in the last place.
        queue_.back() = {kQueueOverflow, TextOf(kQueueOverflow)};
        return;
    }
    queue_.push_back({code, TextOf(code)});
}

std::string EventStatus::NextError() {
    if (queue_.empty()) return "+0,\"No error\"";
    Entry entry = std::move(queue_.front());
    queue_.pop_front();
    return std::to_string(entry.code) + ",\"" + entry.text + "\"";
}

int EventStatus::ReadAndClear() {
    const int value = register_;
    register_ = 0;
    return value;
}

void EventStatus::Clear() {
    register_ = 0;
    queue_.clear();
}

int EventStatus::StatusByte() const {
    int stb = 0;
    if (!queue_.empty()) stb |= 4;                      // error/event queue not empty
    if (register_ & eventEnable) stb |= 32;             // event status summary
    if (stb & serviceEnable) stb |= 64;                 // master summary
    return stb;
}

}  // namespace zpv::sim
