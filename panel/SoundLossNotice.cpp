// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/SoundLossNotice.h"

#include "engine/SoundOutput.h"
#include "panel/PanelText.h"
#include "platform/WindowThread.h"

#include <cstdio>
#include <utility>

namespace {
constexpr const char* kLostLine = "orbel: нет вывода звука: звуковой сервер не отвечает";
constexpr const char* kBackLine = "orbel: вывод звука восстановлен";
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
                std::fprintf(stderr, "%s\n", PanelString(kLostLine).c_str());
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
