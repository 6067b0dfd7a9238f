// The simulator's LAN instrument endpoints as the program starts them: VXI-11 with a portmapper
// of its own (or registered with the system's rpcbind) and HiSLIP, sharing one instrument lock.
#pragma once

#include <cstdint>
#include <memory>

#include "zpv4870sim/hislip_server.h"
#include "zpv4870sim/instrument.h"
#include "zpv4870sim/instrument_lock.h"
#include "zpv4870sim/portmapper.h"
#include "zpv4870sim/vxi11_server.h"

namespace zpv::sim {

struct LanOptions {
    bool vxi11 = false;
    std::uint16_t vxi11Port = 0;         // 0: a free one
    std::uint16_t portmapperPort = 111;  // 0: a free one
    bool rpcbind = false;                // register with the portmapper already on 111 instead
    bool portmapperInsecure = false;     // accept SET and UNSET from any host (rpcbind -i)
    Vxi11Options vxi11Options;
    bool hislip = false;
    std::uint16_t hislipPort = HislipServer::kStandardPort;
    ListenAddress listen;  // every service binds here
};

class LanEndpoints {
public:
    LanEndpoints(Instrument& instrument, LanOptions options);
    ~LanEndpoints();  // stops

    // Throws std::system_error when a port cannot be bound, std::runtime_error when rpcbind refuses.
    void Start();
    void Stop();

    // 0 for what is not served.
    std::uint16_t Vxi11Port() const { return options_.vxi11 ? vxi11_.Port() : 0; }
    std::uint16_t PortmapperPort() const;
    std::uint16_t HislipPort() const { return options_.hislip ? hislip_.Port() : 0; }

private:
    LanOptions options_;
    InstrumentLock lock_;  // one lock for both protocols
    Vxi11Server vxi11_;
    Portmapper portmapper_;
    HislipServer hislip_;
    bool registered_ = false;
};

}  // namespace zpv::sim
