// The trace file's XML: one tab per level, CR LF after every tag, "/>" for an element without
// children. Attribute values are escaped (& < > " and control characters), so every trace is
// well-formed whatever the values hold.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zpv::trace {

class CXmlWriter {
public:
    // Pieces collect in memory; whole records go to the file descriptor at Flush. -1: no file.
    void Attach(int fd) {
        fd_ = fd;
        onDisk_ = 0;
    }
    // What was written since the last Flush.
    const std::string& Pending() const { return pending_; }
    // Marks where a record begins, and that all before it is whole.
    void BeginRecord();
    // The text of the record begun last.
    std::string_view Record() const { return std::string_view(pending_).substr(recordStart_); }
    // Marks everything so far as whole: Flush writes up to here.
    void EndRecord() { whole_ = pending_.size(); }
    // Writes what is whole. When the file takes less than all of it, the file is cut back to the
    // end of the last whole piece written before, so it never holds part of a record; then false
    // (errno says why) and the writer is no longer Good.
    bool Flush();
    // Bytes of whole records produced so far, written or waiting.
    std::size_t Written() const { return written_ + whole_; }
    // Bytes the file holds.
    std::size_t OnDisk() const { return onDisk_; }

    void Raw(std::string_view text) { pending_.append(text); }
    void Open(std::string_view name);
    void Attribute(std::string_view name, std::string_view value);
    void Close();
    // Ends the open start tag now, as if a child followed ("<A>" and a line end).
    void EndStartTag();
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

    int fd_ = -1;
    bool good_ = true;
    bool tagOpen_ = false;
    std::string pending_;
    std::size_t recordStart_ = 0;
    std::size_t whole_ = 0;    // pending_ up to here is whole
    std::size_t written_ = 0;  // bytes taken from pending_ by earlier flushes
    std::size_t onDisk_ = 0;
    std::vector<Element> stack_;
};

}  // namespace zpv::trace
