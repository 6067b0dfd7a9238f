// The transports, one row per kind of resource. A new transport is its own file plus a row here.
#pragma once

#include <memory>
#include <string>

#include "platform/visa/message_session.h"
#include "platform/visa/resource_descriptor.h"

namespace zpv::visa {

struct OpenContext {
    ViUInt32 openTimeoutMs;
    std::string* detail;  // why the open failed, in words a user can act on ("connection refused by ...")
};

// Connects to the resource and hands back its session; the session's attributes start at the
// VISA defaults (timeout 2000 ms, termination character 0x0A disabled, send END on).
using TransportOpener = ViStatus (*)(const ResourceDescriptor& descriptor, const OpenContext& context,
                                     std::unique_ptr<MessageSession>* session);

struct TransportEntry {
    ResourceKind kind;
    const char* name;
    TransportOpener open;  // null: the descriptor parses, but the transport is not available yet
};

// The row for kind, or null when no row names it.
const TransportEntry* FindTransport(ResourceKind kind);

}  // namespace zpv::visa
