#include "device/lib/discovery.h"

#include <QDeadlineTimer>
#include <QRegularExpression>

#include <avahi-client/client.h>
#include <avahi-client/lookup.h>
#include <avahi-common/address.h>
#include <avahi-common/simple-watch.h>

#include <arpa/inet.h>

#include <memory>

namespace discovery {

namespace {

bool ParseRange(const QString& text, QList<network::Address>& addresses)
{
    static const QRegularExpression form(R"(^([0-9]{1,3}(?:\.[0-9]{1,3}){3})/([0-9]{1,2})(?::([0-9]{1,5}))?$)");
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return false;
    in_addr parsed{};
    const bool valid = ::inet_pton(AF_INET, match.captured(1).toLatin1().constData(), &parsed) == 1;
    const quint32 base = ntohl(parsed.s_addr);
    const int prefix = match.captured(2).toInt();
    const int port = match.captured(3).isEmpty() ? network::defaultPort : match.captured(3).toInt();
    if (!valid || prefix < shortestPrefix || prefix > 32 || port < 1 || port > 65535)
        return false;
    const quint32 size = quint32(1) << (32 - prefix);
    const quint32 first = base & ~(size - 1);
    // Below a /31, the first and last addresses are the network's and its broadcast.
    const quint32 skipped = size > 2 ? 1 : 0;
    for (quint32 n = skipped; n < size - skipped; ++n) {
        const quint32 host = first + n;
        addresses << network::Address{QString("%1.%2.%3.%4").arg(host >> 24).arg((host >> 16) & 0xFF).arg((host >> 8) & 0xFF).arg(host & 0xFF), port};
    }
    return true;
}

// What a browse has seen so far.
struct Browsing {
    AvahiClient* client = nullptr;
    QList<network::Address> found;
    int resolving = 0;
    int started = 0;
    bool allForNow = false;
    bool failed = false;
};

void Resolved(AvahiServiceResolver* resolver, AvahiIfIndex, AvahiProtocol, AvahiResolverEvent event, const char*,
              const char*, const char*, const char*, const AvahiAddress* address, uint16_t port, AvahiStringList*,
              AvahiLookupResultFlags, void* context)
{
    auto& browsing = *static_cast<Browsing*>(context);
    --browsing.resolving;
    if (event == AVAHI_RESOLVER_FOUND && address != nullptr && port != 0) {
        // A link-local IPv6 address needs its interface, which a device name cannot carry.
        const bool linkLocal = address->proto == AVAHI_PROTO_INET6 && address->data.ipv6.address[0] == 0xFE
                               && (address->data.ipv6.address[1] & 0xC0) == 0x80;
        char text[AVAHI_ADDRESS_STR_MAX];
        if (!linkLocal && avahi_address_snprint(text, sizeof text, address) != nullptr)
            browsing.found << network::Address{QString::fromLatin1(text), port};
    }
    avahi_service_resolver_free(resolver);
}

void Seen(AvahiServiceBrowser*, AvahiIfIndex interface, AvahiProtocol protocol, AvahiBrowserEvent event,
          const char* name, const char* type, const char* domain, AvahiLookupResultFlags, void* context)
{
    auto& browsing = *static_cast<Browsing*>(context);
    switch (event) {
    case AVAHI_BROWSER_NEW:
        if (browsing.started < maxAnnouncedDevices
            && avahi_service_resolver_new(browsing.client, interface, protocol, name, type, domain, AVAHI_PROTO_UNSPEC,
                                          AvahiLookupFlags(0), Resolved, &browsing) != nullptr) {
            ++browsing.started;
            ++browsing.resolving;
        }
        break;
    case AVAHI_BROWSER_ALL_FOR_NOW:
        browsing.allForNow = true;
        break;
    case AVAHI_BROWSER_FAILURE:
        browsing.failed = true;
        break;
    default:
        break;
    }
}

} // namespace

bool ParseEntry(const QString& text, QList<network::Address>& addresses)
{
    if (ParseRange(text, addresses))
        return true;
    network::Address address;
    if (!network::ParseAddress(text, address))
        return false;
    addresses << address;
    return true;
}

QList<network::Address> Browse()
{
    const std::unique_ptr<AvahiSimplePoll, decltype(&avahi_simple_poll_free)> poll(avahi_simple_poll_new(),
                                                                                  avahi_simple_poll_free);
    if (!poll)
        return {};
    Browsing browsing;
    int error = 0;
    // Without a daemon this fails at once: no announcement is waited for.
    const std::unique_ptr<AvahiClient, decltype(&avahi_client_free)> client(
        avahi_client_new(avahi_simple_poll_get(poll.get()), AvahiClientFlags(0),
                         [](AvahiClient*, AvahiClientState, void*) {}, nullptr, &error),
        avahi_client_free);
    if (!client)
        return {};
    browsing.client = client.get();
    if (avahi_service_browser_new(client.get(), AVAHI_IF_UNSPEC, AVAHI_PROTO_UNSPEC, serviceType, nullptr,
                                  AvahiLookupFlags(0), Seen, &browsing)
        == nullptr)
        return {};
    const QDeadlineTimer deadline(browseTimeoutMs);
    while (!browsing.failed && !(browsing.allForNow && browsing.resolving == 0) && !deadline.hasExpired()) {
        if (avahi_simple_poll_iterate(poll.get(), static_cast<int>(std::max<qint64>(deadline.remainingTime(), 1))) != 0)
            break;
    }
    // Freeing the client frees its browser and the resolvers still at work.
    return browsing.found;
}

} // namespace discovery
