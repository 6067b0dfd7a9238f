#include "platform/visa/session_base.h"

#include <cctype>

namespace zpv::visa {

SessionBase::SessionBase(ResourceDescriptor descriptor)
    : descriptor_(std::move(descriptor)), owner_(ResourceLocks::NewOwner()) {}

SessionBase::~SessionBase() {
    if (open_) ResourceLocks::Instance().ReleaseAll(descriptor_.canonicalName, owner_);
}

ViStatus SessionBase::CheckUsable() const {
    if (!open_) return VI_ERROR_INV_OBJECT;
    if (!ResourceLocks::Instance().MayAccess(descriptor_.canonicalName, owner_)) return VI_ERROR_RSRC_LOCKED;
    return VI_SUCCESS;
}

ViStatus SessionBase::Read(void* buffer, std::size_t count, std::size_t* returned) {
    std::size_t done = 0;
    ViStatus status = CheckUsable();
    if (!Failed(status) && !buffer && count > 0) status = VI_ERROR_USER_BUF;
    if (!Failed(status))
        status = ReadBytes(static_cast<ViByte*>(buffer), count, &done, ReadStop{attributes_.termCharEnabled, attributes_.termChar},
                           Deadline::After(attributes_.timeoutMs));
    if (returned) *returned = done;
    return status;
}

ViStatus SessionBase::Write(const void* data, std::size_t count, std::size_t* returned, bool end) {
    std::size_t done = 0;
    ViStatus status = CheckUsable();
    if (!Failed(status) && !data && count > 0) status = VI_ERROR_USER_BUF;
    if (!Failed(status))
        status = WriteBytes(static_cast<const ViByte*>(data), count, &done, end, Deadline::After(attributes_.timeoutMs));
    if (returned) *returned = done;
    return status;
}

ViStatus SessionBase::SetAttributes(const SessionAttributes& attributes) {
    if (!open_) return VI_ERROR_INV_OBJECT;
    attributes_ = attributes;
    return VI_SUCCESS;
}

ViStatus SessionBase::SetSerialAttribute(SerialAttribute attribute, ViUInt32 value) {
    ViStatus status = CheckUsable();
    return Failed(status) ? status : ApplySerialAttribute(attribute, value);
}

ViStatus SessionBase::GetSerialAttribute(SerialAttribute attribute, ViUInt32* value) const {
    if (!open_) return VI_ERROR_INV_OBJECT;
    if (!value) return VI_ERROR_USER_BUF;
    return QuerySerialAttribute(attribute, value);
}

ViStatus SessionBase::ApplySerialAttribute(SerialAttribute, ViUInt32) { return VI_ERROR_NSUP_ATTR; }

ViStatus SessionBase::QuerySerialAttribute(SerialAttribute, ViUInt32*) const { return VI_ERROR_NSUP_ATTR; }

ViStatus SessionBase::Clear() {
    ViStatus status = CheckUsable();
    return Failed(status) ? status : ClearTransport(Deadline::After(attributes_.timeoutMs));
}

ViStatus SessionBase::DiscardLateInput() {
    const ViStatus status = CheckUsable();
    return Failed(status) ? status : DiscardLateTransportInput(Deadline::After(attributes_.timeoutMs));
}

ViStatus SessionBase::ReadStatusByte(ViUInt16* statusByte) {
    ViStatus status = CheckUsable();
    if (!Failed(status) && !statusByte) status = VI_ERROR_USER_BUF;
    return Failed(status) ? status : ReadStatusByteFromPeer(statusByte, Deadline::After(attributes_.timeoutMs));
}

ViStatus SessionBase::ReadStatusByteFromPeer(ViUInt16* statusByte, const Deadline& deadline) {
    static constexpr ViByte kQuery[] = {'*', 'S', 'T', 'B', '?', '\n'};
    std::size_t done = 0;
    ViStatus status = WriteBytes(kQuery, sizeof kQuery, &done, true, deadline);
    if (Failed(status)) return status;

    // The answer is one line; a longer one is read to its end so nothing of it is left behind.
    char reply[32];
    std::size_t length = 0;
    status = ReadBytes(reinterpret_cast<ViByte*>(reply), sizeof reply, &length, ReadStop{true, '\n'}, deadline);
    bool tooLong = false;
    for (ViStatus more = status; more == VI_SUCCESS_MAX_CNT; tooLong = true) {
        ViByte rest[64];
        more = status = ReadBytes(rest, sizeof rest, &done, ReadStop{true, '\n'}, deadline);
    }
    if (Failed(status)) return status;
    if (tooLong) return VI_ERROR_IO;

    std::size_t i = 0;
    while (i < length && std::isspace(static_cast<unsigned char>(reply[i]))) ++i;
    if (i < length && reply[i] == '+') ++i;
    unsigned value = 0;
    std::size_t digits = 0;
    for (; i < length && std::isdigit(static_cast<unsigned char>(reply[i])) && digits < 4; ++i, ++digits)
        value = value * 10 + static_cast<unsigned>(reply[i] - '0');
    while (i < length && std::isspace(static_cast<unsigned char>(reply[i]))) ++i;
    if (digits == 0 || i != length || value > 255) return VI_ERROR_IO;
    *statusByte = static_cast<ViUInt16>(value);
    return VI_SUCCESS;
}

ViStatus SessionBase::Lock(ViUInt32 lockType, ViUInt32 timeoutMs, std::string_view requestedKey,
                           std::string* accessKey) {
    if (!open_) return VI_ERROR_INV_OBJECT;
    return ResourceLocks::Instance().Lock(descriptor_.canonicalName, owner_, lockType, timeoutMs, requestedKey,
                                          accessKey);
}

ViStatus SessionBase::Unlock() {
    if (!open_) return VI_ERROR_INV_OBJECT;
    return ResourceLocks::Instance().Unlock(descriptor_.canonicalName, owner_);
}

ViStatus SessionBase::Close() {
    if (!open_) return VI_ERROR_INV_OBJECT;
    open_ = false;
    ResourceLocks::Instance().ReleaseAll(descriptor_.canonicalName, owner_);
    return CloseTransport();
}

}  // namespace zpv::visa
