// DNS-SD announcements of the agent's devices (_tamsel._tcp, through the Avahi daemon), so that
// consoles on the local network find them without being told their addresses. Announcing is
// best effort: without a daemon the agent serves as before, and announces once one starts.
#pragma once

#include <QList>
#include <QString>

#include <sys/socket.h>

#include <memory>

namespace agent {

class Announcer {
public:
    struct Device {
        QString name;
        quint16 port = 0;
    };

    // Announces the devices listening at the address, on its interface (every interface for
    // the wildcard address). Nothing is announced for a loopback address: nobody else could
    // reach it.
    Announcer(const sockaddr_storage& listening, const QList<Device>& devices);
    ~Announcer();
    Announcer(const Announcer&) = delete;
    Announcer& operator=(const Announcer&) = delete;

    struct State;

private:
    std::unique_ptr<State> state;
};

} // namespace agent
