#include "platform/config/store_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace zpv::config {

namespace {

std::string SystemError(const std::string& what, const std::string& path) {
    return what + " " + path + ": " + std::strerror(errno);
}

// Held for the whole edit; released (and the descriptor closed) on every way out.
class FileLock {
public:
    explicit FileLock(const std::string& path) : fd_(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)) {
        if (fd_ >= 0 && ::flock(fd_, LOCK_EX) != 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    ~FileLock() {
        if (fd_ >= 0) ::close(fd_);  // closing releases the lock
    }
    bool Held() const { return fd_ >= 0; }

private:
    int fd_;
};

bool WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::string Directory(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

std::string EditStore(const std::string& path, const std::function<void(Store&)>& change) {
    if (path.empty()) return "no configuration store file is named";
    FileLock lock(path + ".lock");
    if (!lock.Held()) return SystemError("cannot lock", path + ".lock");

    LoadResult loaded = LoadStore(path);
    if (!loaded.error.empty()) return loaded.error;
    try {
        change(loaded.store);
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    const std::string text = SerializeStore(loaded.store);

    const std::string temporary = path + ".new";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return SystemError("cannot write", temporary);
    const bool written = WriteAll(fd, text) && ::fsync(fd) == 0;
    const int savedErrno = errno;
    ::close(fd);
    if (!written) {
        errno = savedErrno;
        const std::string error = SystemError("cannot write", temporary);
        ::unlink(temporary.c_str());
        return error;
    }
    // Tests stop a writer here to show that the old store survives.
    if (const char* pause = std::getenv("ZPV4870_STORE_WRITE_PAUSE_MS"))
        std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(pause)));
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        const std::string error = SystemError("cannot replace", path);
        ::unlink(temporary.c_str());
        return error;
    }
    // The rename itself reaches the disk with the directory.
    if (const int dir = ::open(Directory(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return {};
}

}  // namespace zpv::config
