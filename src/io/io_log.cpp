#include "io/io_log.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "io/io_failure.h"
#include "io/io_status.h"

namespace zpv::io {

namespace {

std::atomic<unsigned> sessionCount{0};

std::string StatusText(HRESULT status) {
    if (status == S_OK) return "ok";
    if (status == kStatusMoreData) return "more";
    char text[24];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(status));
    return text;
}

}  // namespace

std::unique_ptr<IoLog> IoLog::Open(const std::string& path, std::string_view resource, std::string* why) {
    const std::string session = std::to_string(::getpid()) + "." + std::to_string(++sessionCount);
    if (path == "-") return std::unique_ptr<IoLog>(new IoLog(STDERR_FILENO, false, session, std::string(resource)));
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) {
        *why = "cannot open the I/O log '" + path + "': " + std::strerror(errno);
        return nullptr;
    }
    return std::unique_ptr<IoLog>(new IoLog(fd, true, session, std::string(resource)));
}

IoLog::IoLog(int fd, bool owned, std::string session, std::string resource)
    : fd_(fd), owned_(owned), session_(std::move(session)), resource_(std::move(resource)) {}

IoLog::~IoLog() {
    if (owned_) ::close(fd_);
}

// 2026-12-07T17:30:01.123456Z 4242.1 > TCPIP0::10.87.0.11::5025::SOCKET 13 "OUTP:FREQ 50\n" ok
void IoLog::Record(char direction, const BYTE* data, std::size_t count, HRESULT status) {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const long micros = static_cast<long>(
        std::chrono::duration_cast<std::chrono::microseconds>(now.time_since_epoch()).count() % 1000000);
    std::tm utc{};
    ::gmtime_r(&seconds, &utc);
    char stamp[40];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%S", &utc);
    std::string line;
    line.reserve(96 + resource_.size() + std::min(count, kShownBytes) * 2);
    char head[64];
    std::snprintf(head, sizeof head, "%s.%06ldZ ", stamp, micros);
    line += head;
    line += session_;
    line += ' ';
    line += direction;
    line += ' ';
    line += resource_;
    line += ' ';
    line += std::to_string(count);
    line += " \"";
    if (count) line += PrintableExcerpt(std::string_view(reinterpret_cast<const char*>(data), std::min(count, kShownBytes)),
                                        kShownBytes);
    line += '"';
    if (count > kShownBytes) line += " +" + std::to_string(count - kShownBytes) + " bytes not shown";
    line += ' ';
    line += StatusText(status);
    line += '\n';
    // One write per line; a log that cannot be written must not fail the transfer it describes.
    for (std::size_t done = 0; done < line.size();) {
        const ssize_t n = ::write(fd_, line.data() + done, line.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
}

}  // namespace zpv::io
