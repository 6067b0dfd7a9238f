#include "platform/visa/usbtmc_session.h"

#include <fcntl.h>
#include <linux/usb/tmc.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

#include "platform/visa/usbtmc_device_finder.h"
#include "platform/text/sentence.h"

namespace zpv::visa {

namespace {

constexpr ViUInt32 kDriverMinimumTimeoutMs = 100;
constexpr ViUInt32 kDriverLongestTimeoutMs = 24u * 3600u * 1000u;
// bmTransferAttributes of the last transfer in, as USBTMC_IOCTL_MSG_IN_ATTR reports them.
constexpr std::uint8_t kAttributeEnd = 0x01;
constexpr std::uint8_t kAttributeTermChar = 0x02;

struct ErrnoRow {
    int error;
    ViStatus status;
};

constexpr ErrnoRow kErrnoStatuses[] = {
    {ETIMEDOUT, VI_ERROR_TMO},      {ENODEV, VI_ERROR_CONN_LOST},  {ESHUTDOWN, VI_ERROR_CONN_LOST},
    {ENXIO, VI_ERROR_CONN_LOST},    {EACCES, VI_ERROR_NPERMISSION}, {EPERM, VI_ERROR_NPERMISSION},
    {ENOMEM, VI_ERROR_ALLOC},       {EINVAL, VI_ERROR_INV_PARAMETER},
};

ViStatus ErrnoStatus(int error) {
    for (const ErrnoRow& row : kErrnoStatuses)
        if (row.error == error) return row.status;
    return VI_ERROR_IO;
}

ViUInt32 DriverTimeout(const Deadline& deadline) {
    int ms = deadline.PollMs();
    ViUInt32 wanted = ms < 0 ? kDriverLongestTimeoutMs : static_cast<ViUInt32>(ms);
    return std::clamp(wanted, kDriverMinimumTimeoutMs, kDriverLongestTimeoutMs);
}

int Ioctl(int fd, unsigned long request, void* argument) {
    int result;
    do {
        result = ::ioctl(fd, request, argument);
    } while (result < 0 && errno == EINTR);
    return result;
}

}  // namespace

ViStatus UsbtmcSession::Open(const ResourceDescriptor& descriptor, const OpenContext& context,
                             std::unique_ptr<MessageSession>* session) {
    std::string path;
    if (ViStatus status = FindUsbtmcDevice(descriptor, UsbtmcRoots::FromEnvironment(), &path, context.detail);
        Failed(status))
        return status;
    int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        *context.detail = "Cannot open " + path + " for " + descriptor.canonicalName + ": " +
                          text::Sentence(std::generic_category().message(error));
        return error == EACCES || error == EPERM ? VI_ERROR_NPERMISSION : VI_ERROR_RSRC_NFOUND;
    }
    // Any usbtmc node answers this; anything else does not.
    std::uint32_t timeout = 0;
    if (Ioctl(fd, USBTMC_IOCTL_GET_TIMEOUT, &timeout) != 0) {
        ::close(fd);
        *context.detail = path + " (found for " + descriptor.canonicalName + ") is not a usbtmc device.";
        return VI_ERROR_RSRC_NFOUND;
    }
    *session = std::make_unique<UsbtmcSession>(descriptor, fd);
    return VI_SUCCESS;
}

UsbtmcSession::UsbtmcSession(ResourceDescriptor descriptor, int fd) : SessionBase(std::move(descriptor)), fd_(fd) {}

UsbtmcSession::~UsbtmcSession() {
    if (fd_ >= 0) ::close(fd_);
}

ViStatus UsbtmcSession::ApplyTimeout(const Deadline& deadline) {
    ViUInt32 wanted = DriverTimeout(deadline);
    if (wanted == driverTimeoutMs_) return VI_SUCCESS;
    std::uint32_t value = wanted;
    if (Ioctl(fd_, USBTMC_IOCTL_SET_TIMEOUT, &value) != 0) return ErrnoStatus(errno);
    driverTimeoutMs_ = wanted;
    return VI_SUCCESS;
}

ViStatus UsbtmcSession::ApplyTermChar(const ReadStop& stop) {
    const int wanted = stop.termChar | (stop.termCharEnabled ? 0x100 : 0);
    if (wanted == termCharSetting_) return VI_SUCCESS;
    usbtmc_termchar setting{stop.termChar, static_cast<__u8>(stop.termCharEnabled ? 1 : 0)};
    // A device without the capability refuses; then we look for the character ourselves.
    deviceTermChar_ = Ioctl(fd_, USBTMC_IOCTL_CONFIG_TERMCHAR, &setting) == 0 || !stop.termCharEnabled;
    termCharSetting_ = wanted;
    return VI_SUCCESS;
}

ViStatus UsbtmcSession::ApplyEom(bool end) {
    if (eomSetting_ == static_cast<int>(end)) return VI_SUCCESS;
    std::uint8_t value = end ? 1 : 0;
    // Drivers older than the ioctl always send EOM; nothing better can be done with them.
    if (Ioctl(fd_, USBTMC_IOCTL_EOM_ENABLE, &value) != 0 && errno != ENOTTY) return ErrnoStatus(errno);
    eomSetting_ = end;
    return VI_SUCCESS;
}

ViStatus UsbtmcSession::ReadBytes(ViByte* buffer, std::size_t count, std::size_t* returned, const ReadStop& stop,
                                  const Deadline& deadline) {
    std::size_t done = 0;
    ViStatus status = ApplyTermChar(stop);
    const bool ourTermChar = stop.termCharEnabled && !deviceTermChar_;
    while (!Failed(status) && done < count) {
        std::size_t got = 0;
        std::uint8_t attributes = 0;
        if (!pending_.empty()) {
            got = std::min(pending_.size(), count - done);
            std::memcpy(buffer + done, pending_.data(), got);
            pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(got));
        } else {
            if (Failed(status = ApplyTimeout(deadline))) break;
            ssize_t n = ::read(fd_, buffer + done, count - done);
            if (n < 0) {
                if (errno == EINTR) continue;
                status = ErrnoStatus(errno);
                break;
            }
            got = static_cast<std::size_t>(n);
            if (Ioctl(fd_, USBTMC_IOCTL_MSG_IN_ATTR, &attributes) != 0) {
                // Without the ioctl, a short transfer is the best sign of END there is.
                attributes = got < count - done ? kAttributeEnd : 0;
            }
        }
        if (ourTermChar) {
            if (const void* hit = std::memchr(buffer + done, stop.termChar, got)) {
                const std::size_t keep =
                    static_cast<std::size_t>(static_cast<const ViByte*>(hit) - (buffer + done)) + 1;
                pending_.insert(pending_.begin(), buffer + done + keep, buffer + done + got);
                if (keep < got) attributes &= static_cast<std::uint8_t>(~kAttributeEnd);
                got = keep;
                attributes |= kAttributeTermChar;
            }
        }
        done += got;
        if (attributes & kAttributeEnd) {
            status = VI_SUCCESS;
            break;
        }
        if (attributes & kAttributeTermChar) {
            status = VI_SUCCESS_TERM_CHAR;
            break;
        }
        status = VI_SUCCESS_MAX_CNT;
        if (done < count && deadline.Expired()) status = VI_ERROR_TMO;
    }
    *returned = done;
    return status;
}

ViStatus UsbtmcSession::WriteBytes(const ViByte* data, std::size_t count, std::size_t* returned, bool end,
                                   const Deadline& deadline) {
    std::size_t done = 0;
    ViStatus status = ApplyEom(end);
    if (!Failed(status)) status = ApplyTimeout(deadline);
    while (!Failed(status) && done < count) {
        ssize_t n = ::write(fd_, data + done, count - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            status = ErrnoStatus(errno);
        } else if (n == 0) {
            status = VI_ERROR_IO;
        } else {
            done += static_cast<std::size_t>(n);
        }
    }
    *returned = done;
    return status;
}

ViStatus UsbtmcSession::ClearTransport(const Deadline& deadline) {
    pending_.clear();
    if (ViStatus status = ApplyTimeout(deadline); Failed(status)) return status;
    return Ioctl(fd_, USBTMC_IOCTL_CLEAR, nullptr) == 0 ? VI_SUCCESS : ErrnoStatus(errno);
}

ViStatus UsbtmcSession::ReadStatusByteFromPeer(ViUInt16* statusByte, const Deadline& deadline) {
    if (ViStatus status = ApplyTimeout(deadline); Failed(status)) return status;
    std::uint8_t stb = 0;
    if (Ioctl(fd_, USBTMC488_IOCTL_READ_STB, &stb) != 0) {
        // A device without the USB488 status byte request answers "*STB?" like any other.
        if (errno == EINVAL || errno == ENOTTY) return SessionBase::ReadStatusByteFromPeer(statusByte, deadline);
        return ErrnoStatus(errno);
    }
    *statusByte = stb;
    return VI_SUCCESS;
}

ViStatus UsbtmcSession::CloseTransport() {
    if (fd_ < 0) return VI_SUCCESS;
    int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0 || errno == EINTR ? VI_SUCCESS : VI_ERROR_CLOSING_FAILED;
}

}  // namespace zpv::visa
