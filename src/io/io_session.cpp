#include "io/io_session.h"

#include <algorithm>
#include <cctype>

#include "io/argument_cursor.h"
#include "io/counted_read.h"
#include "io/io_failure.h"
#include "platform/com/block_recycler.h"

namespace zpv::io {

namespace {

// Holds a timeout other than kUseSessionTimeout for one operation.
template <class Session>
class ScopedTimeout {
public:
    ScopedTimeout(Session& io, LONG timeoutMs) : io_(io) {
        if (timeoutMs == kUseSessionTimeout) return;
        status_ = io_.GetAttributes(&saved_);
        if (FAILED(status_)) return;
        SessionAttributes changed = saved_;
        changed.timeoutMs = ToAttributeTimeout(timeoutMs);
        status_ = io_.SetAttributes(changed);
        restore_ = SUCCEEDED(status_);
    }
    ~ScopedTimeout() {
        if (restore_) io_.SetAttributes(saved_);
    }
    ScopedTimeout(const ScopedTimeout&) = delete;
    ScopedTimeout& operator=(const ScopedTimeout&) = delete;
    HRESULT status() const { return status_; }

private:
    Session& io_;
    SessionAttributes saved_;
    bool restore_ = false;
    HRESULT status_ = S_OK;
};

}  // namespace

// ----- variadic forms

HRESULT IIoSession::Printf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    const HRESULT hr = PrintfV(kUseSessionTimeout, format, args);
    va_end(args);
    return hr;
}

HRESULT IIoSession::PrintfTimed(LONG timeoutMs, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const HRESULT hr = PrintfV(timeoutMs, format, args);
    va_end(args);
    return hr;
}

HRESULT IIoSession::Scanf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    const HRESULT hr = ScanfV(kUseSessionTimeout, format, args);
    va_end(args);
    return hr;
}

HRESULT IIoSession::ScanfTimed(LONG timeoutMs, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const HRESULT hr = ScanfV(timeoutMs, format, args);
    va_end(args);
    return hr;
}

HRESULT IIoSession::Queryf(const char* command, const char* response, ...) {
    va_list args;
    va_start(args, response);
    const HRESULT hr = QueryfV(kUseSessionTimeout, command, response, args);
    va_end(args);
    return hr;
}

HRESULT IIoSession::QueryfTimed(LONG timeoutMs, const char* command, const char* response, ...) {
    va_list args;
    va_start(args, response);
    const HRESULT hr = QueryfV(timeoutMs, command, response, args);
    va_end(args);
    return hr;
}

HRESULT IIoSession::QueryValue(std::string_view command, const TypedDestination& destination) {
    const HRESULT hr = WriteValue(command, true);
    return FAILED(hr) ? hr : ReadValue(destination);
}

HRESULT IIoSession::QueryList(std::string_view command, VARTYPE elementType, SAFEARRAY** list) {
    const HRESULT hr = WriteValue(command, true);
    return FAILED(hr) ? hr : ReadList(elementType, list);
}

HRESULT IIoSession::QueryBlock(std::string_view command, VARTYPE elementType, SAFEARRAY** data) {
    const HRESULT hr = WriteValue(command, true);
    return FAILED(hr) ? hr : ReadBlock(elementType, false, true, data);
}

// ----- lifecycle

CIoSession::CIoSession(errors::IErrorReporter* reporter, IInstrumentConnector* connector)
    : reporter_(reporter), connector_(connector) {}

CIoSession::~CIoSession() { Close(); }

HRESULT CIoSession::NotConnected() {
    if (reporter_) return reporter_->Report<errors::MessageId::NotInitialized>();
    return errors::StatusOfMessage(static_cast<unsigned>(errors::MessageId::NotInitialized)).status;
}

HRESULT CIoSession::Open(std::string_view descriptor, errors::IErrorReporter* reporter) {
    if (reporter) reporter_ = reporter;
    if (!reporter_) return E_POINTER;
    Close();
    if (!connector_) return reporter_->Report<errors::MessageId::ResourceUnknown>();
    std::unique_ptr<IInstrumentConnection> connection;
    const HRESULT hr = connector_->Connect(descriptor, kOpenTimeoutMs, *reporter_, &connection);
    if (FAILED(hr)) return hr;
    if (!connection) return reporter_->Report<errors::MessageId::ResourceUnknown>();
    return Attach(std::move(connection));
}

HRESULT CIoSession::Attach(std::unique_ptr<IInstrumentConnection> connection) {
    if (!reporter_ || !connection) return E_POINTER;
    Close();
    buffer_ = CInstrBuffer::Create(*this, *reporter_, readTerminator_, writeTerminator_);
    if (!buffer_) {
        connection->Close();
        return reporter_->Report<errors::MessageId::OutOfMemory>("Failed to create the formatted I/O read and write buffers.");
    }
    connection_ = std::move(connection);
    HRESULT hr = ConfigureTermination();
    if (SUCCEEDED(hr) && !ioLogPath_.empty()) {
        std::string resource, why;
        if (FAILED(connection_->GetResourceName(&resource))) resource = "?";
        ioLog_ = IoLog::Open(ioLogPath_, resource, &why);
        if (!ioLog_) hr = ReportIoFailure(reporter_, why + ".");
    }
    if (FAILED(hr)) Close();
    return hr;
}

HRESULT CIoSession::SetIoLog(const std::string& path) {
    ioLogPath_ = path;
    return S_OK;
}

// Serial lines and raw sockets have no END of their own: a line feed ends each message.
HRESULT CIoSession::ConfigureTermination() {
    InterfaceType type = InterfaceType::Other;
    if (FAILED(connection_->GetInterfaceType(&type))) type = InterfaceType::Other;
    std::string resourceClass;
    if (FAILED(connection_->GetResourceClass(&resourceClass))) resourceClass = "OTHER";
    std::string name;
    if (FAILED(connection_->GetResourceName(&name))) name = "UNKNOWN";
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::toupper(c); });
    if (type == InterfaceType::Tcpip && name.find("::SOCKET") != std::string::npos) resourceClass = "SOCKET";
    if (type != InterfaceType::Serial && !(type == InterfaceType::Tcpip && resourceClass == "SOCKET")) return S_OK;
    SessionAttributes attributes;
    const HRESULT hr = connection_->GetAttributes(&attributes);
    if (FAILED(hr)) return hr;
    attributes.termChar = '\n';
    attributes.termCharEnabled = true;
    attributes.sendEnd = true;
    return connection_->SetAttributes(attributes);
}

HRESULT CIoSession::Close() {
    buffer_.reset();
    ioLog_.reset();
    if (!connection_) return S_OK;
    const HRESULT hr = connection_->Close();
    connection_.reset();
    com::recycler::ReleaseAll();  // blocks kept for this session's next reply
    return hr;
}

// ----- settings and plain transfers

HRESULT CIoSession::ReadStatusByte(SHORT* statusByte) {
    return connection_ ? connection_->ReadStatusByte(statusByte) : NotConnected();
}

HRESULT CIoSession::GetAttributes(SessionAttributes* attributes) {
    return connection_ ? connection_->GetAttributes(attributes) : NotConnected();
}
HRESULT CIoSession::SetAttributes(const SessionAttributes& attributes) {
    return connection_ ? connection_->SetAttributes(attributes) : NotConnected();
}

// Every transfer passes here, buffered or direct. A read that fails (a timeout above all) leaves
// its answer abandoned; before the next write that answer is discarded, so that a late answer is
// never taken for the answer to the next question.
HRESULT CIoSession::Read(BYTE* buffer, LONG count, LONG* actual, LONG timeoutMs) {
    if (!connection_) return NotConnected();
    if (budget_.active) {
        if (const HRESULT spent = NextReadTimeout(timeoutMs, &timeoutMs); FAILED(spent)) {
            if (actual) *actual = 0;
            answerAbandoned_ = true;
            return spent;
        }
        count = static_cast<LONG>(std::min<std::size_t>(static_cast<std::size_t>(count),
                                                        maxResponseBytes_ - budget_.bytes));
    }
    const HRESULT hr = connection_->Read(buffer, count, actual, timeoutMs);
    if (ioLog_) ioLog_->Received(buffer, actual ? static_cast<std::size_t>(*actual) : 0, hr);
    if (budget_.active && actual) budget_.bytes += static_cast<std::size_t>(*actual);
    if (FAILED(hr)) answerAbandoned_ = true;
    return hr;
}

HRESULT CIoSession::ReadCounted(BYTE* buffer, LONG count, LONG* actual) {
    const HRESULT hr = ReadIgnoringTermChar(*this, buffer, count, actual);
    if (hr == kStatusMoreData && count > 0 && *actual == count && MayHaveStoppedAtTermChar(*this, buffer[count - 1]))
        return S_OK;
    return hr;
}

void CIoSession::SetMaxResponseBytes(std::size_t limit) {
    maxResponseBytes_ = limit ? limit : kDefaultMaxResponseBytes;
    com::recycler::RaiseLimit(maxResponseBytes_);  // a reply this long may be kept for the next
}

HRESULT CIoSession::NextReadTimeout(LONG requested, LONG* timeoutMs) {
    if (budget_.bytes >= maxResponseBytes_) {
        return ReportIoFailure(reporter_, FormatText("The response is longer than MaxResponseBytes (%zu bytes); the "
                                                     "rest of it is discarded.",
                                                     maxResponseBytes_));
    }
    if (requested != kUseSessionTimeout || budget_.unlimitedTime) return S_OK;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(budget_.deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
        const std::string text =
            FormatText("The response did not end within the timeout of %ld ms.", static_cast<long>(budget_.timeoutMs));
        return reporter_ ? reporter_->Report<errors::MessageId::IoTimeout>({}, text)
                         : errors::StatusOfMessage(static_cast<unsigned>(errors::MessageId::IoTimeout)).status;
    }
    // The first read of an operation keeps the session timeout as it is (no change to make).
    if (left.count() < budget_.timeoutMs) *timeoutMs = static_cast<LONG>(left.count());
    return S_OK;
}

CIoSession::ReadOperation::ReadOperation(CIoSession& session) : session_(session), outermost_(!session.budget_.active) {
    if (!outermost_) return;
    ReadBudget& budget = session_.budget_;
    budget = ReadBudget{};
    budget.active = true;
    LONG timeoutMs = -1;
    if (FAILED(session_.GetTimeout(&timeoutMs))) timeoutMs = -1;
    budget.unlimitedTime = timeoutMs < 0;
    budget.timeoutMs = timeoutMs;
    budget.deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max<LONG>(timeoutMs, 0));
}

CIoSession::ReadOperation::~ReadOperation() {
    if (outermost_) session_.budget_ = ReadBudget{};
}

HRESULT CIoSession::Write(const BYTE* data, LONG count, LONG* written, LONG timeoutMs) {
    if (!connection_) return NotConnected();
    if (answerAbandoned_) {
        if (buffer_) buffer_->DiscardUnread();
        // Until the abandoned answer is known to be gone, nothing new is sent: its answer would
        // be taken for the new one's. The next write tries again.
        if (const HRESULT discarded = connection_->DiscardLateInput(); FAILED(discarded)) {
            if (written) *written = 0;
            return discarded;
        }
        answerAbandoned_ = false;
    }
    const HRESULT hr = connection_->Write(data, count, written, timeoutMs);
    if (ioLog_) ioLog_->Sent(data, written ? static_cast<std::size_t>(*written) : 0, hr);
    if (FAILED(hr)) answerAbandoned_ = true;  // what did go out may still be answered
    return hr;
}

HRESULT CIoSession::SetBufferSize(LONG mask, LONG size) {
    return IsOpen() ? buffer_->SetBufferSize(mask, size) : NotConnected();
}

HRESULT CIoSession::GetReadBufferCapacity(LONG* capacity) {
    return IsOpen() ? buffer_->GetReadCapacity(capacity) : NotConnected();
}

HRESULT CIoSession::GetWriteBufferCapacity(LONG* capacity) {
    return IsOpen() ? buffer_->GetWriteCapacity(capacity) : NotConnected();
}

HRESULT CIoSession::FlushWrite(bool sendEnd, LONG timeoutMs) {
    if (!IsOpen()) return NotConnected();
    ScopedTimeout timeout(*this, timeoutMs);
    return FAILED(timeout.status()) ? timeout.status() : buffer_->FlushWrite(sendEnd);
}

HRESULT CIoSession::FlushRead(LONG timeoutMs) {
    if (!IsOpen()) return NotConnected();
    ScopedTimeout timeout(*this, timeoutMs);
    ReadOperation operation(*this);
    return FAILED(timeout.status()) ? timeout.status() : buffer_->FlushRead();
}

HRESULT CIoSession::Lock(LONG accessMode, LONG timeoutMs, std::string_view requestedKey, std::string* accessKey) {
    if (!IsOpen()) return NotConnected();
    if (accessMode != static_cast<LONG>(LockMode::Exclusive) && accessMode != static_cast<LONG>(LockMode::Shared))
        return ReportIoFailure(reporter_, "Unsupported VISA session access mode.");
    return connection_->Lock(static_cast<LockMode>(accessMode), timeoutMs, requestedKey, accessKey);
}

HRESULT CIoSession::Unlock() { return IsOpen() ? connection_->Unlock() : NotConnected(); }

// ----- formatted I/O

HRESULT CIoSession::PollInstrumentStatus() {
    if (!poller_ || polling_) return S_OK;
    polling_ = true;
    const HRESULT hr = poller_->PollInstrumentStatus();
    polling_ = false;
    return hr;
}

HRESULT CIoSession::PrintfV(LONG timeoutMs, const char* format, va_list args) {
    if (!IsOpen()) return NotConnected();
    HRESULT hr;
    {
        ScopedTimeout timeout(*this, timeoutMs);
        if (FAILED(hr = timeout.status())) return hr;
        ArgumentCursor cursor(args);
        hr = FormattedOutput(buffer_.get(), format, cursor, Services());
        if (FAILED(hr)) buffer_->DiscardWaitingWrite();
        if (SUCCEEDED(hr)) hr = buffer_->FlushWrite(true);
    }
    return FAILED(hr) ? hr : PollInstrumentStatus();
}

HRESULT CIoSession::ScanfV(LONG timeoutMs, const char* format, va_list args) {
    if (!IsOpen()) return NotConnected();
    HRESULT hr;
    {
        ScopedTimeout timeout(*this, timeoutMs);
        if (FAILED(hr = timeout.status())) return hr;
        ArgumentCursor cursor(args);
        ReadOperation operation(*this);
        hr = FormattedInput(buffer_.get(), format, cursor, Services());
        if (SUCCEEDED(hr)) hr = buffer_->FlushRead();
    }
    return FAILED(hr) ? hr : PollInstrumentStatus();
}

HRESULT CIoSession::QueryfV(LONG timeoutMs, const char* command, const char* response, va_list args) {
    if (!IsOpen()) return NotConnected();
    HRESULT hr;
    {
        ScopedTimeout timeout(*this, timeoutMs);
        if (FAILED(hr = timeout.status())) return hr;
        ArgumentCursor cursor(args);
        const FormatServices services = Services();
        {
            ReadOperation drain(*this);
            hr = buffer_->FlushRead();
        }
        if (SUCCEEDED(hr)) {
            hr = FormattedOutput(buffer_.get(), command, cursor, services);
            if (FAILED(hr)) buffer_->DiscardWaitingWrite();
        }
        if (SUCCEEDED(hr)) hr = buffer_->FlushWrite(true);
        if (SUCCEEDED(hr)) {
            ReadOperation answer(*this);
            hr = FormattedInput(buffer_.get(), response, cursor, services);
        }
    }
    return FAILED(hr) ? hr : PollInstrumentStatus();
}

}  // namespace zpv::io
