#include "trace/xml_writer.h"

#include <utility>

namespace zpv::trace {

void CXmlWriter::Flush() {
    if (file_ && !pending_.empty()) {
        if (std::fwrite(pending_.data(), 1, pending_.size(), file_) != pending_.size()) good_ = false;
        written_ += pending_.size();
    }
    pending_.clear();
}

void CXmlWriter::Indent() { pending_.append(stack_.size(), '\t'); }

void CXmlWriter::Open(std::string_view name) {
    if (tagOpen_) {
        Raw(">\r\n");
        stack_.back().hasChildren = true;
    }
    Indent();
    pending_ += '<';
    pending_.append(name);
    stack_.push_back({std::string(name), false});
    tagOpen_ = true;
}

void CXmlWriter::Attribute(std::string_view name, std::string_view value) {
    if (!tagOpen_) return;
    pending_ += ' ';
    pending_.append(name);
    pending_ += "=\"";
    AppendEscaped(value);
    pending_ += '"';
}

void CXmlWriter::Close() {
    if (stack_.empty()) return;
    Element element = std::move(stack_.back());
    stack_.pop_back();
    if (!element.hasChildren && tagOpen_) {
        Raw("/>\r\n");
    } else {
        Indent();
        Raw("</" + element.name + ">\r\n");
    }
    tagOpen_ = false;
}

std::string CXmlWriter::Escaped(std::string_view value) {
    CXmlWriter w;
    w.AppendEscaped(value);
    return w.pending_;
}

void CXmlWriter::AppendEscaped(std::string_view value) {
    std::string& out = pending_;
    for (unsigned char c : value) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default:
                if (c < 0x20) {
                    // Tab, line feed and carriage return survive as references; the other control
                    // characters are not allowed in XML 1.0 at all.
                    out += c == '\t' ? "&#9;" : c == '\n' ? "&#10;" : c == '\r' ? "&#13;" : "\xEF\xBF\xBD";
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
}

}  // namespace zpv::trace
