// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/QueuePlan.h"

#include <algorithm>

void QueuePlan::GrowAfterUnderrun() {
    queueMs_ = std::min(kLongestQueueMs, queueMs_ + queueMs_ / 2);
}

std::size_t QueuePlan::RewritableFrames(std::int64_t writeIndex, std::int64_t readIndex,
                                        std::uint64_t ageUsec, bool playing, std::size_t frameBytes,
                                        bool rewinds) const {
    if (frameBytes == 0)
        return 0;
    std::int64_t readFrames = readIndex / std::int64_t(frameBytes);
    if (playing)
        readFrames += std::int64_t(ageUsec * std::uint64_t(rate_) / 1000000);
    return RewritableFramesFrom(writeIndex / std::int64_t(frameBytes), readFrames, rewinds);
}

std::size_t QueuePlan::RewritableFramesFrom(std::int64_t writeFrames, std::int64_t readFrames,
                                            bool rewinds) const {
    const std::int64_t margin =
        std::int64_t(rate_) * (rewinds ? kRewriteMarginMs : kNoRewindMarginMs) / 1000;
    const std::int64_t queued = writeFrames - readFrames;
    return queued > margin ? std::size_t(queued - margin) : 0;
}

QueueSeek QueuePlan::RewriteSeek(std::int64_t writeIndex, std::size_t frames,
                                 std::size_t frameBytes) {
    const std::int64_t back = std::int64_t(frames * frameBytes);
    return {std::max<std::int64_t>(0, writeIndex - back), true};
}
