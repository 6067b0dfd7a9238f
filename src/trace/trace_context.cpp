#include "trace/trace_context.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include "platform/com/text_conversion.h"
#include "trace/trace_file_name.h"

namespace zpv::trace {

namespace {

std::uint64_t Counter() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * 1000000000u + static_cast<std::uint64_t>(now.tv_nsec);
}
constexpr double kCounterFrequency = 1e9;

std::string StartTime() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    // The local time of the current second, computed once a second per thread.
    thread_local time_t second = -1;
    thread_local std::tm local{};
    if (now.tv_sec != second) {
        localtime_r(&now.tv_sec, &local);
        second = now.tv_sec;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%d:%d:%d:%d", local.tm_hour, local.tm_min, local.tm_sec,
                  static_cast<int>(now.tv_nsec / 1000000));
    return text;
}

const char* DirectionName(Direction direction) {
    switch (direction) {
        case Direction::In: return "In";
        case Direction::Out: return "Out";
        case Direction::InOut: return "InOut";
    }
    return nullptr;
}

// The thread's error description, left in place for the caller.
std::string ErrorDescription() {
    CComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, &info) != S_OK || !info) return {};
    CComBSTR description;
    info->GetDescription(&description);
    SetErrorInfo(0, info);
    return com::Utf8FromBstr(description);
}

}  // namespace

// Renders values into the attributes of the open "Parameter" element.
class CTraceContext::ParameterWriter final : public IValueWriter {
public:
    ParameterWriter(CXmlWriter& writer, const TraceSettings& settings) : writer_(writer), settings_(settings) {}
    void Scalar(std::string_view value, std::string_view dataType) override {
        writer_.Attribute("Value", value);
        writer_.Attribute("DataType", dataType);
    }
    void AbsentArray() override { writer_.Attribute("NumDims", "0"); }
    std::size_t Array(std::size_t numDims, std::string_view dimSizes, std::string_view dataType,
                      std::size_t elementCount) override {
        writer_.Attribute("NumDims", std::to_string(numDims));
        writer_.Attribute("DimSizes", dimSizes);
        writer_.Attribute("DataType", dataType);
        if (numDims != 1 || !settings_.traceArrays || settings_.arraySizeMax <= 0) return 0;
        return std::min(elementCount, static_cast<std::size_t>(settings_.arraySizeMax));
    }
    void Element(std::string_view value, std::string_view dataType) override {
        writer_.Open("Element");
        Scalar(value, dataType);
        writer_.Close();
    }

private:
    CXmlWriter& writer_;
    const TraceSettings& settings_;
};

CTraceContext::~CTraceContext() { Finish(); }

void CTraceContext::Reset() {
    Finish();
    settings_ = TraceSettings{};
    state_ = 0;
    closing_ = false;
    driverIdentifier_.clear();
    path_.clear();
}

HRESULT CTraceContext::Prepare(const std::string& driverIdentifier, errors::IErrorReporter& reporter) {
    driverIdentifier_ = driverIdentifier;
    if (!settings_.enabled || state_ != 0) return S_OK;
    Finish();
    path_ = TraceFilePath(settings_.fileName, driverIdentifier, std::time(nullptr));
    // Replaced if it exists; other processes may read it while it grows.
    file_ = std::fopen(path_.c_str(), "wb");
    if (!file_) {
        const int error = errno;
        const HRESULT status = static_cast<HRESULT>(0x80070000u | (static_cast<unsigned>(error) & 0xFFFFu));
        return reporter.ReportErrorText(
            status, "ZPV4870: Cannot open file.\r\nThe trace file \"" + path_ + "\" cannot be created: " +
                        std::strerror(error) + ".");
    }
    writer_ = CXmlWriter{};
    writer_.Attach(file_);
    writer_.Raw("<?xml version=\"1.0\"?>\r\n");
    if (const std::string stylesheet = StylesheetPath(settings_.transform); !stylesheet.empty())
        writer_.Raw("<?xml-stylesheet type=\"text/xsl\" href=\"file:\\\\" + stylesheet + "\"?>\r\n");
    writer_.Open("TraceRecords");
    writer_.Flush();
    std::fflush(file_);
    lastSave_ = std::chrono::steady_clock::now();
    return S_OK;
}

void CTraceContext::Finish() {
    if (!file_) return;
    while (writer_.Depth() > 0) writer_.Close();
    writer_.Flush();
    std::fclose(file_);
    file_ = nullptr;
    writer_.Attach(nullptr);
}

HRESULT CTraceContext::BeginCall(const driver::MethodInfo& method, std::span<const ParameterRecord> parameters,
                                 CallRecord& call) {
    if (!file_ || state_ != 0) return S_OK;
    writer_.Flush();  // what came before the record (an open start tag's end) is not part of it
    call.active = true;
    call.start = Counter();
    writer_.Open("Method");
    writer_.Attribute("Name", method.methodName);
    writer_.Attribute("Interface", method.interfaceName);
    writer_.Attribute("StartTime", StartTime());
    writer_.Attribute("Thread", std::to_string(static_cast<long>(::syscall(SYS_gettid))));
    writer_.Attribute("Timestamp", std::to_string(call.start));
    for (const ParameterRecord& p : parameters.first(std::min(parameters.size(), kMaxTracedParameters)))
        if (p.direction != Direction::Out) WriteParameter(p);
    return S_OK;
}

void CTraceContext::EndCall(const driver::MethodInfo&, HRESULT status, std::span<const ParameterRecord> parameters,
                            CallRecord& call) {
    if (!call.active) {
        // Not recorded (the file outgrew its limit); the closing call still ends the file.
        if (closing_ && file_) {
            Finish();
            closing_ = false;
        }
        return;
    }
    call.active = false;
    const double seconds = static_cast<double>(Counter() - call.start) / kCounterFrequency;
    for (const ParameterRecord& p : parameters.first(std::min(parameters.size(), kMaxTracedParameters)))
        if (p.direction != Direction::In) WriteParameter(p);
    writer_.Open("HRESULT");
    char text[32];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(status));
    writer_.Attribute("Value", text);
    if (FAILED(status))
        if (const std::string message = ErrorDescription(); !message.empty()) writer_.Attribute("Message", message);
    writer_.Close();
    writer_.Open("Execution");
    std::snprintf(text, sizeof text, "%e", seconds);
    writer_.Attribute("ExecutionTime", text);
    writer_.Close();
    writer_.Close();  // Method

    Publish(writer_.Pending());
    writer_.Flush();
    SaveAndCheckSize();
    if (closing_) {
        Finish();
        closing_ = false;
    }
}

void CTraceContext::WriteParameter(const ParameterRecord& p) {
    writer_.Open("Parameter");
    writer_.Attribute("Name", p.name);
    if (const char* direction = DirectionName(p.direction)) writer_.Attribute("Direction", direction);
    ParameterWriter values(writer_, settings_);
    if (p.value && p.render) p.render(p.value, values);
    writer_.Close();
}

bool CTraceContext::SaveDue(std::chrono::seconds sinceLastSave, LONG intervalMinutes) {
    return std::chrono::duration_cast<std::chrono::minutes>(sinceLastSave).count() % 60 >= intervalMinutes;
}

void CTraceContext::SaveAndCheckSize() {
    const auto now = std::chrono::steady_clock::now();
    if (!SaveDue(std::chrono::duration_cast<std::chrono::seconds>(now - lastSave_), settings_.saveInterval)) return;
    lastSave_ = now;
    if (std::fflush(file_) != 0) return;
    if (writer_.Written() > static_cast<std::size_t>(std::max<LONG>(settings_.sizeMax, 0)) && settings_.enabled &&
        state_ != 1)
        state_ = 2;
}

void CTraceContext::Publish(std::string_view pending) {
    std::vector<CComPtr<IZPV4870TraceEventSink>> receivers;
    {
        std::lock_guard lock(sinksMutex_);
        if (sinks_.empty()) return;
        for (const Sink& s : sinks_) receivers.push_back(s.sink);
    }
    // The record from its first "<": without the indentation before it.
    const auto start = pending.find('<');
    CComBSTR text;
    text.Attach(com::AllocBstr(start == std::string_view::npos ? pending : pending.substr(start)));
    // A sink's failure is its own: the call's status stays what it was.
    for (const auto& receiver : receivers) receiver->OnTraceEvent(text);
}

HRESULT CTraceContext::Advise(IZPV4870TraceEventSink* sink, DWORD* cookie) {
    if (!sink || !cookie) return E_POINTER;
    std::lock_guard lock(sinksMutex_);
    *cookie = ++nextCookie_;
    sinks_.push_back({*cookie, sink});
    return S_OK;
}

HRESULT CTraceContext::Unadvise(DWORD cookie) {
    CComPtr<IZPV4870TraceEventSink> released;  // released after the lock: its Release may call back
    std::lock_guard lock(sinksMutex_);
    for (auto it = sinks_.begin(); it != sinks_.end(); ++it)
        if (it->cookie == cookie) {
            released = std::move(it->sink);
            sinks_.erase(it);
            return S_OK;
        }
    return E_INVALIDARG;
}

}  // namespace zpv::trace
