// Changing the store file without losing anything: one editor at a time across processes (an
// advisory lock on "<store>.lock"), and the new content written to a temporary file in the same
// directory, synced and renamed over the old one, so a crash leaves the old store whole.
#pragma once

#include <functional>
#include <string>

#include "platform/config/config_store.h"

namespace zpv::config {

// Loads the store at path (an empty one when the file does not exist), applies change and writes
// it back. Returns the error text, empty on success; change may throw std::runtime_error to refuse.
std::string EditStore(const std::string& path, const std::function<void(Store&)>& change);

}  // namespace zpv::config
