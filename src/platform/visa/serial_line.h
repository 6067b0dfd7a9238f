// Serial line settings in VISA values and their translation to termios.
#pragma once

#include "platform/visa/status.h"

namespace zpv::visa {

struct SerialLine {
    ViUInt32 baudRate = 9600;
    ViUInt32 dataBits = 8;
    ViUInt32 parity = VI_ASRL_PAR_NONE;
    ViUInt32 stopBits = VI_ASRL_STOP_ONE;
    ViUInt32 flowControl = VI_ASRL_FLOW_NONE;

    // The field behind a line attribute; null for EndIn and EndOut, which are not line settings.
    static ViUInt32 SerialLine::*Field(SerialAttribute attribute);
};

// Puts fd in raw mode with these settings. VI_ERROR_NSUP_ATTR_STATE when a value has no termios
// form or the device does not take it; the device is then left as it was.
ViStatus ApplySerialLine(int fd, const SerialLine& line);

}  // namespace zpv::visa
