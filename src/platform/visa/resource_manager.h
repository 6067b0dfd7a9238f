// Opens resources by descriptor: parses it, picks the transport from the registry and connects.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/visa/message_session.h"

namespace zpv::visa {

class ResourceManager {
public:
    // accessMode: VI_NO_LOCK or VI_EXCLUSIVE_LOCK (the lock is taken within openTimeoutMs), either
    // possibly with VI_LOAD_CONFIG, which has nothing to load here. openTimeoutMs also bounds the
    // connect. A descriptor that parses but whose transport row has no opener fails with
    // VI_ERROR_NSUP_OPER, so that it stays apart from a resource that is absent
    // (VI_ERROR_RSRC_NFOUND).
    ViStatus Open(std::string_view descriptor, ViUInt32 openTimeoutMs, std::unique_ptr<MessageSession>* session,
                  ViUInt32 accessMode = VI_NO_LOCK);

    // Why the last Open failed, naming the resource; empty after a success.
    const std::string& ErrorDetail() const { return detail_; }

private:
    std::string detail_;
};

}  // namespace zpv::visa
