// The trace file's XML: one tab per level, CR LF after every tag, "/>" for an element without
// children. Attribute values are escaped (& < > " and control characters), so every trace is
// well-formed whatever the values hold.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zpv::trace {

class CXmlWriter {
public:
    // Pieces collect in memory and go to the file in one write at Flush (once per record).
    void Attach(std::FILE* file) { file_ = file; }
    // What was written since the last Flush.
    const std::string& Pending() const { return pending_; }
    void Flush();
    // Bytes handed to the file so far.
    std::size_t Written() const { return written_; }

    void Raw(std::string_view text) { pending_.append(text); }
    void Open(std::string_view name);
    void Attribute(std::string_view name, std::string_view value);
    void Close();
    std::size_t Depth() const { return stack_.size(); }
    // False once a write failed.
    bool Good() const { return good_; }

    static std::string Escaped(std::string_view value);

private:
    struct Element {
        std::string name;
        bool hasChildren = false;
    };
    void Indent();
    void AppendEscaped(std::string_view value);

    std::FILE* file_ = nullptr;
    bool good_ = true;
    bool tagOpen_ = false;
    std::string pending_;
    std::size_t written_ = 0;
    std::vector<Element> stack_;
};

}  // namespace zpv::trace
