// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/sound/FeedThreadPriority.h"

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>

namespace {
// Real-time priorities run from 1 to 99; the sound servers take 5 and
// above for their own threads, which must keep the upper hand.
constexpr int kRealtimePriority = 3;
// What a sound server asks for when it cannot have real time.
constexpr int kNiceValue = -11;

bool TryRealtime(int priority) {
    sched_param param{};
    param.sched_priority = priority;
    // Children this thread might start do not inherit it.
    if (pthread_setschedparam(pthread_self(), SCHED_RR | SCHED_RESET_ON_FORK, &param) == 0)
        return true;
    return pthread_setschedparam(pthread_self(), SCHED_RR, &param) == 0;
}
} // namespace

FeedThreadPriority RaiseFeedThreadPriority() {
    if (TryRealtime(kRealtimePriority))
        return FeedThreadPriority::Realtime;
    // Without the privilege, the resource limit may allow a low priority:
    // its soft value may be raised up to its hard value.
    rlimit limit{};
    if (getrlimit(RLIMIT_RTPRIO, &limit) == 0 && limit.rlim_max > 0) {
        if (limit.rlim_cur < limit.rlim_max) {
            rlimit raised = limit;
            raised.rlim_cur = limit.rlim_max;
            if (setrlimit(RLIMIT_RTPRIO, &raised) == 0)
                limit = raised;
        }
        const int allowed = int(std::min<rlim_t>(limit.rlim_cur, kRealtimePriority));
        if (allowed > 0 && TryRealtime(allowed))
            return FeedThreadPriority::Realtime;
    }
    // On Linux a thread's id names that thread alone for setpriority.
    const auto self = static_cast<id_t>(gettid());
    if (getpriority(PRIO_PROCESS, self) > kNiceValue &&
        setpriority(PRIO_PROCESS, self, kNiceValue) == 0)
        return FeedThreadPriority::Raised;
    return FeedThreadPriority::Normal;
}

const char* FeedThreadPriorityName(FeedThreadPriority priority) {
    switch (priority) {
    case FeedThreadPriority::Realtime:
        return "real-time";
    case FeedThreadPriority::Raised:
        return "raised";
    case FeedThreadPriority::Normal:
        break;
    }
    return "normal";
}
