// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ThreadPriority.h"

#include <array>

namespace {
struct Level {
    int level;
    QThread::Priority qt;
};
constexpr std::array<Level, 7> kLevels = {{
    {-15, QThread::IdlePriority},
    {-2, QThread::LowestPriority},
    {-1, QThread::LowPriority},
    {0, QThread::NormalPriority},
    {1, QThread::HighPriority},
    {2, QThread::HighestPriority},
    {15, QThread::TimeCriticalPriority},
}};

const Level& LevelOf(TThreadPriority priority) {
    const auto i = std::size_t(priority);
    return kLevels[i < kLevels.size() ? i : std::size_t(tpNormal)];
}
} // namespace

int ThreadPriorityLevel(TThreadPriority priority) {
    return LevelOf(priority).level;
}

QThread::Priority ToQtPriority(TThreadPriority priority) {
    return LevelOf(priority).qt;
}

void SetThreadPriority(QThread& thread, TThreadPriority priority) {
    if (thread.isRunning())
        thread.setPriority(ToQtPriority(priority));
}
