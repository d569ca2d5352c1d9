// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The remote-control server: TCP on one thread with poll, no other
// threads. Every client has its session (ClientSession), run on the
// server's thread in the order its lines came. What one client does (go
// away mid-line, send garbage or NULs, flood, never read) touches no other
// client:
// - clients the allow list does not hold are closed at once, and counted
//   on standard error (one line, then at most one every ten seconds);
// - the client beyond the most at once gets one line and is closed;
// - a line over the limit goes to the session's LineTooLong() and the rest
//   of it is dropped;
// - a client whose replies pile up is read no more until it reads them,
//   and is closed when they pass the limit or it reads nothing for long;
// - a client whose session waits (ClientSession::Waiting) is read no more
//   until it has done waiting, and is closed if it goes away meanwhile.

#include "remote/net/AllowList.h"
#include "remote/net/ClientSession.h"
#include "remote/net/Endpoint.h"

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace remote_net {

struct ServerLimits {
    int mostClients = 8;
    std::size_t longestLine = 64 * 1024;
    // Replies waiting for a client: above the first, its lines are read no
    // more; above the second it is closed.
    std::size_t queuedPause = 64 * 1024;
    std::size_t mostQueued = 1024 * 1024;
    // A client with replies waiting that reads none for this long is closed.
    int stallMs = 30000;
};

class RemoteServer {
public:
    using Log = std::function<void(const std::string& line)>;

    RemoteServer(SessionFactory sessions, AllowList allowed, ServerLimits limits = {},
                 Log log = nullptr);
    ~RemoteServer();
    RemoteServer(const RemoteServer&) = delete;
    RemoteServer& operator=(const RemoteServer&) = delete;

    // Opens the listening socket: empty, or one line saying why not. An
    // address beyond the loopback needs an allow list.
    std::string Listen(const Endpoint& where);
    // Where it listens (the port chosen when 0 was asked).
    Endpoint Listening() const { return bound_; }

    // What the server's loop drives besides its clients (the instrument's
    // clock): called at the start of every round, before the loop sleeps;
    // answers how many milliseconds it may sleep before the next call, or
    // -1 for no hurry.
    using Follow = std::function<int()>;
    void SetFollow(Follow follow) { follow_ = std::move(follow); }

    // Serves until Stop() or until `endFd` (when not -1) becomes readable.
    void Run(int endFd = -1);
    // Any thread, and from the sessions: Run returns soon after.
    void Stop();

    // Clients connected now (the server's thread only).
    int Clients() const { return int(clients_.size()); }

private:
    struct Client;

    void Accept();
    void Refuse(int fd, const IpAddress& from);
    void SayRefusals(bool evenIfRecent);
    // False once the client is to be closed.
    bool Read(Client& client);
    bool Write(Client& client);
    // A waiting client's held lines, once its session goes on.
    bool Resume(Client& client);

    // How long the next poll may sleep: the longest sleep, or sooner when
    // something is followed or a client waits.
    int NextPollMs(int followMs) const;

    SessionFactory sessions_;
    Follow follow_;
    AllowList allowed_;
    ServerLimits limits_;
    Log log_;
    Endpoint bound_;
    int listener_ = -1;
    int wake_[2] = {-1, -1};
    std::atomic<bool> stopping_{false};
    std::vector<std::unique_ptr<Client>> clients_;
    long refusedSinceSaid_ = 0;
    long long refusedSaidAtMs_ = -1;
    IpAddress lastRefused_;
};

} // namespace remote_net
