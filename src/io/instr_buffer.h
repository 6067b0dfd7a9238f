// The session's pair of formatted I/O buffers over its byte transport. Commands accumulate in the
// write buffer and leave in as few transfers as possible, with END only on the last one;
// responses are read one buffer-full at a time, and the read terminator is dropped from a
// response only once its END was seen.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "errors/error_reporter.h"
#include "io/io_buffer.h"
#include "io/low_level_io.h"

namespace zpv::io {

class CInstrBuffer final : public IIoBuffer {
public:
    static constexpr LONG kDefaultCapacity = 4096;

    // Fails (returns null, after reporting) only when memory for the buffers runs out.
    static std::unique_ptr<CInstrBuffer> Create(ILowLevelIo& transport, errors::IErrorReporter& reporter,
                                                std::string_view readTerminator, std::string_view writeTerminator);

    HRESULT ReadByte(BYTE* value, LONG* actual) override;
    HRESULT ReadString(BSTR* text, LONG count, bool flushToEnd) override;
    HRESULT ReadBytes(SAFEARRAY** bytes, LONG count, bool flushToEnd) override;
    HRESULT Read(BYTE* buffer, LONG count, LONG* actual, bool flushToEnd) override;
    HRESULT PushBack() override;

    HRESULT Write(const BYTE* data, LONG count, LONG* written, bool flushWithEnd) override;
    HRESULT WriteByte(BYTE value, bool flushWithEnd) override;
    HRESULT WriteWideString(BSTR text, LONG* written, bool flushWithEnd) override;
    HRESULT WriteByteArray(SAFEARRAY* bytes, LONG* written, bool flushWithEnd) override;
    HRESULT WriteText(const char* text, LONG* written, bool flushWithEnd) override;

    // Write, counting how many of these bytes the device took (*delivered). A transfer the
    // transport cuts short is not reported here: the result is kShortTransfer, for the caller to
    // describe in its own terms.
    static constexpr HRESULT kShortTransfer = ZPV_HR(0x8004FFFF);
    HRESULT WriteCounted(const BYTE* data, LONG count, LONG* delivered, bool flushWithEnd);

    HRESULT ReadData(BYTE* buffer, LONG count, LONG* actual) override;
    HRESULT FlushRead() override;
    HRESULT FlushWrite(bool sendEnd) override;
    // Forgets what the read buffer holds (an abandoned answer).
    void DiscardUnread() { ResetRead(); }
    // Drops a command whose rendering failed, so it does not prefix the next one.
    void DiscardWaitingWrite() { waiting_ = 0; }
    HRESULT SetBufferSize(LONG mask, LONG size) override;
    HRESULT GetReadCapacity(LONG* capacity) override;
    HRESULT GetWriteCapacity(LONG* capacity) override;
    bool GetBigEndian() const override { return bigEndian_; }
    std::string_view Unread() const override {
        return position_ ? std::string_view(reinterpret_cast<const char*>(position_), static_cast<std::size_t>(available_))
                         : std::string_view();
    }
    void SetBigEndian(bool bigEndian) override { bigEndian_ = bigEndian; }

private:
    CInstrBuffer(ILowLevelIo& transport, errors::IErrorReporter& reporter, std::string_view readTerminator,
                 std::string_view writeTerminator);

    HRESULT AllocateReadBuffer(LONG capacity);
    HRESULT AllocateWriteBuffer(LONG capacity);
    void ResetRead();
    HRESULT Fill();
    HRESULT SendWaiting(bool sendEnd);
    HRESULT EndStatus() const { return available_ > 0 || !endSeen_ ? kStatusMoreData : S_OK; }

    ILowLevelIo& transport_;
    errors::IErrorReporter& reporter_;
    std::string readTerminator_;
    std::string writeTerminator_;

    std::unique_ptr<BYTE[]> read_;
    LONG readCapacity_ = 0;
    const BYTE* position_ = nullptr;  // next unread byte; null until the buffer is filled
    LONG available_ = 0;
    bool endSeen_ = true;  // the last fill ended the response
    int lastByte_ = -1;           // the last byte the last fill received (-1: none)
    LONG stripped_ = 0;           // terminator bytes the last fill held back from available_

    std::unique_ptr<BYTE[]> write_;  // capacity plus room for the terminator
    LONG writeCapacity_ = 0;
    LONG waiting_ = 0;
    // During WriteCounted: waiting bytes that are not the caller's (before), and the caller's
    // bytes delivered so far.
    struct Counting {
        LONG before = 0;
        LONG delivered = 0;
        bool cutShort = false;
    };
    Counting* counting_ = nullptr;

    bool bigEndian_ = true;
};

}  // namespace zpv::io
