#include "trace/trace_context.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include "platform/com/text_conversion.h"
#include "trace/trace_file_name.h"
#include "platform/text/sentence.h"

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

HRESULT SystemError(int error) { return static_cast<HRESULT>(0x80070000u | (static_cast<unsigned>(error) & 0xFFFFu)); }

// "name.xml" as the n-th writer's "name-n.xml".
std::string NumberedPath(const std::string& path, int n) {
    if (n == 1) return path;
    const std::size_t dot = path.size() >= 4 ? path.size() - 4 : path.size();  // ".xml", any case
    return path.substr(0, dot) + "-" + std::to_string(n) + path.substr(dot);
}

// Whole records wait in memory for the next save, but never more than this.
constexpr std::size_t kMaxUnsavedBytes = 1 << 20;

}  // namespace

std::uint64_t CallClock() { return Counter(); }
std::string CallStartTime() { return StartTime(); }

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
    reporter_ = &reporter;
    if (!settings_.enabled || state_ != 0) return S_OK;
    Finish();
    const std::string named = TraceFilePath(settings_.fileName, driverIdentifier, std::time(nullptr));
    // One writer per file, in this process or any other: a file another session is writing is
    // left to it, and this session writes "name-2.xml" (or the next free number) instead.
    int fd = -1;
    for (int n = 1; n <= 100 && fd < 0; ++n) {
        path_ = NumberedPath(named, n);
        fd = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0) break;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            ::close(fd);
            fd = -1;
            if (error != EWOULDBLOCK) {
                errno = error;
                break;
            }
        }
    }
    if (fd < 0 || ::ftruncate(fd, 0) != 0) {
        const int error = fd < 0 && errno == 0 ? EBUSY : errno;
        if (fd >= 0) ::close(fd);
        return reporter.ReportErrorText(SystemError(error), "ZPV4870: Cannot open file.\r\nThe trace file \"" + path_ +
                                                                "\" cannot be created: " + text::Sentence(std::strerror(error)));
    }
    fd_ = fd;
    writer_ = CXmlWriter{};
    writer_.Attach(fd_);
    writer_.Raw("<?xml version=\"1.0\"?>\r\n");
    if (const std::string stylesheet = StylesheetPath(settings_.transform); !stylesheet.empty())
        writer_.Raw("<?xml-stylesheet type=\"text/xsl\" href=\"file:\\\\" + stylesheet + "\"?>\r\n");
    if (path_ != named)
        writer_.Raw("<!-- " + CXmlWriter::Escaped(named) + " is being written by another driver session; this session writes " +
                    CXmlWriter::Escaped(path_) + " -->\r\n");
    // The root's start tag is complete from the start: the file holds whole elements only, and a
    // trace cut short after any record needs nothing but the closing tag.
    writer_.Open("TraceRecords");
    writer_.EndStartTag();
    writer_.EndRecord();
    if (!writer_.Flush()) {
        const int error = errno;
        Abandon();
        return reporter.ReportErrorText(SystemError(error), "ZPV4870: Error writing file.\r\nThe trace file \"" + path_ +
                                                                "\" cannot be written: " + text::Sentence(std::strerror(error)));
    }
    lastSave_ = std::chrono::steady_clock::now();
    return S_OK;
}

void CTraceContext::Finish() {
    if (fd_ < 0) return;
    while (writer_.Depth() > 0) writer_.Close();
    writer_.EndRecord();
    writer_.Flush();
    Abandon();
}

void CTraceContext::Abandon() {
    if (fd_ < 0) return;
    ::close(fd_);  // releases the lock
    fd_ = -1;
    writer_.Attach(-1);
}

HRESULT CTraceContext::StopAfterWriteFailure(int error) {
    // The writer cut the file back to its last whole record; the closing tag makes it a document.
    state_ = kStoppedByWriteFailure;
    const std::string closing = "</TraceRecords>\r\n";
    [[maybe_unused]] const ssize_t ignored = ::write(fd_, closing.data(), closing.size());
    Abandon();
    closing_ = false;
    const std::string text = "ZPV4870: Error writing file.\r\nThe trace file \"" + path_ + "\" could not be written (" +
                             std::strerror(error) + "); tracing stopped after the last whole record.";
    return reporter_ ? reporter_->ReportErrorText(SystemError(error), text) : SystemError(error);
}

HRESULT CTraceContext::BeginCall(const driver::MethodInfo& method, std::span<const ParameterRecord> parameters,
                                 CallRecord& call) {
    if (fd_ < 0 || state_ != 0) return S_OK;
    writer_.BeginRecord();
    call.active = true;
    // A call that opened the file (Initialize) brings the time it started.
    const bool late = call.start != 0;
    if (!late) call.start = Counter();
    writer_.Open("Method");
    writer_.Attribute("Name", method.methodName);
    writer_.Attribute("Interface", method.interfaceName);
    writer_.Attribute("StartTime", late ? call.startTime : StartTime());
    writer_.Attribute("Thread", std::to_string(static_cast<long>(::syscall(SYS_gettid))));
    writer_.Attribute("Timestamp", std::to_string(call.start));
    for (const ParameterRecord& p : parameters.first(std::min(parameters.size(), kMaxTracedParameters)))
        if (p.direction != Direction::Out) WriteParameter(p);
    return S_OK;
}

HRESULT CTraceContext::EndCall(const driver::MethodInfo&, HRESULT status, std::span<const ParameterRecord> parameters,
                               CallRecord& call) {
    if (!call.active) {
        // Not recorded (the file outgrew its limit); the closing call still ends the file.
        if (closing_ && fd_ >= 0) {
            Finish();
            closing_ = false;
        }
        return S_OK;
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
    writer_.EndRecord();

    Publish(writer_.Record());
    // The size limit holds whatever the save interval: it counts every whole record.
    if (writer_.Written() > static_cast<std::size_t>(std::max<LONG>(settings_.sizeMax, 0)) && settings_.enabled &&
        state_ != 1)
        state_ = 2;
    const auto now = std::chrono::steady_clock::now();
    const bool due = SaveDue(std::chrono::duration_cast<std::chrono::seconds>(now - lastSave_), settings_.saveInterval);
    if (due || closing_ || writer_.Pending().size() > kMaxUnsavedBytes) {
        if (due) lastSave_ = now;
        if (!writer_.Flush()) return StopAfterWriteFailure(errno);
    }
    if (closing_) {
        Finish();
        closing_ = false;
    }
    return S_OK;
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
    const auto minutes = std::chrono::duration_cast<std::chrono::minutes>(sinceLastSave).count();
    // The minutes within the hour count; an interval of an hour or more counts whole minutes,
    // else no save would ever be due.
    return intervalMinutes >= 60 ? minutes >= intervalMinutes : minutes % 60 >= intervalMinutes;
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
