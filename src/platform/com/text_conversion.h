// Conversions between the driver's narrow text (UTF-8) and the object interface's wide strings.
#pragma once

#include <string>
#include <string_view>

#include "zpv4870_runtime.h"

namespace zpv::com {

// Invalid UTF-8 sequences become U+FFFD; nothing is dropped silently.
std::wstring WideFromUtf8(std::string_view text);
// Code points outside Unicode (or lone surrogates) become U+FFFD.
std::string Utf8FromWide(std::wstring_view text);

// A new BSTR holding the text; null only when memory runs out.
BSTR AllocBstr(std::string_view utf8);
BSTR AllocBstr(std::wstring_view wide);
// The BSTR's text (a null BSTR is the empty string, as in COM).
std::string Utf8FromBstr(BSTR bstr);
std::wstring_view ViewOf(BSTR bstr);

}  // namespace zpv::com
