// VISA attributes a message-based session answers by identifier (viGetAttribute), and their
// values as one variant-like type the caller converts.
#pragma once

#include <string>

#include "platform/visa/message_session.h"

namespace zpv::visa {

using ViAttr = ViUInt32;

inline constexpr ViAttr VI_ATTR_RSRC_CLASS = 0xBFFF0001;
inline constexpr ViAttr VI_ATTR_RSRC_NAME = 0xBFFF0002;
inline constexpr ViAttr VI_ATTR_SEND_END_EN = 0x3FFF0016;
inline constexpr ViAttr VI_ATTR_TERMCHAR = 0x3FFF0018;
inline constexpr ViAttr VI_ATTR_TMO_VALUE = 0x3FFF001A;
inline constexpr ViAttr VI_ATTR_ASRL_BAUD = 0x3FFF0021;
inline constexpr ViAttr VI_ATTR_ASRL_DATA_BITS = 0x3FFF0022;
inline constexpr ViAttr VI_ATTR_ASRL_PARITY = 0x3FFF0023;
inline constexpr ViAttr VI_ATTR_ASRL_STOP_BITS = 0x3FFF0024;
inline constexpr ViAttr VI_ATTR_ASRL_FLOW_CNTRL = 0x3FFF0025;
inline constexpr ViAttr VI_ATTR_TERMCHAR_EN = 0x3FFF0038;
inline constexpr ViAttr VI_ATTR_ASRL_END_IN = 0x3FFF00B3;
inline constexpr ViAttr VI_ATTR_ASRL_END_OUT = 0x3FFF00B4;
inline constexpr ViAttr VI_ATTR_INTF_TYPE = 0x3FFF0171;

struct AttributeValue {
    enum class Kind { Number, Boolean, Text };
    Kind kind = Kind::Number;
    unsigned long long number = 0;
    bool boolean = false;
    std::string text;
};

// VI_ERROR_NSUP_ATTR for an identifier the session does not answer (serial attributes on other
// interfaces among them).
ViStatus ReadSessionAttribute(const MessageSession& session, ViAttr id, AttributeValue* value);

}  // namespace zpv::visa
