// What every transport's session shares: the attributes, the checks before each operation
// (closed session, foreign lock, bad buffer), the timeout turned into a deadline, and locking.
// A transport supplies the byte transfers and its own clear, status byte and close.
#pragma once

#include "platform/visa/deadline.h"
#include "platform/visa/message_session.h"
#include "platform/visa/resource_descriptor.h"
#include "platform/visa/resource_locks.h"
#include "platform/visa/transport_registry.h"

// What each transport's session class declares first: its opener (its row of the transport
// registry) and the byte transfers, clear and close that SessionBase runs under its checks and
// deadline. Access is protected after it.
#define ZPV_TRANSPORT_SESSION_OPERATIONS                                                               \
public:                                                                                                \
    static ViStatus Open(const ResourceDescriptor& descriptor, const OpenContext& context,            \
                         std::unique_ptr<MessageSession>* session);                                   \
                                                                                                       \
protected:                                                                                             \
    ViStatus ReadBytes(ViByte* buffer, std::size_t count, std::size_t* returned, const ReadStop& stop, \
                       const Deadline& deadline) override;                                             \
    ViStatus WriteBytes(const ViByte* data, std::size_t count, std::size_t* returned, bool end,       \
                        const Deadline& deadline) override;                                            \
    ViStatus ClearTransport(const Deadline& deadline) override;                                       \
    ViStatus CloseTransport() override;

namespace zpv::visa {

// Where a read may stop besides the count.
struct ReadStop {
    bool termCharEnabled = false;
    ViByte termChar = '\n';
};

class SessionBase : public MessageSession {
public:
    explicit SessionBase(ResourceDescriptor descriptor);
    ~SessionBase() override;
    SessionBase(const SessionBase&) = delete;
    SessionBase& operator=(const SessionBase&) = delete;

    using MessageSession::Write;
    ViStatus Read(void* buffer, std::size_t count, std::size_t* returned) final;
    ViStatus Write(const void* data, std::size_t count, std::size_t* returned, bool end) final;

    const SessionAttributes& Attributes() const final { return attributes_; }
    ViStatus SetAttributes(const SessionAttributes& attributes) final;

    ViStatus SetSerialAttribute(SerialAttribute attribute, ViUInt32 value) final;
    ViStatus GetSerialAttribute(SerialAttribute attribute, ViUInt32* value) const final;

    InterfaceType Interface() const final { return descriptor_.interfaceType; }
    std::string ResourceClass() const final { return descriptor_.resourceClass; }
    std::string ResourceName() const final { return descriptor_.canonicalName; }

    ViStatus Clear() final;
    ViStatus DiscardLateInput() final;
    ViStatus ReadStatusByte(ViUInt16* statusByte) final;
    // Process-local bookkeeping; a transport whose peer enforces locks as well overrides these and
    // calls them for the local part.
    ViStatus Lock(ViUInt32 lockType, ViUInt32 timeoutMs, std::string_view requestedKey,
                  std::string* accessKey) override;
    ViStatus Unlock() override;
    ViStatus Close() final;

protected:
    const ResourceDescriptor& Descriptor() const { return descriptor_; }

    virtual ViStatus ReadBytes(ViByte* buffer, std::size_t count, std::size_t* returned, const ReadStop& stop,
                               const Deadline& deadline) = 0;
    virtual ViStatus WriteBytes(const ViByte* data, std::size_t count, std::size_t* returned, bool end,
                                const Deadline& deadline) = 0;
    virtual ViStatus ClearTransport(const Deadline& deadline) = 0;
    // By default a device clear: the instrument drops the answer it still holds, and the
    // protocol what is in flight. Byte streams, which have neither, drain instead.
    virtual ViStatus DiscardLateTransportInput(const Deadline& deadline) { return ClearTransport(deadline); }
    virtual ViStatus CloseTransport() = 0;
    // Without a status byte line of its own, a transport asks with "*STB?" (IEEE 488.2).
    virtual ViStatus ReadStatusByteFromPeer(ViUInt16* statusByte, const Deadline& deadline);
    // Serial transports override these; others do not support the attributes.
    virtual ViStatus ApplySerialAttribute(SerialAttribute attribute, ViUInt32 value);
    virtual ViStatus QuerySerialAttribute(SerialAttribute attribute, ViUInt32* value) const;

private:
    ViStatus CheckUsable() const;

    ResourceDescriptor descriptor_;
    ResourceLocks::Owner owner_;
    bool open_ = true;
    SessionAttributes attributes_;
};

}  // namespace zpv::visa
