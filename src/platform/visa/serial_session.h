// ASRL[n]::INSTR and ASRL<device path>::INSTR: a serial port through termios, raw mode.
//
// END on reads follows the end-in mode: with VI_ASRL_END_TERMCHAR (the default) the termination
// character is END and the read returns VI_SUCCESS; with VI_ASRL_END_LAST_BIT a byte with its
// highest data bit set is END; with VI_ASRL_END_NONE only an enabled termination character stops
// the read (VI_SUCCESS_TERM_CHAR). END on writes follows the end-out mode: nothing (the default),
// the termination character appended, or the highest data bit set on the last byte. Sending a
// break as END is not supported.
#pragma once

#include "platform/visa/serial_line.h"
#include "platform/visa/session_base.h"
#include "platform/visa/stream_channel.h"

namespace zpv::visa {

class SerialSession final : public SessionBase {
    ZPV_TRANSPORT_SESSION_OPERATIONS
    ViStatus DiscardLateTransportInput(const Deadline& deadline) override;

public:
    // The device path: as given, or /dev/ttyS<n-1> for ASRL<n> (ASRL1 is the first port, as COM1
    // is); empty for ASRL0, which names no port.
    static std::string DevicePath(const ResourceDescriptor& descriptor);

    SerialSession(ResourceDescriptor descriptor, int fd);

protected:
    ViStatus ApplySerialAttribute(SerialAttribute attribute, ViUInt32 value) override;
    ViStatus QuerySerialAttribute(SerialAttribute attribute, ViUInt32* value) const override;

private:
    ViByte HighestDataBit() const { return static_cast<ViByte>(1u << (line_.dataBits - 1)); }

    StreamChannel channel_;
    SerialLine line_;
    ViUInt32 endIn_ = VI_ASRL_END_TERMCHAR;
    ViUInt32 endOut_ = VI_ASRL_END_NONE;
};

}  // namespace zpv::visa
