// Trace settings of one driver session, set from the DriverSetup part of the option string.
#pragma once

#include <string>

#include "zpv4870_runtime.h"

namespace zpv::trace {

struct TraceSettings {
    bool enabled = false;
    std::string fileName;
    LONG sizeMax = 0;
    bool traceArrays = false;
    LONG arraySizeMax = 0;
    LONG saveInterval = 0;
    std::string transform;
};

class CTraceContext {
public:
    TraceSettings& Settings() { return settings_; }
    const TraceSettings& Settings() const { return settings_; }

    // State word: 1 once DriverSetup switched an enabled trace off. Kept apart from the closing
    // mark, so that a new session on the same object starts from the defaults (Reset).
    LONG State() const { return state_; }
    void SetState(LONG state) { state_ = state; }
    // Back to the defaults, at the start of every Initialize.
    void Reset() { *this = CTraceContext{}; }

    // Called at Initialize with the driver identifier; opens the trace output when enabled.
    HRESULT Prepare(const std::string& driverIdentifier);
    // Called first thing at Close: nothing more is recorded for this session.
    void MarkClosing() { closing_ = true; }
    bool Closing() const { return closing_; }
    const std::string& DriverIdentifier() const { return driverIdentifier_; }

private:
    TraceSettings settings_;
    LONG state_ = 0;
    bool closing_ = false;
    std::string driverIdentifier_;
};

}  // namespace zpv::trace
