#include "zpv4870sim/lan_endpoints.h"

#include <stdexcept>
#include <string>

#include "zpv4870sim/rpcbind_registration.h"

namespace zpv::sim {

namespace {

constexpr std::uint16_t kSystemPortmapper = 111;

}  // namespace

LanEndpoints::LanEndpoints(Instrument& instrument, LanOptions options)
    : options_(options), vxi11_(instrument, options.vxi11Options, &lock_), hislip_(instrument, {}, &lock_) {}

LanEndpoints::~LanEndpoints() { Stop(); }

std::uint16_t LanEndpoints::PortmapperPort() const {
    if (!options_.vxi11) return 0;
    return options_.rpcbind ? kSystemPortmapper : portmapper_.Port();
}

void LanEndpoints::Start() {
    if (options_.vxi11) {
        vxi11_.Start(options_.vxi11Port, options_.listen);
        if (options_.rpcbind) {
            std::string why;
            if (!RegisterRpcProgram(kSystemPortmapper, Vxi11Server::kCoreProgram, Vxi11Server::kVersion, vxi11_.Port(),
                                    &why))
                throw std::runtime_error("cannot register VXI-11 with the system's portmapper: " + why);
            registered_ = true;
        } else {
            portmapper_.SetInsecure(options_.portmapperInsecure);
            portmapper_.Start(options_.portmapperPort, options_.listen);
            portmapper_.Set(Vxi11Server::kCoreProgram, Vxi11Server::kVersion, Portmapper::kTcp, vxi11_.Port());
        }
    }
    if (options_.hislip) hislip_.Start(options_.hislipPort, options_.listen);
}

void LanEndpoints::Stop() {
    if (registered_) {
        std::string why;
        UnregisterRpcProgram(kSystemPortmapper, Vxi11Server::kCoreProgram, Vxi11Server::kVersion, &why);
        registered_ = false;
    }
    hislip_.Stop();
    portmapper_.Stop();
    vxi11_.Stop();
}

}  // namespace zpv::sim
