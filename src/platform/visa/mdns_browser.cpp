#include "platform/visa/mdns_browser.h"

#ifdef ZPV4870_WITH_AVAHI
#include <avahi-client/client.h>
#include <avahi-client/lookup.h>
#include <avahi-common/error.h>
#include <avahi-common/simple-watch.h>

#include <memory>
#include <mutex>
#endif

namespace zpv::visa {

#ifdef ZPV4870_WITH_AVAHI

namespace {

constexpr const char* kServiceTypes[] = {"_lxi._tcp", "_vxi-11._tcp", "_hislip._tcp", "_scpi-raw._tcp"};

struct Browse {
    AvahiClient* client = nullptr;
    std::vector<MdnsService>* found = nullptr;
};

void Resolved(AvahiServiceResolver* resolver, AvahiIfIndex, AvahiProtocol, AvahiResolverEvent event, const char* name,
              const char* type, const char*, const char*, const AvahiAddress* address, uint16_t port, AvahiStringList*,
              AvahiLookupResultFlags, void* context) {
    if (event == AVAHI_RESOLVER_FOUND && address && address->proto == AVAHI_PROTO_INET) {
        char text[AVAHI_ADDRESS_STR_MAX] = {};
        avahi_address_snprint(text, sizeof text, address);
        static_cast<Browse*>(context)->found->push_back({type ? type : "", name ? name : "", text, port});
    }
    avahi_service_resolver_free(resolver);
}

void Browsed(AvahiServiceBrowser*, AvahiIfIndex interface, AvahiProtocol protocol, AvahiBrowserEvent event,
             const char* name, const char* type, const char* domain, AvahiLookupResultFlags, void* context) {
    if (event != AVAHI_BROWSER_NEW) return;
    auto* browse = static_cast<Browse*>(context);
    // The resolver frees itself in Resolved; one that never answers goes with the
    // client.
    avahi_service_resolver_new(browse->client, interface, protocol, name, type, domain, AVAHI_PROTO_INET,
                               static_cast<AvahiLookupFlags>(0), Resolved, browse);
}

}  // namespace

std::string BrowseInstrumentServices(const Deadline& deadline, std::vector<MdnsService>* found) {
    std::unique_ptr<AvahiSimplePoll, void (*)(AvahiSimplePoll*)> poll(avahi_simple_poll_new(), avahi_simple_poll_free);
    if (!poll) return "mDNS: out of memory";
    Browse browse{nullptr, found};
    int error = 0;
    browse.client = avahi_client_new(
        avahi_simple_poll_get(poll.get()), static_cast<AvahiClientFlags>(0),
        [](AvahiClient*, AvahiClientState, void*) {}, nullptr, &error);
    if (!browse.client)
        return std::string("mDNS: no Avahi daemon answers here (") + avahi_strerror(error) +
               "); start avahi-daemon to find instruments that announce themselves";
    for (const char* type : kServiceTypes)
        avahi_service_browser_new(browse.client, AVAHI_IF_UNSPEC, AVAHI_PROTO_INET, type, nullptr,
                                  static_cast<AvahiLookupFlags>(0), Browsed, &browse);
    while (!deadline.Expired())
        if (avahi_simple_poll_iterate(poll.get(), deadline.PollMs()) != 0) break;
    avahi_client_free(browse.client);  // frees its browsers and any resolver still waiting
    return {};
}

#else

std::string BrowseInstrumentServices(const Deadline&, std::vector<MdnsService>*) {
    return "mDNS: this build has no Avahi support (configure with "
           "ZPV4870_WITH_AVAHI=ON and libavahi-client-dev)";
}

#endif

}  // namespace zpv::visa
