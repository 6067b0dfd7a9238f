// Registers an RPC program of the simulator with a portmapper already running on this host (the
// system's rpcbind on port 111), so that clients which only know port 111 find the VXI-11 server.
#pragma once

#include <cstdint>
#include <string>

namespace zpv::sim {

// PMAPPROC_SET for TCP; false, with the reason in why, when no portmapper answers or it refuses.
bool RegisterRpcProgram(std::uint16_t portmapperPort, std::uint32_t program, std::uint32_t version,
                        std::uint16_t port, std::string* why);
// PMAPPROC_UNSET.
bool UnregisterRpcProgram(std::uint16_t portmapperPort, std::uint32_t program, std::uint32_t version,
                          std::string* why);

}  // namespace zpv::sim
