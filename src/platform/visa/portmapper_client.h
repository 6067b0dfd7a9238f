// Asks a host's portmapper (program 100000 version 2, over TCP) where an RPC program listens.
//
// The portmapper is on port 111. The environment variable ZPV4870_VXI11_PORTMAPPER_PORT moves it,
// for hosts whose portmapper listens elsewhere and for tests, whose simulator runs a portmapper of
// its own on a free port.
#pragma once

#include <cstdint>
#include <string>

#include "platform/visa/deadline.h"
#include "platform/visa/status.h"

namespace zpv::visa {

inline constexpr ViUInt16 kPortmapperPort = 111;
inline constexpr const char* kPortmapperPortVariable = "ZPV4870_VXI11_PORTMAPPER_PORT";

// 111, or the port the environment gives; VI_ERROR_INV_SETUP when that is not a port number.
ViStatus PortmapperPort(ViUInt16* port, std::string* detail);

// The TCP port of program/version on host. VI_ERROR_RSRC_NFOUND when no portmapper answers there
// or the program is not registered with it; detail then says which in a few words.
ViStatus LookUpRpcPort(const std::string& host, ViUInt16 portmapperPort, std::uint32_t program,
                       std::uint32_t version, const Deadline& deadline, ViUInt16* port, std::string* detail);

}  // namespace zpv::visa
