// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/ReadPositionReports.h"

#include <algorithm>

std::int64_t ReadPositionReports::MovedOn(const Report& r, std::uint64_t toUsec) const {
    const std::uint64_t age = toUsec > r.atUsec ? toUsec - r.atUsec : 0;
    return r.readFrame + std::int64_t(age * std::uint64_t(rate_) / 1000000);
}

void ReadPositionReports::Note(std::int64_t readFrame, std::uint64_t atUsec, bool playing) {
    if (count_ > 0) {
        const Report& newest = Newest();
        if (atUsec == newest.atUsec && readFrame == newest.readFrame && playing == playing_)
            return; // the same report again
        bool apart = atUsec < newest.atUsec || readFrame < newest.readFrame ||
                     playing != playing_ || !playing;
        for (std::size_t k = 0; k < count_ && !apart; ++k) {
            const std::int64_t then = MovedOn(reports_[(next_ + kKept - 1 - k) % kKept], atUsec);
            apart = then > readFrame + blockFrames_ || readFrame > then + blockFrames_;
        }
        if (apart)
            Forget();
    }
    reports_[next_] = Report{readFrame, atUsec};
    next_ = (next_ + 1) % kKept;
    count_ = std::min(count_ + 1, kKept);
    playing_ = playing;
}

std::optional<std::int64_t> ReadPositionReports::ReadAt(std::uint64_t nowUsec) const {
    if (count_ == 0)
        return std::nullopt;
    const Report& newest = Newest();
    if (!playing_)
        return newest.readFrame;
    std::int64_t lowest = MovedOn(newest, nowUsec);
    for (std::size_t k = 1; k < count_; ++k) {
        const Report& r = reports_[(next_ + kKept - 1 - k) % kKept];
        if (newest.atUsec - r.atUsec > kKeptUsec)
            break; // older ones are older still
        lowest = std::min(lowest, MovedOn(r, nowUsec));
    }
    return lowest;
}
