// A message-based session to one open resource, as the resource manager hands it out.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/visa/session_attributes.h"
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

    // The session's attributes, read and written whole; a closed session refuses the change.
    virtual const SessionAttributes& Attributes() const = 0;
    virtual ViStatus SetAttributes(const SessionAttributes& attributes) = 0;
    // One attribute at a time, as VISA sets them.
    ViStatus SetTimeout(ViUInt32 timeoutMs) { return Change(&SessionAttributes::timeoutMs, timeoutMs); }
    ViUInt32 Timeout() const { return Attributes().timeoutMs; }
    ViStatus SetTermChar(ViByte termChar) { return Change(&SessionAttributes::termChar, termChar); }
    ViByte TermChar() const { return Attributes().termChar; }
    ViStatus SetTermCharEnabled(bool enabled) { return Change(&SessionAttributes::termCharEnabled, enabled); }
    bool TermCharEnabled() const { return Attributes().termCharEnabled; }
    ViStatus SetSendEndEnabled(bool enabled) { return Change(&SessionAttributes::sendEnd, enabled); }
    bool SendEndEnabled() const { return Attributes().sendEnd; }

    // Serial line settings (VI_ASRL_* values); VI_ERROR_NSUP_ATTR on other interfaces.
    virtual ViStatus SetSerialAttribute(SerialAttribute attribute, ViUInt32 value) = 0;
    virtual ViStatus GetSerialAttribute(SerialAttribute attribute, ViUInt32* value) const = 0;

    virtual InterfaceType Interface() const = 0;
    virtual std::string ResourceClass() const = 0;  // "INSTR", "SOCKET"
    virtual std::string ResourceName() const = 0;   // canonical descriptor

    // Device clear: the instrument's input and output queues and ours are emptied.
    virtual ViStatus Clear() = 0;
    // After a read that failed or timed out: whatever belongs to the abandoned answer, now or
    // when it arrives late, is dropped, so that the next read sees only the next answer.
    virtual ViStatus DiscardLateInput() = 0;
    virtual ViStatus ReadStatusByte(ViUInt16* statusByte) = 0;

    // lockType VI_EXCLUSIVE_LOCK or VI_SHARED_LOCK; waits up to timeoutMs for the lock. A shared
    // lock is joined with requestedKey (empty: a new key is made) and its key returned in accessKey.
    virtual ViStatus Lock(ViUInt32 lockType, ViUInt32 timeoutMs, std::string_view requestedKey,
                          std::string* accessKey) = 0;
    virtual ViStatus Unlock() = 0;

    // Releases the transport and any locks; afterwards every call gives VI_ERROR_INV_OBJECT.
    virtual ViStatus Close() = 0;

private:
    template <class T>
    ViStatus Change(T SessionAttributes::*field, T value) {
        SessionAttributes changed = Attributes();
        changed.*field = value;
        return SetAttributes(changed);
    }
};

}  // namespace zpv::visa
