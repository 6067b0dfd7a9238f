// Outgoing TCP connections for the LAN instrument transports: name resolution, a non-blocking
// connect bounded by a deadline, TCP_NODELAY, since every message waits for its answer, and
// keepalive probes, so a peer that died while the session was idle is noticed within
// idle + interval x probes seconds.
#pragma once

#include <string>

#include "platform/visa/deadline.h"
#include "platform/visa/status.h"

namespace zpv::visa {

inline constexpr int kKeepaliveIdleSeconds = 15;
inline constexpr int kKeepaliveIntervalSeconds = 3;
inline constexpr int kKeepaliveProbes = 3;

// On success fd holds a connected non-blocking socket. Failures: VI_ERROR_TMO when the host does
// not answer before the deadline, VI_ERROR_RSRC_NFOUND when it cannot be resolved or refuses,
// VI_ERROR_ALLOC when we are out of descriptors; detail then says which in a few words for the
// caller's sentence ("connection refused", "no answer in time").
ViStatus ConnectTcp(const std::string& host, ViUInt16 port, const Deadline& deadline, int* fd, std::string* detail);

// "host:port", with brackets around an IPv6 literal.
std::string HostPort(const std::string& host, ViUInt16 port);

}  // namespace zpv::visa
