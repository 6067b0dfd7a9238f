// Publishes the simulator's services by DNS-SD through the Avahi daemon (--announce), as LXI
// instruments do, so discovery by mDNS finds it: _vxi-11._tcp (the portmapper's port),
// _hislip._tcp and _scpi-raw._tcp, with the maker, model and serial number in their TXT records.
// Another instrument already using the name makes Avahi's alternative name ("... #2") be used.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zpv::sim {

struct AnnouncedService {
    std::string type;  // "_hislip._tcp"
    std::uint16_t port = 0;
};

struct AnnouncedIdentity {
    std::string manufacturer, model, serial;
};

class ServiceAnnouncer {
public:
    ServiceAnnouncer();
    ~ServiceAnnouncer();  // withdraws the services
    ServiceAnnouncer(const ServiceAnnouncer&) = delete;
    ServiceAnnouncer& operator=(const ServiceAnnouncer&) = delete;

    // Throws std::runtime_error, saying why, when no Avahi daemon answers or this build has none.
    void Start(const AnnouncedIdentity& identity, std::vector<AnnouncedService> services);

    struct State;

private:
    std::unique_ptr<State> state_;
};

}  // namespace zpv::sim
