// DNS-SD over mDNS through the system's Avahi daemon: the instrument services (_lxi._tcp,
// _vxi-11._tcp, _hislip._tcp, _scpi-raw._tcp) announced on the local links, resolved to IPv4
// addresses and ports. Built with libavahi-client (ZPV4870_WITH_AVAHI); without it, or without
// a daemon, the browse says why and finds nothing.
#pragma once

#include <string>
#include <vector>

#include "platform/visa/deadline.h"
#include "platform/visa/visa_types.h"

namespace zpv::visa {

struct MdnsService {
    std::string type;     // "_hislip._tcp"
    std::string name;     // the instance name the instrument announced
    std::string address;  // "10.87.0.11"
    ViUInt16 port = 0;
};

// Browses until the deadline. Returns an empty text when browsing ran, else why it could not.
std::string BrowseInstrumentServices(const Deadline& deadline, std::vector<MdnsService>* found);

}  // namespace zpv::visa
