// Completion and error codes of the I/O layer, with the values VISA gives them, and their texts.
#pragma once

#include <string>

#include "platform/visa/visa_types.h"

namespace zpv::visa {

inline constexpr ViStatus StatusValue(std::uint32_t bits) { return static_cast<ViStatus>(bits); }

inline constexpr ViStatus VI_SUCCESS = 0;
inline constexpr ViStatus VI_SUCCESS_TERM_CHAR = StatusValue(0x3FFF0005);
inline constexpr ViStatus VI_SUCCESS_MAX_CNT = StatusValue(0x3FFF0006);
inline constexpr ViStatus VI_SUCCESS_NESTED_SHARED = StatusValue(0x3FFF0099);
inline constexpr ViStatus VI_SUCCESS_NESTED_EXCLUSIVE = StatusValue(0x3FFF009A);

inline constexpr ViStatus VI_ERROR_SYSTEM_ERROR = StatusValue(0xBFFF0000);
inline constexpr ViStatus VI_ERROR_INV_OBJECT = StatusValue(0xBFFF000E);
inline constexpr ViStatus VI_ERROR_RSRC_LOCKED = StatusValue(0xBFFF000F);
inline constexpr ViStatus VI_ERROR_RSRC_NFOUND = StatusValue(0xBFFF0011);
inline constexpr ViStatus VI_ERROR_INV_RSRC_NAME = StatusValue(0xBFFF0012);
inline constexpr ViStatus VI_ERROR_INV_ACC_MODE = StatusValue(0xBFFF0013);
inline constexpr ViStatus VI_ERROR_TMO = StatusValue(0xBFFF0015);
inline constexpr ViStatus VI_ERROR_CLOSING_FAILED = StatusValue(0xBFFF0016);
inline constexpr ViStatus VI_ERROR_NSUP_ATTR = StatusValue(0xBFFF001D);
inline constexpr ViStatus VI_ERROR_NSUP_ATTR_STATE = StatusValue(0xBFFF001E);
inline constexpr ViStatus VI_ERROR_INV_LOCK_TYPE = StatusValue(0xBFFF0020);
inline constexpr ViStatus VI_ERROR_INV_ACCESS_KEY = StatusValue(0xBFFF0021);
inline constexpr ViStatus VI_ERROR_ABORT = StatusValue(0xBFFF0030);
inline constexpr ViStatus VI_ERROR_INV_SETUP = StatusValue(0xBFFF003A);
inline constexpr ViStatus VI_ERROR_ALLOC = StatusValue(0xBFFF003C);
inline constexpr ViStatus VI_ERROR_IO = StatusValue(0xBFFF003E);
inline constexpr ViStatus VI_ERROR_NCIC = StatusValue(0xBFFF0060);
inline constexpr ViStatus VI_ERROR_NSUP_OPER = StatusValue(0xBFFF0067);
inline constexpr ViStatus VI_ERROR_ASRL_PARITY = StatusValue(0xBFFF006A);
inline constexpr ViStatus VI_ERROR_ASRL_FRAMING = StatusValue(0xBFFF006B);
inline constexpr ViStatus VI_ERROR_ASRL_OVERRUN = StatusValue(0xBFFF006C);
inline constexpr ViStatus VI_ERROR_USER_BUF = StatusValue(0xBFFF0071);
inline constexpr ViStatus VI_ERROR_RSRC_BUSY = StatusValue(0xBFFF0072);
inline constexpr ViStatus VI_ERROR_INV_PARAMETER = StatusValue(0xBFFF0078);
inline constexpr ViStatus VI_ERROR_INV_PROT = StatusValue(0xBFFF0079);
inline constexpr ViStatus VI_ERROR_SESN_NLOCKED = StatusValue(0xBFFF009C);
inline constexpr ViStatus VI_ERROR_LIBRARY_NFOUND = StatusValue(0xBFFF009E);
inline constexpr ViStatus VI_ERROR_CONN_LOST = StatusValue(0xBFFF00A6);
inline constexpr ViStatus VI_ERROR_NPERMISSION = StatusValue(0xBFFF00A8);

inline constexpr bool Failed(ViStatus status) { return status < 0; }

// Readable text for a status; codes outside the table get a generic text naming the value.
std::string StatusDescription(ViStatus status);

}  // namespace zpv::visa
