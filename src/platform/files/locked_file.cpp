#include "platform/files/locked_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace zpv::files {

namespace {

std::string SystemError(const std::string& what, const std::string& path) {
    return what + " " + path + ": " + std::strerror(errno);
}

// Held for the whole update; closing the descriptor releases it, also when the process dies.
class FileLock {
public:
    explicit FileLock(const std::string& path) : fd_(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)) {
        if (fd_ >= 0 && ::flock(fd_, LOCK_EX) != 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    ~FileLock() {
        if (fd_ >= 0) ::close(fd_);
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

// The file a path stands for: symbolic links followed (relative ones from their own folder), so
// that an edit replaces the file the link points at and every editor locks the same name. A path
// whose final target does not exist yet resolves to where that target would be.
std::string Resolve(const std::string& path) {
    namespace fs = std::filesystem;
    fs::path current = path;
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code error;
        if (!fs::is_symlink(current, error)) break;
        const fs::path target = fs::read_symlink(current, error);
        if (error) break;
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    std::error_code error;
    const fs::path parent = fs::weakly_canonical(current.parent_path().empty() ? fs::path(".") : current.parent_path(), error);
    return error ? current.string() : (parent / current.filename()).string();
}

}  // namespace

std::optional<std::string> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string UpdateLocked(const std::string& named,
                         const std::function<std::string(const std::optional<std::string>&)>& change) {
    if (named.empty()) return "no file is named";
    const std::string path = Resolve(named);
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    FileLock lock(path + ".lock");
    if (!lock.Held()) return SystemError("cannot lock", path + ".lock");

    std::string text;
    try {
        text = change(ReadFile(path));
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    const std::string temporary = path + ".new";
    // The new file keeps the old one's mode and owner (a private store stays private).
    struct stat old {};
    const bool existed = ::stat(path.c_str(), &old) == 0;
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, existed ? 0600 : 0644);
    if (fd < 0) return SystemError("cannot write", temporary);
    if (existed) {
        if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
            // Only the owner's group may differ when we are not root; the mode still holds.
        }
        ::fchmod(fd, old.st_mode & 07777);
    }
    const bool written = WriteAll(fd, text) && ::fsync(fd) == 0;
    const int savedErrno = errno;
    ::close(fd);
    if (!written) {
        errno = savedErrno;
        const std::string error = SystemError("cannot write", temporary);
        ::unlink(temporary.c_str());
        return error;
    }
    // Tests stop a writer here to show that the old content survives.
    if (const char* pause = std::getenv("ZPV4870_STORE_WRITE_PAUSE_MS"))
        std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(pause)));
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        const std::string error = SystemError("cannot replace", path);
        ::unlink(temporary.c_str());
        return error;
    }
    // The rename reaches the disk with the directory.
    const std::string directory = std::filesystem::path(path).parent_path().string();
    if (const int dir = ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return {};
}

}  // namespace zpv::files
