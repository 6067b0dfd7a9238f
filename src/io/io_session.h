// The I/O session: the driver's only path to the instrument. IIoSession is what the command set
// calls; CIoSession is its platform-free implementation, which owns the formatted I/O buffers and
// talks to the instrument through a connection opened by descriptor.
#pragma once

#include <chrono>

#include <cstdarg>
#include <memory>
#include <string>
#include <string_view>

#include "keywords/enum_formatter.h"
#include "errors/error_reporter.h"
#include "io/enum_lookup_context.h"
#include "io/formatted_io.h"
#include "io/instr_buffer.h"
#include "io/instr_error_poller.h"
#include "io/instrument_connection.h"
#include "io/instrument_connector.h"
#include "io/io_buffer.h"
#include "io/io_log.h"
#include "io/io_status.h"
#include "io/typed_value.h"

namespace zpv::io {

// Timeouts: kUseSessionTimeout keeps the session's timeout; any other value holds for the one
// operation and the previous timeout is restored afterwards, also on failure.
class IIoSession {
public:
    virtual ~IIoSession() = default;

    virtual HRESULT Open(std::string_view descriptor, errors::IErrorReporter* reporter) = 0;
    virtual HRESULT Close() = 0;
    virtual bool IsOpen() const = 0;

    virtual HRESULT ReadStatusByte(SHORT* statusByte) = 0;

    // Default "\n". The buffers take copies when the session opens.
    virtual std::string GetReadTerminator() const = 0;
    virtual void SetReadTerminator(std::string_view terminator) = 0;
    virtual std::string GetWriteTerminator() const = 0;
    virtual void SetWriteTerminator(std::string_view terminator) = 0;
    virtual IIoBuffer* GetBuffer() = 0;  // null while not open

    // Timeout, termination character and its enable, send END, read and written whole; the
    // accessors below change one of them.
    virtual HRESULT GetAttributes(SessionAttributes* attributes) = 0;
    virtual HRESULT SetAttributes(const SessionAttributes& attributes) = 0;

    HRESULT SetTimeout(LONG timeoutMs) { return Change(&SessionAttributes::timeoutMs, ToAttributeTimeout(timeoutMs)); }
    HRESULT GetTimeout(LONG* timeoutMs) {
        return ReadAttribute(timeoutMs, [](const SessionAttributes& a) { return FromAttributeTimeout(a.timeoutMs); });
    }
    HRESULT SetTerminationCharacter(BYTE character) { return Change(&SessionAttributes::termChar, character); }
    HRESULT GetTerminationCharacter(BYTE* character) {
        return ReadAttribute(character, [](const SessionAttributes& a) { return a.termChar; });
    }
    HRESULT SetTerminationCharacterEnabled(bool enabled) { return Change(&SessionAttributes::termCharEnabled, enabled); }
    HRESULT GetTerminationCharacterEnabled(bool* enabled) {
        return ReadAttribute(enabled, [](const SessionAttributes& a) { return a.termCharEnabled; });
    }
    HRESULT SetSendEndEnabled(bool enabled) { return Change(&SessionAttributes::sendEnd, enabled); }
    HRESULT GetSendEndEnabled(bool* enabled) {
        return ReadAttribute(enabled, [](const SessionAttributes& a) { return a.sendEnd; });
    }

    virtual HRESULT SetBufferSize(LONG mask, LONG size) = 0;
    virtual HRESULT GetReadBufferCapacity(LONG* capacity) = 0;
    virtual HRESULT GetWriteBufferCapacity(LONG* capacity) = 0;
    virtual HRESULT FlushWrite(bool sendEnd, LONG timeoutMs) = 0;
    virtual HRESULT FlushRead(LONG timeoutMs) = 0;

    // accessMode as LockMode numbers it (0 exclusive, 1 shared).
    virtual HRESULT Lock(LONG accessMode, LONG timeoutMs, std::string_view requestedKey, std::string* accessKey) = 0;
    virtual HRESULT Unlock() = 0;

    // The instrument status poll that follows every formatted exchange.
    virtual HRESULT PollInstrumentStatus() = 0;

    // Formatted I/O (grammar in formatted_io.h). Printf sends with END; Scanf discards what the
    // format left of the response; Queryf discards any stale response first, sends the command,
    // then parses the answer and leaves its unparsed rest for the next Scanf.
    virtual HRESULT PrintfV(LONG timeoutMs, const char* format, va_list args) = 0;
    virtual HRESULT ScanfV(LONG timeoutMs, const char* format, va_list args) = 0;
    virtual HRESULT QueryfV(LONG timeoutMs, const char* command, const char* response, va_list args) = 0;
    HRESULT Printf(const char* format, ...);
    HRESULT PrintfTimed(LONG timeoutMs, const char* format, ...);
    HRESULT Scanf(const char* format, ...);
    HRESULT ScanfTimed(LONG timeoutMs, const char* format, ...);
    HRESULT Queryf(const char* command, const char* response, ...);
    HRESULT QueryfTimed(LONG timeoutMs, const char* command, const char* response, ...);

    // Typed convenience operations. They do not poll the instrument status. Reads consume the
    // whole response; numbers are read as doubles and must fit the destination's type.
    virtual HRESULT WriteValue(const TypedValue& value, bool flushWithEnd) = 0;
    // Elements joined by ','; element types UI1, I2, I4, I8, R4, R8, BSTR, BOOL.
    virtual HRESULT WriteList(SAFEARRAY* list, bool flushWithEnd) = 0;
    virtual HRESULT ReadValue(const TypedDestination& destination) = 0;
    virtual HRESULT ReadList(VARTYPE elementType, SAFEARRAY** list) = 0;
    // command, then a definite-length block of the array's elements.
    virtual HRESULT WriteBlock(std::string_view command, SAFEARRAY* data, bool flushWithEnd) = 0;
    // seekToBlock drops bytes up to the first '#'; without it the response must start there.
    virtual HRESULT ReadBlock(VARTYPE elementType, bool seekToBlock, bool flushToEnd, SAFEARRAY** data) = 0;
    // The command with END, then the matching typed read.
    HRESULT QueryValue(std::string_view command, const TypedDestination& destination);
    HRESULT QueryList(std::string_view command, VARTYPE elementType, SAFEARRAY** list);
    HRESULT QueryBlock(std::string_view command, VARTYPE elementType, SAFEARRAY** data);

private:
    template <class T, class V>
    HRESULT Change(T SessionAttributes::*field, V value) {
        SessionAttributes attributes;
        HRESULT hr = GetAttributes(&attributes);
        if (FAILED(hr)) return hr;
        attributes.*field = static_cast<T>(value);
        return SetAttributes(attributes);
    }
    template <class T, class Field>
    HRESULT ReadAttribute(T* value, Field field) {
        SessionAttributes attributes;
        const HRESULT hr = GetAttributes(&attributes);
        if (SUCCEEDED(hr)) *value = field(attributes);
        return hr;
    }
};

class CIoSession : public IIoSession, public ILowLevelIo {
public:
    static constexpr LONG kOpenTimeoutMs = 2000;

    // connector opens resources by descriptor; reporter may also be given at Open.
    CIoSession(errors::IErrorReporter* reporter, IInstrumentConnector* connector);
    ~CIoSession() override;
    CIoSession(const CIoSession&) = delete;
    CIoSession& operator=(const CIoSession&) = delete;

    void SetInstrErrorPoller(IInstrErrorPoller* poller) { poller_ = poller; }
    // Where failures are reported, also those of a session that is not open.
    void SetReporter(errors::IErrorReporter* reporter) { reporter_ = reporter; }
    // The resolver for "%{Name}s" and where the call context and model come from.
    void SetEnumResolver(const keywords::IEnumFormatter* enums, const IEnumLookupContext* context) {
        enums_ = enums;
        enumContext_ = context;
    }
    // Opens over a connection that is already established (what Open does after connecting).
    HRESULT Attach(std::unique_ptr<IInstrumentConnection> connection);

    HRESULT Open(std::string_view descriptor, errors::IErrorReporter* reporter) override;
    HRESULT Close() override;
    bool IsOpen() const override { return connection_ && buffer_; }

    HRESULT ReadStatusByte(SHORT* statusByte) override;

    std::string GetReadTerminator() const override { return readTerminator_; }
    void SetReadTerminator(std::string_view terminator) override { readTerminator_ = terminator; }
    std::string GetWriteTerminator() const override { return writeTerminator_; }
    void SetWriteTerminator(std::string_view terminator) override { writeTerminator_ = terminator; }
    IIoBuffer* GetBuffer() override { return buffer_.get(); }

    // Shared by both interfaces: the session's settings are its connection's.
    HRESULT GetAttributes(SessionAttributes* attributes) override;
    HRESULT SetAttributes(const SessionAttributes& attributes) override;

    // ILowLevelIo: unbuffered transfers on the connection.
    HRESULT Read(BYTE* buffer, LONG count, LONG* actual, LONG timeoutMs) override;
    HRESULT Write(const BYTE* data, LONG count, LONG* written, LONG timeoutMs) override;
    // Reads count bytes in which the termination character is a byte like any other (the rest of
    // a definite-length block, whose header said how long it is). S_OK when they ended the
    // response: END came with them, or, where the termination character ends messages, the last
    // of them is that character.
    HRESULT ReadCounted(BYTE* buffer, LONG count, LONG* actual);

    HRESULT SetBufferSize(LONG mask, LONG size) override;
    HRESULT GetReadBufferCapacity(LONG* capacity) override;
    HRESULT GetWriteBufferCapacity(LONG* capacity) override;
    HRESULT FlushWrite(bool sendEnd, LONG timeoutMs) override;
    HRESULT FlushRead(LONG timeoutMs) override;

    HRESULT Lock(LONG accessMode, LONG timeoutMs, std::string_view requestedKey, std::string* accessKey) override;
    HRESULT Unlock() override;

    HRESULT PollInstrumentStatus() override;

    HRESULT PrintfV(LONG timeoutMs, const char* format, va_list args) override;
    HRESULT ScanfV(LONG timeoutMs, const char* format, va_list args) override;
    HRESULT QueryfV(LONG timeoutMs, const char* command, const char* response, va_list args) override;

    HRESULT WriteValue(const TypedValue& value, bool flushWithEnd) override;
    HRESULT WriteList(SAFEARRAY* list, bool flushWithEnd) override;
    HRESULT ReadValue(const TypedDestination& destination) override;
    HRESULT ReadList(VARTYPE elementType, SAFEARRAY** list) override;
    HRESULT WriteBlock(std::string_view command, SAFEARRAY* data, bool flushWithEnd) override;
    HRESULT ReadBlock(VARTYPE elementType, bool seekToBlock, bool flushToEnd, SAFEARRAY** data) override;

    // The most bytes one read operation takes before it fails (DriverSetup MaxResponseBytes).
    static constexpr std::size_t kDefaultMaxResponseBytes = 64u << 20;
    void SetMaxResponseBytes(std::size_t limit);
    // Logs every transfer of the sessions opened from now on to `path` ("-": standard error;
    // empty: no log). Fails, saying why, when the file cannot be opened.
    HRESULT SetIoLog(const std::string& path);
    std::size_t MaxResponseBytes() const { return maxResponseBytes_; }

protected:
    // One read operation (a formatted read, a drain, a direct read): its reads together take at
    // most the session timeout and MaxResponseBytes. Nested operations belong to the outermost.
    class ReadOperation {
    public:
        explicit ReadOperation(CIoSession& session);
        ~ReadOperation();
        ReadOperation(const ReadOperation&) = delete;
        ReadOperation& operator=(const ReadOperation&) = delete;

    private:
        CIoSession& session_;
        bool outermost_;
    };

private:
    struct ReadBudget {
        bool active = false;
        bool unlimitedTime = false;
        std::chrono::steady_clock::time_point deadline{};
        LONG timeoutMs = 0;
        std::size_t bytes = 0;
    };
    // The timeout for the next read of the operation, or a failure once its time or size is spent.
    HRESULT NextReadTimeout(LONG requested, LONG* timeoutMs);

    HRESULT NotConnected();
    HRESULT ConfigureTermination();
    FormatServices Services() const { return {reporter_, enums_, enumContext_}; }
    HRESULT Scan(const char* format, ...);
    HRESULT ReadNumber(double* value);

    errors::IErrorReporter* reporter_;
    IInstrumentConnector* connector_;
    IInstrErrorPoller* poller_ = nullptr;
    const keywords::IEnumFormatter* enums_ = nullptr;
    const IEnumLookupContext* enumContext_ = nullptr;
    std::string readTerminator_ = "\n";
    std::string writeTerminator_ = "\n";
    std::unique_ptr<IInstrumentConnection> connection_;
    std::unique_ptr<CInstrBuffer> buffer_;
    bool answerAbandoned_ = false;  // a read failed; its answer may still arrive
    std::size_t maxResponseBytes_ = kDefaultMaxResponseBytes;
    std::string ioLogPath_;
    std::unique_ptr<IoLog> ioLog_;  // null: no log
    ReadBudget budget_;
    bool polling_ = false;  // the poll's own queries do not poll again
};

}  // namespace zpv::io
