// VXI-11 discovery as instruments expect it: one portmapper GETPORT for the VXI-11 core channel
// (program 0x0607AF version 1, TCP) sent over UDP to the broadcast address of every IPv4
// interface that is up, and to this host's loopback; every portmapper that knows the program
// answers, and its address is an instrument.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/visa/deadline.h"
#include "platform/visa/visa_types.h"

namespace zpv::visa {

struct BroadcastNotes {
    std::vector<std::string> interfaces;  // "br0 (10.87.0.255)" for every interface asked
    std::string problem;                  // why nothing could be sent, empty when it was
};

// Calls found once for each address ("10.87.0.11") that answers before the deadline, as the
// answers come. The request goes out twice (at the start and a third of the way), so a single
// lost datagram loses no instrument.
BroadcastNotes BroadcastForVxi11(ViUInt16 portmapperPort, const Deadline& deadline,
                                 const std::function<void(const std::string& address)>& found);

}  // namespace zpv::visa
