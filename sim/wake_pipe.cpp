#include "wake_pipe.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

namespace zpv::sim {

void WakePipe::Open() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) throw std::system_error(errno, std::generic_category(), "pipe2");
    read_ = fds[0];
    write_ = fds[1];
}

void WakePipe::Close() {
    for (int* fd : {&read_, &write_}) {
        if (*fd >= 0) ::close(*fd);
        *fd = -1;
    }
}

void WakePipe::Raise() {
    const char byte = 1;
    [[maybe_unused]] ssize_t written = ::write(write_, &byte, 1);
}

bool WakePipe::Sleep(std::chrono::milliseconds duration) const {
    const auto deadline = std::chrono::steady_clock::now() + duration;
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd pfd{read_, POLLIN, 0};
        const int ready = ::poll(&pfd, 1, static_cast<int>(std::max<long long>(left.count(), 0)));
        if (ready > 0) return false;
        if ((ready == 0 && left.count() <= 0) || (ready < 0 && errno != EINTR)) return true;
    }
}

}  // namespace zpv::sim
