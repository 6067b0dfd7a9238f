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
    // Writes to file; with keepText, every piece is also appended to Text() until it is taken.
    void Attach(std::FILE* file) { file_ = file; }
    void KeepText(bool keep) { keepText_ = keep; }
    std::string TakeText() { return std::exchange(text_, std::string()); }

    void Raw(std::string_view text);
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

    std::FILE* file_ = nullptr;
    bool keepText_ = false;
    bool good_ = true;
    bool tagOpen_ = false;
    std::string text_;
    std::vector<Element> stack_;
};

}  // namespace zpv::trace
