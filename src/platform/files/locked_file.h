// Changing a small shared file without losing anything: one writer at a time across processes
// (an advisory lock on "<file>.lock"), and the new content written to "<file>.new", synced and
// renamed over the old one, so a crash leaves the old content whole.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace zpv::files {

// change gets the current content (nullopt when the file does not exist) and returns the new one;
// it may throw std::runtime_error to leave the file as it is. Returns the error text, empty on success.
std::string UpdateLocked(const std::string& path, const std::function<std::string(const std::optional<std::string>&)>& change);

// The file's content, nullopt when it does not exist.
std::optional<std::string> ReadFile(const std::string& path);

}  // namespace zpv::files
