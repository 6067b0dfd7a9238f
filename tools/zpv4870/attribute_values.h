// Attribute values between text and the C interface: parsed from what people type, read back as
// text and as JSON.
#pragma once

#include <string>

#include "attribute_catalog.h"
#include "c_session.h"

namespace zpv::cli {

struct AttributeValue {
    std::string text;  // "230", "HIGH", "true"
    std::string json;  // 230, "HIGH", true
};

// Throws UsageError when the text is no value of the attribute's type.
void CheckValue(const Attribute& attribute, const std::string& text);
void WriteAttribute(const CSession& session, const Resolved& resolved, const std::string& text);
AttributeValue ReadAttribute(const CSession& session, const Resolved& resolved);

}  // namespace zpv::cli
