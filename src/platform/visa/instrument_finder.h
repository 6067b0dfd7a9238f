// "What is out there?": the instruments a resource manager can reach, each with its resource
// strings and the identity it gives to *IDN?. LAN instruments are found by VXI-11 broadcast and,
// when asked, by DNS-SD over mDNS; every LAN address found is tried on the HiSLIP and raw SCPI
// ports too, and all are asked *IDN? at once, each with the same short timeout. Serial ports and
// USBTMC devices of this machine are listed as they are; USBTMC devices, being instruments by
// class, are asked *IDN? too, serial ports are not (a byte sent to an unknown serial device may
// mean something to it).
#pragma once

#include <string>
#include <vector>

#include "platform/visa/visa_types.h"

namespace zpv::visa {

struct FindOptions {
    ViUInt32 timeoutMs = 1000;  // how long answers are awaited, once for finding, once for *IDN?
    bool lan = true;     // the VXI-11 broadcast
    bool mdns = false;   // DNS-SD through Avahi
    bool local = true;  // serial ports and USBTMC devices
};

struct FoundInstrument {
    std::string address;                 // "10.87.0.11", or the device path of a local one
    std::vector<std::string> resources;  // best first: VXI-11, HiSLIP, SOCKET
    std::string manufacturer, model, serial, firmware;
    std::string problem;  // why *IDN? gave no identity; empty when it did or was not asked
};

struct FindResult {
    std::vector<FoundInstrument> instruments;  // LAN ones by address, then local ones
    std::vector<std::string> notes;            // what was asked where, and what could not be
};

FindResult FindInstruments(const FindOptions& options);

}  // namespace zpv::visa
