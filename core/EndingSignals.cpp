// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/EndingSignals.h"

#include <array>
#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::array<int, 4> kEnding{SIGINT, SIGTERM, SIGHUP, SIGQUIT};

std::atomic<int> caught{0};
std::atomic<int> writeEnd{-1};
std::array<struct sigaction, kEnding.size()> previous{};

void OnEndingSignal(int signal) {
    int expected = 0;
    caught.compare_exchange_strong(expected, signal);
    const int fd = writeEnd.load();
    if (fd >= 0) {
        const char byte = static_cast<char>(signal);
        (void)!::write(fd, &byte, 1); // a full pipe already says enough
    }
}

} // namespace

EndingSignals::EndingSignals() {
    caught = 0;
    if (::pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0)
        pipe_[0] = pipe_[1] = -1;
    writeEnd = pipe_[1];
    struct sigaction action {};
    action.sa_handler = OnEndingSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < kEnding.size(); ++i)
        sigaction(kEnding[i], &action, &previous[i]);
}

EndingSignals::~EndingSignals() {
    for (std::size_t i = 0; i < kEnding.size(); ++i)
        sigaction(kEnding[i], &previous[i], nullptr);
    writeEnd = -1;
    for (int fd : pipe_)
        if (fd >= 0)
            ::close(fd);
}

int EndingSignals::Caught() const {
    return caught.load();
}

void EndingSignals::RaiseQuitIfCaught() {
    if (caught.load() != SIGQUIT)
        return;
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    sigaction(SIGQUIT, &fallback, nullptr);
    std::raise(SIGQUIT);
}
