// What the method frame tells a call recorder. No recorder is attached while tracing is off, so
// the frame then pays one pointer test per call.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "context/call_context.h"
#include "trace/parameter_record.h"
#include "zpv4870_runtime.h"

namespace zpv::trace {

// One call's state between BeginCall and EndCall, kept by the frame.
struct CallRecord {
    bool active = false;
    std::uint64_t start = 0;  // set before BeginCall only by a call that opens the file
    std::string startTime;
};

// The counter BeginCall reads, and the start time it writes, for a call that starts before the
// trace file exists and is recorded once it does (Initialize).
std::uint64_t CallClock();
std::string CallStartTime();

class ICallTracer {
public:
    // A failure status from BeginCall fails the call before the member runs.
    virtual HRESULT BeginCall(const driver::MethodInfo& method, std::span<const ParameterRecord> parameters,
                              CallRecord& call) = 0;
    // A failure to write the record (the file is then ended after its last whole record and
    // tracing stops); the frame returns it when the call itself succeeded.
    virtual HRESULT EndCall(const driver::MethodInfo& method, HRESULT status,
                            std::span<const ParameterRecord> parameters, CallRecord& call) = 0;

protected:
    ~ICallTracer() = default;
};

}  // namespace zpv::trace
