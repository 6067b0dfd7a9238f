// An in-process instrument connection for tests: records every transfer with its bytes, its END
// flag and the timeout in force, serves scripted responses, and injects failures on request.
#pragma once

#include <algorithm>
#include <cstring>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "io/instrument_connection.h"
#include "io/instrument_connector.h"

namespace zpv::test {

// What a read returns when no response is scripted (VISA's timeout status).
inline constexpr HRESULT kScriptedTimeout = ZPV_HR(0xBFFF0015);

class ScriptedTransport final : public io::IInstrumentConnection {
public:
    struct Transfer {
        std::string bytes;
        bool end;
        LONG timeoutMs;
    };

    // One piece of response. Each read delivers at most one piece: a piece with end set ends the
    // response after its last byte, one without reports the count reached.
    void Respond(std::string_view bytes, bool end = true) { responses_.push_back({std::string(bytes), end}); }
    void FailNextRead(HRESULT status) { readFailure_ = status; }
    void FailNextWrite(HRESULT status) { writeFailure_ = status; }
    // The next write takes only this many bytes and still succeeds.
    void ShortenNextWrite(LONG accepted) { shortWrite_ = accepted; }
    bool HasUnreadResponse() const { return !responses_.empty(); }
    void ClearResponses() { responses_.clear(); }

    std::string WrittenText() const {
        std::string text;
        for (const Transfer& transfer : writes) text += transfer.bytes;
        return text;
    }

    HRESULT Read(BYTE* buffer, LONG count, LONG* actual, LONG) override {
        *actual = 0;
        readTimeouts.push_back(timeoutMs);
        if (FAILED(readFailure_)) return std::exchange(readFailure_, S_OK);
        if (responses_.empty()) return kScriptedTimeout;
        Piece& piece = responses_.front();
        std::size_t n = std::min(static_cast<std::size_t>(count), piece.bytes.size() - piece.offset);
        bool terminated = false;
        if (terminationCharacterEnabled) {
            const void* found = std::memchr(piece.bytes.data() + piece.offset, terminationCharacter, n);
            if (found) {
                n = static_cast<std::size_t>(static_cast<const char*>(found) - piece.bytes.data()) - piece.offset + 1;
                terminated = true;
            }
        }
        std::memcpy(buffer, piece.bytes.data() + piece.offset, n);
        piece.offset += n;
        *actual = static_cast<LONG>(n);
        if (piece.offset < piece.bytes.size()) return terminated ? S_OK : io::kStatusMoreData;
        const bool end = piece.end;
        responses_.pop_front();
        return end || terminated ? S_OK : io::kStatusMoreData;
    }

    HRESULT Write(const BYTE* data, LONG count, LONG* written, LONG) override {
        *written = 0;
        if (FAILED(writeFailure_)) return std::exchange(writeFailure_, S_OK);
        const LONG taken = shortWrite_ >= 0 ? std::min(std::exchange(shortWrite_, -1), count) : count;
        writes.push_back({std::string(reinterpret_cast<const char*>(data), static_cast<std::size_t>(taken)),
                          sendEnd && taken == count, timeoutMs});
        *written = taken;
        return S_OK;
    }

    HRESULT GetAttributes(io::SessionAttributes* value) override {
        *value = {io::ToAttributeTimeout(timeoutMs), terminationCharacter, terminationCharacterEnabled, sendEnd};
        return S_OK;
    }
    HRESULT SetAttributes(const io::SessionAttributes& value) override {
        const LONG timeout = io::FromAttributeTimeout(value.timeoutMs);
        if (timeout != timeoutMs) timeoutChanges.push_back(timeout);
        timeoutMs = timeout;
        terminationCharacter = value.termChar;
        terminationCharacterEnabled = value.termCharEnabled;
        sendEnd = value.sendEnd;
        return S_OK;
    }

    HRESULT Close() override {
        if (closedFlag) *closedFlag = true;
        return S_OK;
    }
    HRESULT ReadStatusByte(SHORT* value) override { return *value = statusByte, S_OK; }
    HRESULT Lock(io::LockMode mode, LONG, std::string_view requestedKey, std::string* accessKey) override {
        lockedMode = mode == io::LockMode::Shared ? 2 : 1;
        if (accessKey) *accessKey = requestedKey.empty() ? "granted" : std::string(requestedKey);
        return S_OK;
    }
    HRESULT Unlock() override { return lockedMode = 0, S_OK; }
    HRESULT DiscardLateInput() override {
        ++lateInputDiscards;
        if (FAILED(discardFailure)) return std::exchange(discardFailure, S_OK);
        responses_.clear();
        return S_OK;
    }
    HRESULT GetInterfaceType(io::InterfaceType* type) override { return *type = interfaceType, S_OK; }
    HRESULT GetResourceClass(std::string* value) override { return *value = resourceClass, S_OK; }
    HRESULT GetResourceName(std::string* value) override { return *value = resourceName, S_OK; }

    std::vector<Transfer> writes;
    std::vector<LONG> readTimeouts;    // the timeout in force at each read
    std::vector<LONG> timeoutChanges;  // every change of the timeout, in order
    int lateInputDiscards = 0;
    HRESULT discardFailure = S_OK;  // the next DiscardLateInput fails with it
    LONG timeoutMs = 2000;
    BYTE terminationCharacter = '\n';
    bool terminationCharacterEnabled = false;
    bool sendEnd = true;
    SHORT statusByte = 0;
    LONG lockedMode = 0;
    bool* closedFlag = nullptr;  // set by Close; outlives the transport
    io::InterfaceType interfaceType = io::InterfaceType::Tcpip;
    std::string resourceClass = "INSTR";
    std::string resourceName = "TCPIP0::192.168.1.20::inst0::INSTR";

private:
    struct Piece {
        std::string bytes;
        bool end;
        std::size_t offset = 0;
    };
    std::deque<Piece> responses_;
    HRESULT readFailure_ = S_OK;
    HRESULT writeFailure_ = S_OK;
    LONG shortWrite_ = -1;
};

// Hands out one prepared transport to the session that opens a descriptor.
class ScriptedConnector final : public io::IInstrumentConnector {
public:
    ScriptedConnector() : next_(std::make_unique<ScriptedTransport>()), transport(next_.get()) {
        transport->closedFlag = &transportClosed;
    }

    HRESULT Connect(std::string_view descriptor, LONG openTimeoutMs, errors::IErrorReporter&,
                    std::unique_ptr<io::IInstrumentConnection>* connection) override {
        lastDescriptor = descriptor;
        lastOpenTimeoutMs = openTimeoutMs;
        if (!next_) return kScriptedTimeout;
        *connection = std::move(next_);
        return S_OK;
    }

private:
    std::unique_ptr<ScriptedTransport> next_;

public:
    ScriptedTransport* transport;  // owned by the session once connected, gone after Close
    bool transportClosed = false;
    std::string lastDescriptor;
    LONG lastOpenTimeoutMs = 0;
};

}  // namespace zpv::test
