#include "zpv4870sim/service_announcer.h"

#include <stdexcept>

#ifdef ZPV4870_WITH_AVAHI
#include <avahi-client/client.h>
#include <avahi-client/publish.h>
#include <avahi-common/alternative.h>
#include <avahi-common/error.h>
#include <avahi-common/malloc.h>
#include <avahi-common/thread-watch.h>
#endif

namespace zpv::sim {

#ifdef ZPV4870_WITH_AVAHI

// Everything below runs on Avahi's own thread, or before it starts.
struct ServiceAnnouncer::State {
    AvahiThreadedPoll* poll = nullptr;
    AvahiClient* client = nullptr;
    AvahiEntryGroup* group = nullptr;
    std::string name;
    AnnouncedIdentity identity;
    std::vector<AnnouncedService> services;

    void Publish(AvahiClient* c) {
        if (!group) group = avahi_entry_group_new(c, GroupChanged, this);
        if (!group) return;
        const std::string maker = "Manufacturer=" + identity.manufacturer, model = "Model=" + identity.model,
                          serial = "SerialNumber=" + identity.serial;
        for (const AnnouncedService& service : services)
            avahi_entry_group_add_service(group, AVAHI_IF_UNSPEC, AVAHI_PROTO_INET, static_cast<AvahiPublishFlags>(0),
                                          name.c_str(), service.type.c_str(), nullptr, nullptr, service.port,
                                          maker.c_str(), model.c_str(), serial.c_str(), nullptr);
        avahi_entry_group_commit(group);
    }

    void Rename() {
        char* other = avahi_alternative_service_name(name.c_str());
        name = other;
        avahi_free(other);
        avahi_entry_group_reset(group);
        Publish(client);
    }

    static void GroupChanged(AvahiEntryGroup*, AvahiEntryGroupState state, void* self) {
        if (state == AVAHI_ENTRY_GROUP_COLLISION) static_cast<State*>(self)->Rename();
    }

    static void ClientChanged(AvahiClient* c, AvahiClientState state, void* self) {
        auto* s = static_cast<State*>(self);
        if (state == AVAHI_CLIENT_S_RUNNING) s->Publish(c);
        if (state == AVAHI_CLIENT_S_COLLISION && s->group) avahi_entry_group_reset(s->group);
    }
};

ServiceAnnouncer::ServiceAnnouncer() = default;

ServiceAnnouncer::~ServiceAnnouncer() {
    if (!state_) return;
    avahi_threaded_poll_stop(state_->poll);
    if (state_->client) avahi_client_free(state_->client);  // frees the group, withdrawing it
    avahi_threaded_poll_free(state_->poll);
}

void ServiceAnnouncer::Start(const AnnouncedIdentity& identity, std::vector<AnnouncedService> services) {
    auto state = std::make_unique<State>();
    state->identity = identity;
    state->services = std::move(services);
    state->name = identity.manufacturer + " " + identity.model + " " + identity.serial;
    state->poll = avahi_threaded_poll_new();
    if (!state->poll) throw std::runtime_error("cannot announce: out of memory");
    int error = 0;
    state->client = avahi_client_new(avahi_threaded_poll_get(state->poll), static_cast<AvahiClientFlags>(0),
                                     State::ClientChanged, state.get(), &error);
    if (!state->client) {
        avahi_threaded_poll_free(state->poll);
        throw std::runtime_error(std::string("cannot announce: no Avahi daemon answers (") + avahi_strerror(error) +
                                 ")");
    }
    if (avahi_threaded_poll_start(state->poll) < 0) {
        avahi_client_free(state->client);
        avahi_threaded_poll_free(state->poll);
        throw std::runtime_error("cannot announce: Avahi's thread did not start");
    }
    state_ = std::move(state);
}

#else

struct ServiceAnnouncer::State {};
ServiceAnnouncer::ServiceAnnouncer() = default;
ServiceAnnouncer::~ServiceAnnouncer() = default;
void ServiceAnnouncer::Start(const AnnouncedIdentity&, std::vector<AnnouncedService>) {
    throw std::runtime_error("cannot announce: this build has no Avahi support (ZPV4870_WITH_AVAHI)");
}

#endif

}  // namespace zpv::sim
