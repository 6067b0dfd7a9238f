#include "io/instr_buffer.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "io/counted_read.h"
#include "platform/com/text_conversion.h"

namespace zpv::io {

namespace {

// FlushRead drains the rest of a response in pieces of this size.
constexpr LONG kDrainChunk = 1000;

std::string CapacityText(const char* which, LONG capacity) {
    char text[96];
    std::snprintf(text, sizeof text, "Couldn't allocate formatted I/O %s buffer with a capacity of %ld bytes.", which,
                  static_cast<long>(capacity));
    return text;
}

}  // namespace

CInstrBuffer::CInstrBuffer(ILowLevelIo& transport, errors::IErrorReporter& reporter, std::string_view readTerminator,
                           std::string_view writeTerminator)
    : transport_(transport), reporter_(reporter), readTerminator_(readTerminator), writeTerminator_(writeTerminator) {}

std::unique_ptr<CInstrBuffer> CInstrBuffer::Create(ILowLevelIo& transport, errors::IErrorReporter& reporter,
                                                   std::string_view readTerminator, std::string_view writeTerminator) {
    std::unique_ptr<CInstrBuffer> buffer(new (std::nothrow)
                                             CInstrBuffer(transport, reporter, readTerminator, writeTerminator));
    if (!buffer) return nullptr;
    if (FAILED(buffer->AllocateReadBuffer(kDefaultCapacity)) || FAILED(buffer->AllocateWriteBuffer(kDefaultCapacity)))
        return nullptr;
    return buffer;
}

HRESULT CInstrBuffer::AllocateReadBuffer(LONG capacity) {
    read_.reset();
    ResetRead();
    read_.reset(new (std::nothrow) BYTE[static_cast<std::size_t>(capacity)]);
    if (!read_) return reporter_.Report<errors::MessageId::OutOfMemory>(CapacityText("read", capacity));
    readCapacity_ = capacity;
    return S_OK;
}

HRESULT CInstrBuffer::AllocateWriteBuffer(LONG capacity) {
    write_.reset();
    waiting_ = 0;
    write_.reset(new (std::nothrow) BYTE[static_cast<std::size_t>(capacity) + writeTerminator_.size()]);
    if (!write_) return reporter_.Report<errors::MessageId::OutOfMemory>(CapacityText("write", capacity));
    writeCapacity_ = capacity;
    return S_OK;
}

void CInstrBuffer::ResetRead() {
    position_ = nullptr;
    available_ = 0;
    endSeen_ = true;
    lastByte_ = -1;
    stripped_ = 0;
}

HRESULT CInstrBuffer::Fill() {
    if (!read_) return reporter_.Report<errors::MessageId::OutOfMemory>(CapacityText("read", readCapacity_));
    LONG received = 0;
    const HRESULT hr = transport_.Read(read_.get(), readCapacity_, &received, kUseSessionTimeout);
    if (FAILED(hr)) return hr;
    position_ = read_.get();
    endSeen_ = hr != kStatusMoreData;
    available_ = received;
    // Whether a termination character ended it is asked only when a block's data needs to know.
    lastByte_ = received > 0 ? read_[received - 1] : -1;
    stripped_ = 0;
    // A terminator is only known to be one when the response ended right behind it.
    const auto terminatorLength = static_cast<LONG>(readTerminator_.size());
    if (endSeen_ && terminatorLength > 0 && received >= terminatorLength &&
        std::equal(readTerminator_.begin(), readTerminator_.end(), read_.get() + received - terminatorLength)) {
        available_ -= terminatorLength;
        stripped_ = terminatorLength;
    }
    return S_OK;
}

HRESULT CInstrBuffer::ReadByte(BYTE* value, LONG* actual) {
    if (available_ > 0) {
        *value = *position_++;
        --available_;
        if (actual) *actual = 1;
        return EndStatus();
    }
    return Read(value, 1, actual, false);
}

HRESULT CInstrBuffer::Read(BYTE* buffer, LONG count, LONG* actual, bool flushToEnd) {
    if (actual) *actual = 0;
    if (!buffer) return reporter_.Report<errors::MessageId::NullPointer>({}, "Read", "pBuf");
    LONG delivered = 0;
    if (count >= 1 && available_ == 0) {
        const HRESULT hr = Fill();
        if (FAILED(hr)) return hr;
    }
    for (;;) {
        const LONG n = std::min(count - delivered, available_);
        if (n > 0) {
            std::memcpy(buffer + delivered, position_, static_cast<std::size_t>(n));
            position_ += n;
            available_ -= n;
            delivered += n;
        }
        if (delivered >= count || endSeen_) break;
        const HRESULT hr = Fill();
        if (FAILED(hr)) {
            if (actual) *actual = delivered;
            return hr;
        }
        if (available_ == 0) break;
    }
    if (actual) *actual = delivered;
    return flushToEnd ? FlushRead() : EndStatus();
}

HRESULT CInstrBuffer::ReadData(BYTE* buffer, LONG count, LONG* actual) {
    *actual = 0;
    if (!buffer) return reporter_.Report<errors::MessageId::NullPointer>({}, "Read", "pBuf");
    // The line feed that stopped the last fill is data.
    if (endSeen_ && lastByte_ >= 0 && MayHaveStoppedAtTermChar(transport_, static_cast<BYTE>(lastByte_))) {
        available_ += stripped_;
        stripped_ = 0;
        endSeen_ = false;
        lastByte_ = -1;
    }
    LONG delivered = std::min(std::max<LONG>(count, 0), available_);
    if (delivered > 0) {
        std::memcpy(buffer, position_, static_cast<std::size_t>(delivered));
        position_ += delivered;
        available_ -= delivered;
    }
    if (delivered < count && !endSeen_) {
        // The rest straight into the caller's storage.
        LONG got = 0;
        const HRESULT hr = ReadIgnoringTermChar(transport_, buffer + delivered, count - delivered, &got);
        delivered += got;
        if (FAILED(hr)) {
            *actual = delivered;
            return hr;
        }
        endSeen_ = hr == S_OK;  // END itself, never a termination character
        lastByte_ = -1;
    }
    *actual = delivered;
    return EndStatus();
}

HRESULT CInstrBuffer::ReadString(BSTR* text, LONG count, bool flushToEnd) {
    if (!text) return reporter_.Report<errors::MessageId::NullPointer>({}, "Read", "pbstrBuf");
    *text = nullptr;
    std::vector<BYTE> bytes(static_cast<std::size_t>(std::max<LONG>(count, 0)) + 1);
    LONG actual = 0;
    const HRESULT hr = Read(bytes.data(), count, &actual, flushToEnd);
    if (FAILED(hr)) return hr;
    *text = SysAllocStringByteLen(reinterpret_cast<const char*>(bytes.data()), static_cast<UINT>(actual));
    if (!*text) return reporter_.Report<errors::MessageId::OutOfMemory>("Could not allocate BSTR memory for Read.");
    return hr;
}

HRESULT CInstrBuffer::ReadBytes(SAFEARRAY** bytes, LONG count, bool flushToEnd) {
    if (!bytes) return reporter_.Report<errors::MessageId::NullPointer>({}, "Read", "ppsaBuf");
    *bytes = nullptr;
    std::vector<BYTE> data(static_cast<std::size_t>(std::max<LONG>(count, 0)) + 1);
    LONG actual = 0;
    const HRESULT hr = Read(data.data(), count, &actual, flushToEnd);
    if (FAILED(hr)) return hr;
    SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(actual));
    if (!array) return reporter_.Report<errors::MessageId::OutOfMemory>("Could not allocate SAFEARRAY memory for Read.");
    std::memcpy(array->pvData, data.data(), static_cast<std::size_t>(actual));
    *bytes = array;
    return hr;
}

HRESULT CInstrBuffer::PushBack() {
    if (!position_ || position_ == read_.get())
        return reporter_.Report<errors::MessageId::OutOfMemory>(
            "Can't push character back into read buffer.  Buffer has not been read from.");
    --position_;
    ++available_;
    return S_OK;
}

HRESULT CInstrBuffer::FlushRead() {
    HRESULT hr = S_OK;
    if (!endSeen_) {
        BYTE drain[kDrainChunk];
        do {
            LONG ignored = 0;
            hr = transport_.Read(drain, kDrainChunk, &ignored, kUseSessionTimeout);
        } while (hr == kStatusMoreData);
    }
    ResetRead();
    return hr;
}

HRESULT CInstrBuffer::Write(const BYTE* data, LONG count, LONG* written, bool flushWithEnd) {
    if (written) *written = 0;
    if (!data) return reporter_.Report<errors::MessageId::NullPointer>({}, "Write", "pBuf");
    if (!write_) return reporter_.Report<errors::MessageId::OutOfMemory>(CapacityText("write", writeCapacity_));
    LONG copied = 0;
    HRESULT hr = S_OK;
    while (copied < count) {
        const LONG n = std::min(count - copied, writeCapacity_ - waiting_);
        std::memcpy(write_.get() + waiting_, data + copied, static_cast<std::size_t>(n));
        waiting_ += n;
        copied += n;
        if (waiting_ == writeCapacity_) {
            hr = FlushWrite(false);
            if (FAILED(hr)) break;
        }
    }
    if (SUCCEEDED(hr) && flushWithEnd) hr = FlushWrite(true);
    if (written) *written = copied;
    return hr;
}

HRESULT CInstrBuffer::WriteCounted(const BYTE* data, LONG count, LONG* delivered, bool flushWithEnd) {
    Counting counting{waiting_, 0, false};
    counting_ = &counting;
    HRESULT hr = Write(data, count, nullptr, flushWithEnd);
    counting_ = nullptr;
    // Bytes still waiting (no END asked for) count as taken: they go out with the next flush.
    if (SUCCEEDED(hr) && !counting.cutShort) counting.delivered = count;
    *delivered = counting.delivered;
    return counting.cutShort ? kShortTransfer : hr;
}

HRESULT CInstrBuffer::WriteByte(BYTE value, bool flushWithEnd) {
    if (write_ && waiting_ < writeCapacity_ - 1 && !flushWithEnd) {
        write_[static_cast<std::size_t>(waiting_++)] = value;
        return S_OK;
    }
    return Write(&value, 1, nullptr, flushWithEnd);
}

HRESULT CInstrBuffer::WriteText(const char* text, LONG* written, bool flushWithEnd) {
    if (!text) return reporter_.Report<errors::MessageId::NullPointer>({}, "Write", "pszBuf");
    return Write(reinterpret_cast<const BYTE*>(text), static_cast<LONG>(std::strlen(text)), written, flushWithEnd);
}

HRESULT CInstrBuffer::WriteWideString(BSTR text, LONG* written, bool flushWithEnd) {
    if (!text) return reporter_.Report<errors::MessageId::NullPointer>({}, "Write", "bstrBuf");
    const std::string narrow = com::Utf8FromBstr(text);
    return Write(reinterpret_cast<const BYTE*>(narrow.data()), static_cast<LONG>(narrow.size()), written, flushWithEnd);
}

HRESULT CInstrBuffer::WriteByteArray(SAFEARRAY* bytes, LONG* written, bool flushWithEnd) {
    if (!bytes) return reporter_.Report<errors::MessageId::NullPointer>({}, "Write", "psaBuf");
    if (bytes->cDims != 1 || bytes->vt != VT_UI1) return E_INVALIDARG;
    return Write(static_cast<const BYTE*>(bytes->pvData), static_cast<LONG>(bytes->rgsabound[0].cElements), written,
                 flushWithEnd);
}

HRESULT CInstrBuffer::FlushWrite(bool sendEnd) {
    // Nothing waiting: nothing is sent, not even END (a command that filled the buffer exactly
    // has already gone out whole).
    if (waiting_ == 0) return S_OK;
    // Without END, the transport's send-END setting is off for this flush only.
    SessionAttributes attributes;
    bool endWasEnabled = false;
    if (!sendEnd) {
        const HRESULT hr = transport_.GetAttributes(&attributes);
        if (FAILED(hr)) return hr;
        endWasEnabled = attributes.sendEnd;
        if (endWasEnabled) {
            attributes.sendEnd = false;
            const HRESULT off = transport_.SetAttributes(attributes);
            if (FAILED(off)) return off;
        }
    }
    HRESULT hr = SendWaiting(sendEnd);
    if (endWasEnabled) {
        attributes.sendEnd = true;
        const HRESULT on = transport_.SetAttributes(attributes);
        if (SUCCEEDED(hr)) hr = on;
    }
    return hr;
}

HRESULT CInstrBuffer::SendWaiting(bool sendEnd) {
    const std::string_view terminator = writeTerminator_;
    LONG added = 0;
    if (sendEnd && !std::string_view(reinterpret_cast<const char*>(write_.get()), static_cast<std::size_t>(waiting_))
                        .ends_with(terminator)) {
        std::memcpy(write_.get() + waiting_, terminator.data(), terminator.size());
        added = static_cast<LONG>(terminator.size());
        waiting_ += added;
    }
    LONG sent = 0;
    const HRESULT hr = transport_.Write(write_.get(), waiting_, &sent, kUseSessionTimeout);
    if (FAILED(hr)) {
        // A command that failed to go out is never sent again in front of the next one, where
        // its answer would be taken for the next one's; what did go out is the session's to discard.
        waiting_ = 0;
        return hr;
    }
    const LONG total = waiting_;
    waiting_ = 0;
    if (counting_) {
        // The counted bytes of this transfer lie after the bytes that were waiting before them
        // and before an added terminator.
        const LONG first = counting_->before;
        const LONG last = total - added;
        counting_->delivered += std::clamp(sent, first, last) - first;
        counting_->before = 0;
        if (sent < total) {
            counting_->cutShort = true;
            return kShortTransfer;
        }
    }
    if (sent < total) {
        char text[128];
        std::snprintf(text, sizeof text,
                      "Flush of formatted I/O write buffer only successfully sent %ld of %ld bytes to the device.",
                      static_cast<long>(sent), static_cast<long>(total));
        return reporter_.Report<errors::MessageId::IoGeneral>({}, text);
    }
    return S_OK;
}

HRESULT CInstrBuffer::SetBufferSize(LONG mask, LONG size) {
    if (mask < 0 || mask > 2) return S_OK;
    if (size < 1) return E_INVALIDARG;
    if (mask != 1) {
        const HRESULT hr = FlushRead();
        if (FAILED(hr)) return hr;
        if (const HRESULT alloc = AllocateReadBuffer(size); FAILED(alloc)) return alloc;
    }
    if (mask != 0) {
        const HRESULT hr = FlushWrite(true);
        if (FAILED(hr)) return hr;
        if (const HRESULT alloc = AllocateWriteBuffer(size); FAILED(alloc)) return alloc;
    }
    return S_OK;
}

HRESULT CInstrBuffer::GetReadCapacity(LONG* capacity) {
    if (!capacity) return E_POINTER;
    *capacity = readCapacity_;
    return S_OK;
}

HRESULT CInstrBuffer::GetWriteCapacity(LONG* capacity) {
    if (!capacity) return E_POINTER;
    *capacity = writeCapacity_;
    return S_OK;
}

}  // namespace zpv::io
