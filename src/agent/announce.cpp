#include "agent/announce.h"

#include "agent/httpserver.h"
#include "device/lib/discovery.h"

#include <avahi-client/client.h>
#include <avahi-client/publish.h>
#include <avahi-common/alternative.h>
#include <avahi-common/error.h>
#include <avahi-common/malloc.h>
#include <avahi-common/thread-watch.h>

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <cstring>
#include <vector>

namespace agent {

namespace {

// DNS-SD instance names are at most 63 bytes of UTF-8.
QByteArray ServiceName(const QString& name)
{
    QByteArray bytes = name.toUtf8();
    if (bytes.size() > 63) {
        bytes.truncate(63);
        while (!bytes.isEmpty() && (static_cast<unsigned char>(bytes.back()) & 0xC0) == 0x80)
            bytes.chop(1);
        if (!bytes.isEmpty() && (static_cast<unsigned char>(bytes.back()) & 0x80) != 0)
            bytes.chop(1);
    }
    return bytes;
}

bool IsLoopback(const sockaddr_storage& address)
{
    if (address.ss_family == AF_INET)
        return (ntohl(reinterpret_cast<const sockaddr_in&>(address).sin_addr.s_addr) >> 24) == 127;
    return address.ss_family == AF_INET6
           && IN6_IS_ADDR_LOOPBACK(&reinterpret_cast<const sockaddr_in6&>(address).sin6_addr);
}

bool IsWildcard(const sockaddr_storage& address)
{
    if (address.ss_family == AF_INET)
        return reinterpret_cast<const sockaddr_in&>(address).sin_addr.s_addr == htonl(INADDR_ANY);
    return address.ss_family == AF_INET6
           && IN6_IS_ADDR_UNSPECIFIED(&reinterpret_cast<const sockaddr_in6&>(address).sin6_addr);
}

// The interface that holds the address; AVAHI_IF_UNSPEC when none does.
AvahiIfIndex InterfaceOf(const sockaddr_storage& address)
{
    ifaddrs* interfaces = nullptr;
    if (::getifaddrs(&interfaces) != 0)
        return AVAHI_IF_UNSPEC;
    AvahiIfIndex found = AVAHI_IF_UNSPEC;
    for (const ifaddrs* i = interfaces; i != nullptr && found == AVAHI_IF_UNSPEC; i = i->ifa_next) {
        if (i->ifa_addr == nullptr || i->ifa_addr->sa_family != address.ss_family)
            continue;
        const bool same = address.ss_family == AF_INET
                              ? reinterpret_cast<const sockaddr_in*>(i->ifa_addr)->sin_addr.s_addr
                                    == reinterpret_cast<const sockaddr_in&>(address).sin_addr.s_addr
                              : std::memcmp(&reinterpret_cast<const sockaddr_in6*>(i->ifa_addr)->sin6_addr,
                                            &reinterpret_cast<const sockaddr_in6&>(address).sin6_addr,
                                            sizeof(in6_addr))
                                    == 0;
        if (same)
            found = static_cast<AvahiIfIndex>(::if_nametoindex(i->ifa_name));
    }
    ::freeifaddrs(interfaces);
    return found;
}

} // namespace

// Everything here runs on the Avahi poll's own thread, but for the constructor and destructor.
struct Announcer::State {
    struct Entry {
        QByteArray name;
        quint16 port = 0;
        AvahiEntryGroup* group = nullptr;
    };
    AvahiThreadedPoll* poll = nullptr;
    AvahiClient* client = nullptr;
    AvahiIfIndex interface = AVAHI_IF_UNSPEC;
    std::vector<Entry> entries;

    void Publish(AvahiClient* client, Entry& entry);
    // Another host announces that name: the next one Avahi proposes ("Name #2").
    static void TakeNextName(Entry& entry);
    static void ClientChanged(AvahiClient* client, AvahiClientState clientState, void* context);
    static void GroupChanged(AvahiEntryGroup* group, AvahiEntryGroupState groupState, void* context);
};

void Announcer::State::TakeNextName(Entry& entry)
{
    char* other = avahi_alternative_service_name(entry.name.constData());
    entry.name = other;
    avahi_free(other);
}

void Announcer::State::Publish(AvahiClient* owner, Entry& entry)
{
    if (entry.group == nullptr)
        entry.group = avahi_entry_group_new(owner, GroupChanged, this);
    if (entry.group == nullptr || !avahi_entry_group_is_empty(entry.group))
        return;
    const int error = avahi_entry_group_add_service(entry.group, interface, AVAHI_PROTO_UNSPEC, AvahiPublishFlags(0),
                                                    entry.name.constData(), discovery::serviceType, nullptr, nullptr,
                                                    entry.port, nullptr);
    if (error == AVAHI_ERR_COLLISION) {
        TakeNextName(entry);
        Publish(owner, entry);
        return;
    }
    if (error < 0 || avahi_entry_group_commit(entry.group) < 0)
        LogLineOut(QString("tamsel-agent : annonce DNS-SD de « %1 » impossible : %2")
                       .arg(QString::fromUtf8(entry.name), QString::fromUtf8(avahi_strerror(avahi_client_errno(owner)))));
}

void Announcer::State::ClientChanged(AvahiClient* client, AvahiClientState clientState, void* context)
{
    auto& state = *static_cast<State*>(context);
    switch (clientState) {
    case AVAHI_CLIENT_S_RUNNING:
        for (Entry& entry : state.entries)
            state.Publish(client, entry);
        break;
    case AVAHI_CLIENT_S_COLLISION:
    case AVAHI_CLIENT_S_REGISTERING:
        // The host's name changes: announce again under the new one once it runs.
        for (Entry& entry : state.entries) {
            if (entry.group != nullptr)
                avahi_entry_group_reset(entry.group);
        }
        break;
    case AVAHI_CLIENT_FAILURE:
        LogLineOut(QString("tamsel-agent : annonces DNS-SD arrêtées : %1")
                       .arg(QString::fromUtf8(avahi_strerror(avahi_client_errno(client)))));
        break;
    default:
        break;
    }
}

void Announcer::State::GroupChanged(AvahiEntryGroup* group, AvahiEntryGroupState groupState, void* context)
{
    auto& state = *static_cast<State*>(context);
    for (Entry& entry : state.entries) {
        if (entry.group != group)
            continue;
        if (groupState == AVAHI_ENTRY_GROUP_ESTABLISHED) {
            LogLineOut(QString("tamsel-agent : « %1 » annoncé en DNS-SD (%2, port %3)")
                           .arg(QString::fromUtf8(entry.name), discovery::serviceType)
                           .arg(entry.port));
        } else if (groupState == AVAHI_ENTRY_GROUP_COLLISION) {
            TakeNextName(entry);
            avahi_entry_group_reset(group);
            state.Publish(avahi_entry_group_get_client(group), entry);
        }
    }
}

Announcer::Announcer(const sockaddr_storage& listening, const QList<Device>& devices)
    : state(std::make_unique<State>())
{
    if (IsLoopback(listening) || devices.isEmpty())
        return;
    state->interface = IsWildcard(listening) ? AVAHI_IF_UNSPEC : InterfaceOf(listening);
    for (const Device& device : devices)
        state->entries.push_back({ServiceName(device.name), device.port, nullptr});
    state->poll = avahi_threaded_poll_new();
    if (state->poll == nullptr)
        return;
    int error = 0;
    // NO_FAIL: without a daemon now, the client waits for one.
    state->client = avahi_client_new(avahi_threaded_poll_get(state->poll), AVAHI_CLIENT_NO_FAIL,
                                     State::ClientChanged, state.get(), &error);
    if (state->client == nullptr) {
        LogLineOut(QString("tamsel-agent : pas d'annonce DNS-SD : %1").arg(QString::fromUtf8(avahi_strerror(error))));
        return;
    }
    avahi_threaded_poll_start(state->poll);
}

Announcer::~Announcer()
{
    if (state->poll == nullptr)
        return;
    avahi_threaded_poll_stop(state->poll);
    if (state->client != nullptr)
        avahi_client_free(state->client);
    avahi_threaded_poll_free(state->poll);
}

} // namespace agent
