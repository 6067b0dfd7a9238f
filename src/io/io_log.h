// The wire, as the user sees it when something goes wrong: one line per transfer sent or received
// (time stamp, session, direction, resource, byte count, the bytes escaped, status), written with
// one write() each, so a crash loses nothing already done and several sessions may share a file.
// A session without a log pays one test of a null pointer per transfer.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "zpv4870_runtime.h"

namespace zpv::io {

class IoLog {
public:
    // Opens `path` for appending ("-": standard error); null with the reason in *why when it cannot.
    static std::unique_ptr<IoLog> Open(const std::string& path, std::string_view resource, std::string* why);
    ~IoLog();
    IoLog(const IoLog&) = delete;
    IoLog& operator=(const IoLog&) = delete;

    void Sent(const BYTE* data, std::size_t count, HRESULT status) { Record('>', data, count, status); }
    void Received(const BYTE* data, std::size_t count, HRESULT status) { Record('<', data, count, status); }

    // The most bytes of one transfer a line shows; the rest is counted.
    static constexpr std::size_t kShownBytes = 4096;

private:
    IoLog(int fd, bool owned, std::string session, std::string resource);
    void Record(char direction, const BYTE* data, std::size_t count, HRESULT status);

    int fd_;
    bool owned_;
    std::string session_;
    std::string resource_;
};

}  // namespace zpv::io
