#include "platform/visa/serial_session.h"
#include "platform/text/sentence.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <vector>

namespace zpv::visa {

namespace {

ViStatus OpenErrorStatus(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
        return VI_ERROR_NPERMISSION;
    case EBUSY:
        return VI_ERROR_RSRC_BUSY;
    case ENOMEM:
    case EMFILE:
    case ENFILE:
        return VI_ERROR_ALLOC;
    default:
        return VI_ERROR_RSRC_NFOUND;
    }
}

}  // namespace

std::string SerialSession::DevicePath(const ResourceDescriptor& descriptor) {
    if (!descriptor.serialPath.empty()) return descriptor.serialPath;
    if (descriptor.board == 0) return {};
    return "/dev/ttyS" + std::to_string(descriptor.board - 1);
}

ViStatus SerialSession::Open(const ResourceDescriptor& descriptor, const OpenContext& context,
                             std::unique_ptr<MessageSession>* session) {
    std::string path = DevicePath(descriptor);
    if (path.empty()) {
        *context.detail = "ASRL0 names no serial port; ASRL1 is /dev/ttyS0.";
        return VI_ERROR_RSRC_NFOUND;
    }
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        int error = errno;
        *context.detail = "Cannot open serial port " + path + ": " + text::Sentence(std::generic_category().message(error));
        return OpenErrorStatus(error);
    }
    if (!::isatty(fd)) {
        ::close(fd);
        *context.detail = path + " is not a serial port.";
        return VI_ERROR_RSRC_NFOUND;
    }
    auto opened = std::make_unique<SerialSession>(descriptor, fd);
    if (ViStatus status = ApplySerialLine(fd, opened->line_); Failed(status)) {
        *context.detail = "Cannot configure serial port " + path + " for 9600 baud, 8 data bits, no parity.";
        return status;
    }
    // Bytes left over from whoever used the port before would be taken for our first answer.
    ::tcflush(fd, TCIOFLUSH);
    *session = std::move(opened);
    return VI_SUCCESS;
}

SerialSession::SerialSession(ResourceDescriptor descriptor, int fd)
    : SessionBase(std::move(descriptor)), channel_(fd, StreamChannel::Kind::Tty) {}

ViStatus SerialSession::ReadBytes(ViByte* buffer, std::size_t count, std::size_t* returned, const ReadStop& stop,
                                  const Deadline& deadline) {
    StreamDelimiters delimiters;
    delimiters.termCharEnabled = stop.termCharEnabled || endIn_ == VI_ASRL_END_TERMCHAR;
    delimiters.termChar = stop.termChar;
    delimiters.termCharIsEnd = endIn_ == VI_ASRL_END_TERMCHAR;
    delimiters.endBits = endIn_ == VI_ASRL_END_LAST_BIT ? HighestDataBit() : 0;
    return channel_.Read(buffer, count, returned, delimiters, deadline);
}

ViStatus SerialSession::WriteBytes(const ViByte* data, std::size_t count, std::size_t* returned, bool end,
                                   const Deadline& deadline) {
    if (!end || endOut_ == VI_ASRL_END_NONE || count == 0) return channel_.Write(data, count, returned, deadline);
    if (endOut_ == VI_ASRL_END_LAST_BIT) {
        std::vector<ViByte> marked(data, data + count);
        marked.back() |= HighestDataBit();
        return channel_.Write(marked.data(), count, returned, deadline);
    }
    // End-out mode termination character: it follows the data and is not counted as written data.
    ViStatus status = channel_.Write(data, count, returned, deadline);
    if (Failed(status)) return status;
    ViByte term = TermChar();
    std::size_t sent = 0;
    return channel_.Write(&term, 1, &sent, deadline);
}

ViStatus SerialSession::ClearTransport(const Deadline&) {
    channel_.DiscardInput();
    ::tcflush(channel_.Fd(), TCOFLUSH);
    return VI_SUCCESS;
}

// A byte stream has no device clear: what belongs to the abandoned answer is read and dropped
// until the line has been quiet for a while, or briefly once an answer ended.
ViStatus SerialSession::DiscardLateTransportInput(const Deadline& deadline) {
    channel_.DiscardUntilQuiet(kLateAnswerQuietMs, kLateAnswerSettleMs, Attributes().termChar, deadline);
    return VI_SUCCESS;
}

ViStatus SerialSession::CloseTransport() { return channel_.Close(); }

ViStatus SerialSession::ApplySerialAttribute(SerialAttribute attribute, ViUInt32 value) {
    if (attribute == SerialAttribute::EndIn || attribute == SerialAttribute::EndOut) {
        // A break is never taken as END on input, and sending one is not supported.
        if (value != VI_ASRL_END_NONE && value != VI_ASRL_END_LAST_BIT && value != VI_ASRL_END_TERMCHAR)
            return VI_ERROR_NSUP_ATTR_STATE;
        (attribute == SerialAttribute::EndIn ? endIn_ : endOut_) = value;
        return VI_SUCCESS;
    }
    ViUInt32 SerialLine::*field = SerialLine::Field(attribute);
    if (!field) return VI_ERROR_NSUP_ATTR;
    SerialLine wanted = line_;
    wanted.*field = value;
    ViStatus status = ApplySerialLine(channel_.Fd(), wanted);
    if (!Failed(status)) line_ = wanted;
    return status;
}

ViStatus SerialSession::QuerySerialAttribute(SerialAttribute attribute, ViUInt32* value) const {
    if (attribute == SerialAttribute::EndIn || attribute == SerialAttribute::EndOut) {
        *value = attribute == SerialAttribute::EndIn ? endIn_ : endOut_;
        return VI_SUCCESS;
    }
    ViUInt32 SerialLine::*field = SerialLine::Field(attribute);
    if (!field) return VI_ERROR_NSUP_ATTR;
    *value = line_.*field;
    return VI_SUCCESS;
}

}  // namespace zpv::visa
