// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/RecordingSoundOutput.h"

#include <cstdio>

void RecordingSoundOutput::Play(std::span<const std::uint8_t> image, std::uint32_t flags) {
    std::lock_guard lock(mutex_);
    Call c(Call::Play);
    c.flags = flags;
    c.image.assign(image.begin(), image.end());
    c.address = image.data();
    calls_.push_back(std::move(c));
    playing_ = (flags & (SND_ASYNC | SND_LOOP)) != 0;
    streaming_ = nullptr;
}

bool RecordingSoundOutput::PlayStream(FrameSource& source) {
    std::lock_guard lock(mutex_);
    calls_.emplace_back(Call::Stream);
    playing_ = true;
    streaming_ = &source;
    return true;
}

std::optional<std::uint64_t> RecordingSoundOutput::StreamFramesHeard() {
    std::lock_guard lock(mutex_);
    return streaming_ ? heard_ : std::nullopt;
}

FrameSource* RecordingSoundOutput::Streaming() const {
    std::lock_guard lock(mutex_);
    return streaming_;
}

void RecordingSoundOutput::SetStreamFramesHeard(std::optional<std::uint64_t> frames) {
    std::lock_guard lock(mutex_);
    heard_ = frames;
}

void RecordingSoundOutput::Stop() {
    std::lock_guard lock(mutex_);
    calls_.emplace_back(Call::Stop);
    playing_ = false;
    streaming_ = nullptr;
}

void RecordingSoundOutput::SetLevel(std::uint32_t, std::uint32_t level) {
    std::lock_guard lock(mutex_);
    Call c(Call::SetLevel);
    c.level = level;
    calls_.push_back(std::move(c));
    level_ = level;
}

std::optional<LevelReading> RecordingSoundOutput::ReadLevel(std::uint32_t) {
    std::lock_guard lock(mutex_);
    calls_.emplace_back(Call::ReadLevel);
    if (readFails_)
        return std::nullopt;
    return LevelReading{level_, separate_};
}

std::uint32_t RecordingSoundOutput::Level() const {
    std::lock_guard lock(mutex_);
    return level_;
}

void RecordingSoundOutput::SetInitialLevel(std::uint32_t level, bool separateChannels) {
    std::lock_guard lock(mutex_);
    level_ = level;
    separate_ = separateChannels;
}

void RecordingSoundOutput::SetReadFails(bool fails) {
    std::lock_guard lock(mutex_);
    readFails_ = fails;
}

std::vector<RecordingSoundOutput::Call> RecordingSoundOutput::Calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
}

std::vector<std::string> RecordingSoundOutput::Trace() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> out;
    for (const Call& c : calls_) {
        char buf[32];
        switch (c.kind) {
        case Call::Play:
            std::snprintf(buf, sizeof buf, "play %u", c.flags);
            break;
        case Call::Stop:
            std::snprintf(buf, sizeof buf, "stop");
            break;
        case Call::SetLevel:
            std::snprintf(buf, sizeof buf, "level %08x", c.level);
            break;
        case Call::ReadLevel:
            std::snprintf(buf, sizeof buf, "read");
            break;
        case Call::Stream:
            std::snprintf(buf, sizeof buf, "stream");
            break;
        }
        out.emplace_back(buf);
    }
    return out;
}

void RecordingSoundOutput::Clear() {
    std::lock_guard lock(mutex_);
    calls_.clear();
}

int RecordingSoundOutput::PlayCount() const {
    std::lock_guard lock(mutex_);
    int n = 0;
    for (const Call& c : calls_)
        n += c.kind == Call::Play;
    return n;
}

bool RecordingSoundOutput::Playing() const {
    std::lock_guard lock(mutex_);
    return playing_;
}

bool RecordingSoundOutput::SoundLost() const {
    std::lock_guard lock(mutex_);
    return lost_;
}

void RecordingSoundOutput::WatchSoundLost(std::function<void(SoundLossChange)> onChange) {
    std::lock_guard lock(mutex_);
    watcher_ = std::move(onChange);
}

void RecordingSoundOutput::SetSoundLost(bool lost, bool byServer) {
    std::lock_guard lock(mutex_);
    if (lost_ == lost)
        return;
    lost_ = lost;
    using Server = SoundLossChange::Server;
    SoundLossChange change;
    change.lost = lost;
    change.server = !byServer ? Server::Same : lost ? Server::Gone : Server::Back;
    if (watcher_)
        watcher_(change);
}
