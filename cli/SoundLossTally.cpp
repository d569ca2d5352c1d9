// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/SoundLossTally.h"

#include "cli/Messages.h"

#include "cli/CommandMessages.h"

void SoundLossTally::Note(SoundLossChange change) {
    const Clock::time_point now = Clock::now();
    std::lock_guard lock(mutex_);
    if (change.server != SoundLossChange::Server::Same)
        unprinted_.push_back(change);
    if (change.lost && !lost_)
        lostSince_ = now;
    else if (!change.lost && lost_)
        lostBefore_ += now - lostSince_;
    lost_ = change.lost;
}

void SoundLossTally::PrintNewLines(std::FILE* to) {
    std::vector<SoundLossChange> changes;
    {
        std::lock_guard lock(mutex_);
        changes.swap(unprinted_);
    }
    namespace msg = command_messages;
    for (const SoundLossChange& change : changes) {
        const QString line =
            change.server == SoundLossChange::Server::Back
                ? CliText(msg::kSoundBack)
                : WithServerReason(
                      CliText(change.streamDropped ? msg::kStreamDropped : msg::kSoundLost),
                      change.reason);
        std::fprintf(to, "orbel: %s\n", CliString(line).c_str());
    }
}

SoundLossTally::Clock::duration SoundLossTally::LostUntil(Clock::time_point now) const {
    std::lock_guard lock(mutex_);
    return lostBefore_ + (lost_ && now > lostSince_ ? now - lostSince_ : Clock::duration{});
}
