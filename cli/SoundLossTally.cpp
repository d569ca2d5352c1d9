// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/SoundLossTally.h"

#include "cli/Messages.h"

#include "cli/CommandMessages.h"

void SoundLossTally::Note(SoundLossChange change) {
    const Clock::time_point now = Clock::now();
    std::lock_guard lock(mutex_);
    if (change.server != SoundLossChange::Server::Same)
        unprinted_.push_back(change.server);
    if (change.lost && !lost_)
        lostSince_ = now;
    else if (!change.lost && lost_)
        lostBefore_ += now - lostSince_;
    lost_ = change.lost;
}

void SoundLossTally::PrintNewLines(std::FILE* to) {
    std::vector<SoundLossChange::Server> lines;
    {
        std::lock_guard lock(mutex_);
        lines.swap(unprinted_);
    }
    for (const auto server : lines)
        std::fprintf(to, "orbel: %s\n",
                     CliString(CliText(server == SoundLossChange::Server::Gone
                                           ? command_messages::kSoundLost
                                           : command_messages::kSoundBack))
                         .c_str());
}

SoundLossTally::Clock::duration SoundLossTally::LostUntil(Clock::time_point now) const {
    std::lock_guard lock(mutex_);
    return lostBefore_ + (lost_ && now > lostSince_ ? now - lostSince_ : Clock::duration{});
}
