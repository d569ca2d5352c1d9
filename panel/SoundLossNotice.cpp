// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/SoundLossNotice.h"

#include "engine/SoundOutput.h"
#include "panel/PanelText.h"
#include "platform/WindowThread.h"

#include <cstdio>
#include <string>
#include <utility>

namespace {
constexpr const char* kLostLine = "orbel: нет вывода звука: звуковой сервер не отвечает";
constexpr const char* kDroppedLine = "orbel: нет вывода звука: звуковой сервер прервал поток";
constexpr const char* kBackLine = "orbel: вывод звука восстановлен";
// The sound server's reason, in brackets after the line; its control
// characters shown, never sent.
std::string ServerReason(const std::string& reason) {
    std::string shown;
    for (const char c : reason)
        shown += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? '?' : c;
    return shown.empty() ? shown : " (" + shown + ")";
}
} // namespace

SoundLossNotice::SoundLossNotice(std::shared_ptr<SoundOutput> output,
                                 std::function<void(bool lost)> show)
    : output_(std::move(output)), alive_(std::make_shared<bool>(true)) {
    output_->WatchSoundLost([alive = alive_, show = std::move(show)](SoundLossChange change) {
        // The output calls this with its own lock held: hand over, never wait.
        PostToWindowThread([alive, show, change] {
            if (!*alive)
                return;
            // The lines follow the server; the notice follows what plays.
            if (change.server == SoundLossChange::Server::Gone)
                std::fprintf(stderr, "%s%s\n",
                             PanelString(change.streamDropped ? kDroppedLine : kLostLine).c_str(),
                             ServerReason(change.reason).c_str());
            else if (change.server == SoundLossChange::Server::Back)
                std::fprintf(stderr, "%s\n", PanelString(kBackLine).c_str());
            show(change.lost);
        });
    });
}

SoundLossNotice::~SoundLossNotice() {
    output_->WatchSoundLost(nullptr);
    *alive_ = false;
}
