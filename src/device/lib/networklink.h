// The link to network devices: each is served by a tamsel-agent over HTTPS and named
// "\\HOST[:PORT]\Name" (the port left out when it is the agent's default). Every call runs
// synchronously on the calling thread (the worker thread of a device operation) through
// libcurl, within bounds: a connection within 5 s, a transfer that stalls is cut, and no
// answer is taken beyond its size.
//
// Trust: the device's public key is pinned per host and port in the user's settings at the
// first contact, once the user confirmed its SHA-256 fingerprint; a device whose key changed
// is refused. The device's administrator password is asked when the device asks for it and
// kept in memory for the process's life, never written anywhere.
#pragma once

#include "afx/afx.h"

#include <QByteArray>
#include <QStringList>

#include <functional>

namespace network {

// The agent's port when a name or an address gives none.
constexpr int defaultPort = 9431;
// Bounds of every call.
constexpr int connectTimeoutMs = 5000;
// A transfer that moves nothing for this long is cut.
constexpr int stallTimeoutMs = 15000;
// How long the device list waits for each address it probes, and how many it probes at once.
constexpr int probeTimeoutMs = 1000;
constexpr int maxProbesInFlight = 512;

// What the link asks of the user. The library calls it on the thread of the device call;
// the console answers through its dialogs, tamselctl from its options and standard input.
class Prompts {
public:
    virtual ~Prompts() = default;
    // First contact: TRUE to trust the key and pin it. `changedFrom` is the pinned
    // fingerprint when the key changed (only `tamselctl trust` asks then; every other call
    // refuses such a device).
    virtual bool TrustKey(const QString& address, const QString& fingerprint, const QString& changedFrom) = 0;
    // The device asks for its password; `wrong` when the last one given was refused. FALSE
    // when the user gives none.
    virtual bool AskPassword(const CString& device, bool wrong, QString& password) = 0;
    // A password the user gave beforehand (tamselctl's password file), sent with the first
    // request so that the device need not ask; FALSE when none was given.
    virtual bool GivenPassword(const CString& /*device*/, QString& /*password*/) { return false; }
    // Another client changed the device since the record was read from it: TRUE to
    // overwrite that change, FALSE to stop.
    virtual bool Overwrite(const CString& device) = 0;
};
// nullptr: no prompt can be answered (an unknown key, a password or a conflict then fail).
void SetPrompts(Prompts* prompts);
Prompts* CurrentPrompts();

struct Address {
    QString host;      // without brackets
    int port = defaultPort;
    // "HOST:PORT", "[V6]:PORT": the pin's key.
    QString Text() const;
};

// TRUE when the name has the network form; the address and the device's own name then.
bool ParseName(const CString& name, Address& address, CString& deviceName);
// "HOST:PORT" or "[V6]:PORT" (the port may be left out); FALSE when it is not one.
bool ParseAddress(const QString& text, Address& address);
CString MakeName(const Address& address, const CString& deviceName);

// The names of the devices at the addresses, in their order, probed maxProbesInFlight at a
// time; an address that does not answer within probeTimeoutMs is left out.
QStringList Probe(const QList<Address>& addresses);

// The pinned fingerprint of the address's key; empty when none.
QByteArray PinnedKey(const Address& address);
// Shows the device's current fingerprint and pins it when the user says yes. Throws DeviceError.
void Trust(const Address& address);

// One device's answer.
struct Reply {
    long status = 0;
    QByteArray body;
    QByteArray tag;                // ETag
    QByteArray busyMailBoxes;      // X-Tamsel-Busy-Mailboxes
};

struct Call {
    QByteArray method = "GET";
    QByteArray path;
    QByteArray body;
    QString bodyFile;              // streamed instead of `body` when set
    QByteArray ifMatch;
    qint64 maxReply = 1 << 20;
};

// Sends the call to the named device, after trust and with its password; answers 412 and 422
// are the caller's. Every other failure throws DeviceError with its French text.
Reply Send(const CString& device, const Call& call);

// The "error" text of a JSON failure answer, or `fallback`.
CString ErrorText(const QByteArray& body, const CString& fallback);

} // namespace network
