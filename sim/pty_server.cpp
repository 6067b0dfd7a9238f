#include "zpv4870sim/pty_server.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>
#include <system_error>

#include "wake_pipe.h"
#include "zpv4870sim/client_session.h"

namespace zpv::sim {

namespace {

[[noreturn]] void ThrowErrno(const char* what) { throw std::system_error(errno, std::generic_category(), what); }

}  // namespace

PtyServer::PtyServer(Instrument& instrument) : instrument_(instrument), stop_(std::make_unique<WakePipe>()) {}

PtyServer::~PtyServer() { Stop(); }

void PtyServer::Start() {
    if (thread_.joinable()) throw std::logic_error("pty server already started");
    try {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master_ < 0) ThrowErrno("posix_openpt");
        if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0) ThrowErrno("unlockpt");
        char name[128];
        if (::ptsname_r(master_, name, sizeof name) != 0) ThrowErrno("ptsname_r");
        path_ = name;
        slave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (slave_ < 0) ThrowErrno("open pty");
        termios settings{};
        if (::tcgetattr(slave_, &settings) != 0) ThrowErrno("tcgetattr");
        ::cfmakeraw(&settings);
        if (::tcsetattr(slave_, TCSANOW, &settings) != 0) ThrowErrno("tcsetattr");
        if (::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK) != 0) ThrowErrno("fcntl");
        stop_->Open();
    } catch (...) {
        for (int* fd : {&master_, &slave_}) {
            if (*fd >= 0) ::close(*fd);
            *fd = -1;
        }
        throw;
    }
    thread_ = std::thread(&PtyServer::Serve, this);
}

void PtyServer::Stop() {
    if (!thread_.joinable()) return;
    stop_->Raise();
    thread_.join();
    ::close(master_);
    ::close(slave_);
    master_ = slave_ = -1;
    stop_->Close();
}

bool PtyServer::WriteAll(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(master_, bytes.data(), bytes.size());
        if (written > 0) {
            bytes.remove_prefix(static_cast<size_t>(written));
            continue;
        }
        if (written < 0 && errno != EAGAIN && errno != EINTR) return false;
        // The line's buffer is full until the client reads; wait without missing a stop.
        pollfd fds[] = {{master_, POLLOUT, 0}, {stop_->fd(), POLLIN, 0}};
        if (::poll(fds, 2, -1) > 0 && fds[1].revents) return false;
    }
    return true;
}

void PtyServer::Serve() {
    auto session = std::make_unique<ClientSession>(instrument_);
    const auto deliver = [&](const ClientSession::Reply& reply) {
        if (reply.delay.count() > 0 && !stop_->Sleep(reply.delay)) return false;
        return WriteAll(reply.bytes);
    };
    char buffer[4096];
    for (;;) {
        pollfd fds[] = {{master_, POLLIN, 0}, {stop_->fd(), POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) continue;
        if (fds[1].revents) return;
        const ssize_t received = ::read(master_, buffer, sizeof buffer);
        if (received < 0 && errno == EIO && !stop_->Sleep(std::chrono::milliseconds(10))) return;
        if (received <= 0) continue;
        if (!session->OnBytes(std::string_view(buffer, static_cast<size_t>(received)), deliver)) {
            if (stop_->Raised()) return;
            session = std::make_unique<ClientSession>(instrument_);  // a drop: start counting again
        }
    }
}

}  // namespace zpv::sim
