// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/net/RemoteServer.h"

#include "remote/net/LineSplitter.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace remote_net {
namespace {

constexpr std::size_t kReadChunk = 16 * 1024;
// How often refusals are said at most, and the loop's longest sleep.
constexpr long long kRefusalLineMs = 10000;
constexpr int kPollMs = 1000;
// How often a waiting client's session is asked whether it may go on.
constexpr int kWaitingPollMs = 10;
constexpr int kSendBuffer = 256 * 1024;

long long NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void CloseFd(int& fd) {
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

void SayOnStandardError(const std::string& line) {
    std::fprintf(stderr, "orbel: %s\n", line.c_str());
    std::fflush(stderr);
}

} // namespace

struct RemoteServer::Client {
    int fd = -1;
    std::unique_ptr<ClientSession> session;
    LineSplitter lines;
    std::string out;
    std::size_t sent = 0; // of `out`
    bool inputEnded = false;
    long long progressAtMs = 0; // the last time a reply went out, or none waited

    Client(int socket, std::unique_ptr<ClientSession> s, std::size_t longestLine)
        : fd(socket), session(std::move(s)), lines(longestLine), progressAtMs(NowMs()) {}
    ~Client() { CloseFd(fd); }
    std::size_t Queued() const { return out.size() - sent; }
};

RemoteServer::RemoteServer(SessionFactory sessions, AllowList allowed, ServerLimits limits, Log log)
    : sessions_(std::move(sessions)), allowed_(std::move(allowed)), limits_(limits),
      log_(log ? std::move(log) : Log(SayOnStandardError)) {
    if (::pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0)
        wake_[0] = wake_[1] = -1;
}

RemoteServer::~RemoteServer() {
    clients_.clear();
    CloseFd(listener_);
    CloseFd(wake_[0]);
    CloseFd(wake_[1]);
}

std::string RemoteServer::Listen(const Endpoint& where) {
    if (!where.LoopbackOnly() && allowed_.Empty())
        return "listening on " + where.Text() + " needs --allow with the clients it may accept";
    if (wake_[0] < 0)
        return std::string("cannot make a pipe: ") + std::strerror(errno);
    CloseFd(listener_);
    const int family = where.address.v6 ? AF_INET6 : AF_INET;
    listener_ = ::socket(family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (listener_ < 0)
        return std::string("cannot open a socket: ") + std::strerror(errno);
    const int on = 1;
    ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_storage address{};
    socklen_t length = 0;
    if (where.address.v6) {
        sockaddr_in6 in6{};
        in6.sin6_family = AF_INET6;
        in6.sin6_port = htons(where.port);
        std::memcpy(in6.sin6_addr.s6_addr, where.address.bytes.data(), 16);
        std::memcpy(&address, &in6, sizeof in6);
        length = sizeof in6;
    } else {
        sockaddr_in in{};
        in.sin_family = AF_INET;
        in.sin_port = htons(where.port);
        std::memcpy(&in.sin_addr, where.address.bytes.data(), 4);
        std::memcpy(&address, &in, sizeof in);
        length = sizeof in;
    }
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(listener_, 16) != 0) {
        const int why = errno;
        CloseFd(listener_);
        return "cannot listen on " + where.Text() + ": " + std::strerror(why);
    }
    bound_ = where;
    if (::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        bound_.port = ntohs(address.ss_family == AF_INET6
                                ? reinterpret_cast<sockaddr_in6*>(&address)->sin6_port
                                : reinterpret_cast<sockaddr_in*>(&address)->sin_port);
    return {};
}

void RemoteServer::Stop() {
    stopping_ = true;
    if (wake_[1] >= 0) {
        const char byte = 0;
        [[maybe_unused]] const auto written = ::write(wake_[1], &byte, 1);
    }
}

void RemoteServer::Run(int endFd) {
    std::vector<pollfd> polled;
    while (!stopping_) {
        // After the last round's commands, which may have started what it
        // follows.
        const int followMs = follow_ ? follow_() : -1;
        polled.clear();
        polled.push_back({wake_[0], POLLIN, 0});
        polled.push_back({endFd, POLLIN, 0}); // poll skips a negative fd
        polled.push_back({listener_, POLLIN, 0});
        for (const auto& client : clients_) {
            // A waiting client's lines stay unread, but its going away is
            // seen.
            short events = client->session->Waiting() ? POLLRDHUP : 0;
            if (!client->inputEnded && !events && client->Queued() <= limits_.queuedPause)
                events |= POLLIN;
            if (client->Queued() > 0)
                events |= POLLOUT;
            polled.push_back({client->fd, events, 0});
        }
        if (::poll(polled.data(), polled.size(), NextPollMs(followMs)) < 0 && errno != EINTR)
            break;
        if (polled[1].revents != 0)
            break;
        if (polled[2].revents & POLLIN)
            Accept();
        const long long now = NowMs();
        // Clients accepted just now are polled next time; the rest in turn,
        // each at most one chunk a round, so a flood delays nobody else.
        std::vector<std::unique_ptr<Client>> kept;
        for (std::size_t i = 0; i < clients_.size(); ++i) {
            auto& client = clients_[i];
            bool open = true;
            if (i + 3 < polled.size() && polled[i + 3].fd == client->fd) {
                const short revents = polled[i + 3].revents;
                if (client->session->Waiting()) {
                    // Gone while waiting: nothing it waits for can reach it.
                    if (revents & (POLLRDHUP | POLLHUP | POLLERR))
                        open = false;
                    else
                        open = Resume(*client);
                } else if (revents & (POLLIN | POLLHUP | POLLERR)) {
                    open = Read(*client);
                }
                if (open && client->Queued() > 0)
                    open = Write(*client);
            }
            if (open && client->Queued() == 0) {
                client->progressAtMs = now;
                // Everything said and nothing more to come.
                open = !client->inputEnded || client->session->Waiting();
            }
            if (open && now - client->progressAtMs > limits_.stallMs)
                open = false;
            if (open)
                kept.push_back(std::move(client));
        }
        clients_ = std::move(kept);
        if (stopping_)
            break;
        SayRefusals(false);
        char drained[64];
        while (::read(wake_[0], drained, sizeof drained) > 0) {
        }
    }
    // A last reply (to the command that stopped the server) goes out if
    // the client takes it at once.
    for (const auto& client : clients_)
        Write(*client);
    SayRefusals(true);
}

int RemoteServer::NextPollMs(int followMs) const {
    int ms = kPollMs;
    if (followMs >= 0)
        ms = std::min(ms, followMs);
    for (const auto& client : clients_)
        if (client->session->Waiting())
            return std::min(ms, kWaitingPollMs);
    return ms;
}

void RemoteServer::Accept() {
    while (true) {
        sockaddr_storage from{};
        socklen_t length = sizeof from;
        const int fd = ::accept4(listener_, reinterpret_cast<sockaddr*>(&from), &length,
                                 SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0)
            return; // none left (EAGAIN), or the system's limit: the next round tries again
        const IpAddress client = IpAddress::FromSocket(from);
        // Without a list the server listens on the loopback only, where
        // every client is this machine's.
        if (!allowed_.Empty() && !allowed_.Allows(client)) {
            Refuse(fd, client);
            continue;
        }
        if (int(clients_.size()) >= limits_.mostClients) {
            const std::string line = "-200,\"Execution error;at most " +
                                     std::to_string(limits_.mostClients) + " clients at once\"\n";
            [[maybe_unused]] const auto sent =
                ::send(fd, line.data(), line.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
            ::close(fd);
            continue;
        }
        const int on = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        // A modest buffer: a client that stops reading is seen to stop soon.
        const int buffer = kSendBuffer;
        ::setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &buffer, sizeof buffer);
        std::unique_ptr<ClientSession> session;
        try {
            session = sessions_(true);
        } catch (const std::exception&) {
        }
        if (!session) {
            ::close(fd);
            continue;
        }
        clients_.push_back(std::make_unique<Client>(fd, std::move(session), limits_.longestLine));
    }
}

void RemoteServer::Refuse(int fd, const IpAddress& from) {
    // Closed without a word: a client not allowed learns nothing.
    ::close(fd);
    ++refusedSinceSaid_;
    lastRefused_ = from;
    SayRefusals(false);
}

void RemoteServer::SayRefusals(bool evenIfRecent) {
    if (refusedSinceSaid_ == 0)
        return;
    const long long now = NowMs();
    if (!evenIfRecent && refusedSaidAtMs_ >= 0 && now - refusedSaidAtMs_ < kRefusalLineMs)
        return;
    log_("refused " + std::to_string(refusedSinceSaid_) +
         (refusedSinceSaid_ == 1 ? " client" : " clients") +
         " not on the allow list (the last from " + lastRefused_.Text() + ")");
    refusedSinceSaid_ = 0;
    refusedSaidAtMs_ = now;
}

bool RemoteServer::Read(Client& client) {
    char chunk[kReadChunk];
    const ssize_t got = ::recv(client.fd, chunk, sizeof chunk, 0);
    if (got < 0)
        return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
    if (got == 0) {
        // Gone, perhaps mid-line: what did not end is never run. Replies
        // still waiting go out before the socket closes.
        client.inputEnded = true;
        return true;
    }
    bool overflow = false;
    try {
        client.lines.Feed(
            std::string_view(chunk, std::size_t(got)),
            [&](std::string_view line) {
                if (overflow)
                    return;
                client.out += client.session->Execute(line);
                overflow = client.Queued() > limits_.mostQueued;
            },
            [&] { client.session->LineTooLong(); });
    } catch (const std::exception& e) {
        log_(std::string("a client's command failed, and the client was closed: ") + e.what());
        return false;
    }
    return !overflow;
}

bool RemoteServer::Resume(Client& client) {
    try {
        client.out += client.session->Resume();
    } catch (const std::exception& e) {
        log_(std::string("a client's command failed, and the client was closed: ") + e.what());
        return false;
    }
    return client.Queued() <= limits_.mostQueued;
}

bool RemoteServer::Write(Client& client) {
    while (client.Queued() > 0) {
        const ssize_t sent =
            ::send(client.fd, client.out.data() + client.sent, client.Queued(), MSG_NOSIGNAL);
        if (sent < 0)
            return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
        client.sent += std::size_t(sent);
        client.progressAtMs = NowMs();
        if (client.sent >= kReadChunk) { // what went out is dropped now and then
            client.out.erase(0, client.sent);
            client.sent = 0;
        }
    }
    client.out.clear();
    client.sent = 0;
    return true;
}

} // namespace remote_net
