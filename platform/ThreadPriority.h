// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The seven worker-thread priorities and their levels (-15 .. 15).

#include <QThread>

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

// -15, -2, -1, 0, 1, 2, 15.
int ThreadPriorityLevel(TThreadPriority priority);
QThread::Priority ToQtPriority(TThreadPriority priority);
// Applies the priority to a running thread. The scheduler may not honour
// raised levels for an unprivileged process; the thread keeps running.
void SetThreadPriority(QThread& thread, TThreadPriority priority);
