// The trace of one driver session: its settings (from DriverSetup), the file it writes, one XML
// "Method" record per call of the object interface, and the sinks that receive each record.
#pragma once

#include <chrono>
#include <mutex>
#include <string>
#include <vector>

#include "ZPV4870.h"
#include "errors/error_reporter.h"
#include "trace/call_tracer.h"
#include "trace/xml_writer.h"

namespace zpv::trace {

// The defaults when DriverSetup does not name a setting.
struct TraceSettings {
    bool enabled = false;
    std::string fileName;
    LONG sizeMax = 100 * 1024 * 1024;  // bytes; larger, and no further call is recorded
    bool traceArrays = true;
    LONG arraySizeMax = 100;  // elements of an array written
    LONG saveInterval = 0;    // minutes between flushes; 0: after every record
    std::string transform;
};

class CTraceContext final : public ICallTracer {
public:
    CTraceContext() = default;
    ~CTraceContext();
    CTraceContext(const CTraceContext&) = delete;
    CTraceContext& operator=(const CTraceContext&) = delete;

    TraceSettings& Settings() { return settings_; }
    const TraceSettings& Settings() const { return settings_; }

    // State word: 0 tracing, 1 switched off by DriverSetup after having been on, 2 stopped because
    // the file outgrew TraceSizeMax, 3 stopped because the file could not be written.
    static constexpr LONG kStoppedByWriteFailure = 3;
    LONG State() const { return state_; }
    void SetState(LONG state) { state_ = state; }
    // Back to the defaults at the start of every Initialize; a file still open is finished first.
    // Registered sinks stay.
    void Reset();

    // Called at Initialize with the driver identifier: creates the file when tracing is enabled.
    // A file that cannot be created fails with the system's error and names the file.
    HRESULT Prepare(const std::string& driverIdentifier, errors::IErrorReporter& reporter);
    // Called first thing at Close: the record of that call is the file's last.
    void MarkClosing() { closing_ = true; }
    bool Closing() const { return closing_; }
    const std::string& DriverIdentifier() const { return driverIdentifier_; }
    // True while a file is open: the frame then hands every call to this context.
    bool Recording() const { return fd_ >= 0; }
    const std::string& FilePath() const { return path_; }

    // ICallTracer
    HRESULT BeginCall(const driver::MethodInfo& method, std::span<const ParameterRecord> parameters,
                      CallRecord& call) override;
    HRESULT EndCall(const driver::MethodInfo& method, HRESULT status, std::span<const ParameterRecord> parameters,
                    CallRecord& call) override;

    // Whether a record that ends this long after the last save flushes the file: the minutes
    // within the hour count, so 61 minutes are 1 (for intervals under an hour).
    static bool SaveDue(std::chrono::seconds sinceLastSave, LONG intervalMinutes);

    // Event sinks; callable from any thread.
    HRESULT Advise(IZPV4870TraceEventSink* sink, DWORD* cookie);
    HRESULT Unadvise(DWORD cookie);

private:
    class ParameterWriter;
    void WriteParameter(const ParameterRecord& parameter);
    void Publish(std::string_view record);
    void Finish();
    // Closes the file as it is (no closing tag), releasing its lock.
    void Abandon();
    HRESULT StopAfterWriteFailure(int error);

    TraceSettings settings_;
    LONG state_ = 0;
    bool closing_ = false;
    std::string driverIdentifier_;
    std::string path_;
    int fd_ = -1;  // locked for writing while open
    errors::IErrorReporter* reporter_ = nullptr;
    CXmlWriter writer_;
    std::chrono::steady_clock::time_point lastSave_;

    struct Sink {
        DWORD cookie;
        CComPtr<IZPV4870TraceEventSink> sink;
    };
    std::mutex sinksMutex_;
    std::vector<Sink> sinks_;
    DWORD nextCookie_ = 0;
};

}  // namespace zpv::trace
