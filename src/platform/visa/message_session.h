// A message-based session to one open resource, as the resource manager hands it out.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/visa/status.h"

namespace zpv::visa {

class MessageSession {
public:
    virtual ~MessageSession() = default;

    // Reads at most count bytes. Success values tell why the read stopped: VI_SUCCESS at the end of
    // a message (END), VI_SUCCESS_TERM_CHAR at the enabled termination character, VI_SUCCESS_MAX_CNT
    // when count bytes arrived and the message may go on. returned (may be null) is set in every
    // case, also on timeout or a lost connection, to what was stored in buffer.
    virtual ViStatus Read(void* buffer, std::size_t count, std::size_t* returned) = 0;

    // Writes count bytes; with end, the last byte carries END where the transport has one.
    virtual ViStatus Write(const void* data, std::size_t count, std::size_t* returned, bool end) = 0;
    // As above, with END as the send-END setting says.
    ViStatus Write(const void* data, std::size_t count, std::size_t* returned) {
        return Write(data, count, returned, SendEndEnabled());
    }

    // Milliseconds; VI_TMO_INFINITE waits forever, VI_TMO_IMMEDIATE takes only what is there.
    virtual ViStatus SetTimeout(ViUInt32 timeoutMs) = 0;
    virtual ViUInt32 Timeout() const = 0;
    virtual ViStatus SetTermChar(ViByte termChar) = 0;
    virtual ViByte TermChar() const = 0;
    virtual ViStatus SetTermCharEnabled(bool enabled) = 0;
    virtual bool TermCharEnabled() const = 0;
    virtual ViStatus SetSendEndEnabled(bool enabled) = 0;
    virtual bool SendEndEnabled() const = 0;

    // Serial line settings (VI_ASRL_* values); VI_ERROR_NSUP_ATTR on other interfaces.
    virtual ViStatus SetSerialAttribute(SerialAttribute attribute, ViUInt32 value) = 0;
    virtual ViStatus GetSerialAttribute(SerialAttribute attribute, ViUInt32* value) const = 0;

    virtual InterfaceType Interface() const = 0;
    virtual std::string ResourceClass() const = 0;  // "INSTR", "SOCKET"
    virtual std::string ResourceName() const = 0;   // canonical descriptor

    // Device clear: the instrument's input and output queues and ours are emptied.
    virtual ViStatus Clear() = 0;
    virtual ViStatus ReadStatusByte(ViUInt16* statusByte) = 0;

    // lockType VI_EXCLUSIVE_LOCK or VI_SHARED_LOCK; waits up to timeoutMs for the lock. A shared
    // lock is joined with requestedKey (empty: a new key is made) and its key returned in accessKey.
    virtual ViStatus Lock(ViUInt32 lockType, ViUInt32 timeoutMs, std::string_view requestedKey,
                          std::string* accessKey) = 0;
    virtual ViStatus Unlock() = 0;

    // Releases the transport and any locks; afterwards every call gives VI_ERROR_INV_OBJECT.
    virtual ViStatus Close() = 0;
};

}  // namespace zpv::visa
