// Texts people read are built from pieces that may or may not end a sentence themselves (a
// system's error text, a peer's message): the full stop is added only where none is.
#pragma once

#include <string>
#include <string_view>

namespace zpv::text {

// text with one closing full stop: "refused" -> "refused.", "refused." stays, "What?" stays.
inline std::string Sentence(std::string_view text) {
    std::string out(text);
    while (!out.empty() && (out.back() == ' ' || out.back() == '\r' || out.back() == '\n')) out.pop_back();
    if (out.empty() || out.back() == '.' || out.back() == '!' || out.back() == '?') return out;
    return out + ".";
}

}  // namespace zpv::text
