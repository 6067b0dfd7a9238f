#include "platform/visa/resource_manager.h"

#include "platform/visa/transport_registry.h"

namespace zpv::visa {

ViStatus ResourceManager::Open(std::string_view descriptor, ViUInt32 openTimeoutMs,
                               std::unique_ptr<MessageSession>* session, ViUInt32 accessMode) {
    detail_.clear();
    if (!session) return VI_ERROR_USER_BUF;
    session->reset();
    if (accessMode & ~(VI_EXCLUSIVE_LOCK | VI_LOAD_CONFIG)) {
        detail_ = "Access mode " + std::to_string(accessMode) + " is not valid when opening a resource.";
        return VI_ERROR_INV_ACC_MODE;
    }

    ResourceDescriptor parsed;
    if (ViStatus status = ParseResourceDescriptor(descriptor, &parsed, &detail_); Failed(status)) return status;

    const TransportEntry* transport = FindTransport(parsed.kind);
    if (!transport || !transport->open) {
        detail_ = std::string("The ") + (transport ? transport->name : "required") +
                  " transport is not available; cannot open " + parsed.canonicalName + ".";
        return VI_ERROR_NSUP_OPER;
    }

    std::unique_ptr<MessageSession> opened;
    std::string why;
    ViStatus status = transport->open(parsed, OpenContext{openTimeoutMs, &why}, &opened);
    if (!Failed(status) && (accessMode & VI_EXCLUSIVE_LOCK)) {
        status = opened->Lock(VI_EXCLUSIVE_LOCK, openTimeoutMs, {}, nullptr);
        if (Failed(status)) why = "The resource is locked by another session.";
    }
    if (Failed(status)) {
        if (opened) opened->Close();
        detail_ = "Cannot open " + parsed.canonicalName + ": " + (why.empty() ? StatusDescription(status) : why);
        return status;
    }
    *session = std::move(opened);
    return status;
}

}  // namespace zpv::visa
