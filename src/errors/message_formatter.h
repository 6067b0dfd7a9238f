// Formats entries of the driver's message table the way a message-table resource is formatted:
// %1..%9 take text inserts, "%%" gives "%", and the result is trimmed of surrounding white space.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace zpv::errors {

using InsertList = std::span<const std::string_view>;

// Formats the text of message id. Inserts are substituted as they are, never formatted again.
// On failure out is untouched and failureReason says why.
bool FormatMessageString(unsigned id, std::string_view text, InsertList inserts, std::string& out,
                         std::string& failureReason);

// The same for the message table's entry of id; an id without an entry fails.
bool FormatFromTable(unsigned id, InsertList inserts, std::string& out, std::string& failureReason);

}  // namespace zpv::errors
