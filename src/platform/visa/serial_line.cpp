#include "platform/visa/serial_line.h"

#include <termios.h>

#include <cerrno>

namespace zpv::visa {

namespace {

struct SpeedRow {
    ViUInt32 rate;
    speed_t speed;
};

constexpr SpeedRow kSpeeds[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},         {150, B150},
    {200, B200},         {300, B300},         {600, B600},         {1200, B1200},       {1800, B1800},
    {2400, B2400},       {4800, B4800},       {9600, B9600},       {19200, B19200},     {38400, B38400},
    {57600, B57600},     {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000}, {1500000, B1500000},
    {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000}, {3500000, B3500000}, {4000000, B4000000},
};

struct FlagRow {
    ViUInt32 value;
    tcflag_t flags;
};

constexpr FlagRow kDataBits[] = {{5, CS5}, {6, CS6}, {7, CS7}, {8, CS8}};

constexpr FlagRow kParities[] = {
    {VI_ASRL_PAR_NONE, 0},
    {VI_ASRL_PAR_ODD, PARENB | PARODD},
    {VI_ASRL_PAR_EVEN, PARENB},
    {VI_ASRL_PAR_MARK, PARENB | CMSPAR | PARODD},
    {VI_ASRL_PAR_SPACE, PARENB | CMSPAR},
};

// One and a half stop bits has no termios form.
constexpr FlagRow kStopBits[] = {{VI_ASRL_STOP_ONE, 0}, {VI_ASRL_STOP_TWO, CSTOPB}};

constexpr ViUInt32 kSupportedFlow = VI_ASRL_FLOW_XON_XOFF | VI_ASRL_FLOW_RTS_CTS;

template <class Row, std::size_t N>
const Row* Find(const Row (&rows)[N], ViUInt32 value) {
    for (const Row& row : rows)
        if (row.value == value) return &row;
    return nullptr;
}

const SpeedRow* FindSpeed(ViUInt32 rate) {
    for (const SpeedRow& row : kSpeeds)
        if (row.rate == rate) return &row;
    return nullptr;
}

struct AttributeField {
    SerialAttribute attribute;
    ViUInt32 SerialLine::*field;
};

constexpr AttributeField kFields[] = {
    {SerialAttribute::BaudRate, &SerialLine::baudRate}, {SerialAttribute::DataBits, &SerialLine::dataBits},
    {SerialAttribute::Parity, &SerialLine::parity},     {SerialAttribute::StopBits, &SerialLine::stopBits},
    {SerialAttribute::FlowControl, &SerialLine::flowControl},
};

constexpr tcflag_t kControlMask = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS;

}  // namespace

ViUInt32 SerialLine::*SerialLine::Field(SerialAttribute attribute) {
    for (const AttributeField& row : kFields)
        if (row.attribute == attribute) return row.field;
    return nullptr;
}

ViStatus ApplySerialLine(int fd, const SerialLine& line) {
    const SpeedRow* speed = FindSpeed(line.baudRate);
    const FlagRow* size = Find(kDataBits, line.dataBits);
    const FlagRow* parity = Find(kParities, line.parity);
    const FlagRow* stop = Find(kStopBits, line.stopBits);
    if (!speed || !size || !parity || !stop || (line.flowControl & ~kSupportedFlow)) return VI_ERROR_NSUP_ATTR_STATE;

    termios before{};
    if (::tcgetattr(fd, &before) != 0) return errno == ENOTTY ? VI_ERROR_NSUP_ATTR_STATE : VI_ERROR_IO;
    termios wanted = before;
    ::cfmakeraw(&wanted);
    wanted.c_cflag &= ~kControlMask;
    wanted.c_cflag |= CLOCAL | CREAD | size->flags | parity->flags | stop->flags;
    if (line.flowControl & VI_ASRL_FLOW_RTS_CTS) wanted.c_cflag |= CRTSCTS;
    wanted.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK);
    if (line.flowControl & VI_ASRL_FLOW_XON_XOFF) wanted.c_iflag |= IXON | IXOFF;
    if (line.parity != VI_ASRL_PAR_NONE) wanted.c_iflag |= INPCK;
    wanted.c_cc[VSTART] = 0x11;
    wanted.c_cc[VSTOP] = 0x13;
    // With VMIN 0 a non-blocking read of an empty tty returns 0, which would look like a hang-up;
    // with 1 it fails with EAGAIN. The channel waits with poll() and its own deadline.
    wanted.c_cc[VMIN] = 1;
    wanted.c_cc[VTIME] = 0;
    ::cfsetispeed(&wanted, speed->speed);
    ::cfsetospeed(&wanted, speed->speed);
    if (::tcsetattr(fd, TCSANOW, &wanted) != 0) return errno == EINVAL ? VI_ERROR_NSUP_ATTR_STATE : VI_ERROR_IO;

    // tcsetattr succeeds when any part of the change took; a device that dropped a setting has
    // refused it.
    termios now{};
    if (::tcgetattr(fd, &now) != 0) return VI_ERROR_IO;
    if ((now.c_cflag & kControlMask) != (wanted.c_cflag & kControlMask) ||
        (now.c_iflag & (IXON | IXOFF)) != (wanted.c_iflag & (IXON | IXOFF)) || ::cfgetospeed(&now) != speed->speed) {
        ::tcsetattr(fd, TCSANOW, &before);
        return VI_ERROR_NSUP_ATTR_STATE;
    }
    return VI_SUCCESS;
}

}  // namespace zpv::visa
