// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the server needs of one client's conversation: each line it sends
// in, and the reply (empty, or ending in LF) that goes back. A session is
// used on the server's thread only.

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace remote_net {

class ClientSession {
public:
    virtual ~ClientSession() = default;
    virtual std::string Execute(std::string_view line) = 0;
    // A line over the server's limit came and was dropped.
    virtual void LineTooLong() = 0;
    // A session may hold its client's lines until something it waits for
    // has happened: the server reads no more from that client meanwhile,
    // and asks Resume for the held lines' replies every round.
    virtual bool Waiting() const { return false; }
    virtual std::string Resume() { return {}; }
};

// Makes the session of a client the server accepted; `mayShutDown` says
// whether the client may end the program.
using SessionFactory = std::function<std::unique_ptr<ClientSession>(bool mayShutDown)>;

// Any class with the calls above, used as a ClientSession.
template <class Session> class SessionOf final : public ClientSession {
public:
    template <class... Args> explicit SessionOf(Args&&... args) : session_(args...) {}
    std::string Execute(std::string_view line) override { return session_.Execute(line); }
    void LineTooLong() override { session_.LineTooLong(); }
    bool Waiting() const override { return session_.Waiting(); }
    std::string Resume() override { return session_.Resume(); }

private:
    Session session_;
};

} // namespace remote_net
