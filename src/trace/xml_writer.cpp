#include "trace/xml_writer.h"

#include <unistd.h>

#include <cerrno>
#include <utility>

namespace zpv::trace {

void CXmlWriter::BeginRecord() {
    whole_ = pending_.size();
    recordStart_ = pending_.size();
}

bool CXmlWriter::Flush() {
    std::size_t done = 0;
    while (fd_ >= 0 && good_ && done < whole_) {
        const ssize_t n = ::write(fd_, pending_.data() + done, whole_ - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int error = n == 0 ? ENOSPC : errno;
            // What reached the file of this batch is cut away: the file ends after a whole piece.
            if (::ftruncate(fd_, static_cast<off_t>(onDisk_)) == 0) ::lseek(fd_, static_cast<off_t>(onDisk_), SEEK_SET);
            good_ = false;
            errno = error;
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    if (good_) onDisk_ += done;
    written_ += whole_;
    pending_.erase(0, whole_);
    recordStart_ = recordStart_ >= whole_ ? recordStart_ - whole_ : 0;
    whole_ = 0;
    return good_;
}

void CXmlWriter::Indent() { pending_.append(stack_.size(), '\t'); }

void CXmlWriter::Open(std::string_view name) {
    EndStartTag();
    Indent();
    pending_ += '<';
    pending_.append(name);
    stack_.push_back({std::string(name), false});
    tagOpen_ = true;
}

void CXmlWriter::EndStartTag() {
    if (!tagOpen_) return;
    Raw(">\r\n");
    stack_.back().hasChildren = true;
    tagOpen_ = false;
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
