// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How much sound the output keeps queued at the server, and how much of it
// a change may rewrite. A long queue rides out late wake-ups of an idle
// machine; a change is still heard soon because the part of the queue the
// server has not yet taken is written again (where the server lets it).
// Pure arithmetic, so that it is tested without a server.

#include <cstddef>
#include <cstdint>

// Where a write goes in the stream: `offset` bytes from its start
// (absolute) or from the end of what was written before (relative).
struct QueueSeek {
    std::int64_t offset = 0;
    bool absolute = false;
};

class QueuePlan {
public:
    // The latency asked for at first, and the most it grows to after the
    // server ran dry. The server keeps most of it in the stream's buffer
    // (225 ms of 250 ms, on both servers); 150 ms asked (95 ms buffered with
    // the servers' own refill) still ran dry now and then on an idle machine.
    static constexpr int kFirstQueueMs = 250;
    static constexpr int kLongestQueueMs = 500;
    // The part of the latency the device holds. No rewrite reaches it, so
    // it stays short however long the stream's buffer grows.
    static constexpr int kDeviceMs = 25;
    // What a rewrite leaves in place ahead of the server's estimated read
    // position. The read position moves in the device's blocks while the
    // estimate moves smoothly, so a whole block may already be taken. A
    // server that takes such a block back and renders it again (PulseAudio
    // does) needs only room for the estimate's error; one that plays it as
    // it was (PipeWire) needs a whole block, or the rewrite jumps.
    static constexpr int kRewriteMarginMs = 12;
    static constexpr int kNoRewindMarginMs = kDeviceMs;
    // How much earlier than the newest report alone says a rewrite may
    // begin on such a server, where the line under its block steps
    // (ReadPositionReports) lies lower. Not the whole block: under load
    // the server applies a rewrite late and its cycles come unevenly, and
    // a rewrite that reaches what the server has taken makes it run dry.
    static constexpr int kLineReachMs = 10;

    explicit QueuePlan(int samplesPerSecond) : rate_(samplesPerSecond) {}

    int QueueMs() const { return queueMs_; }
    // How far the server lets the buffer run down before it asks for more.
    // The server gives the device half of the latency beyond two refills
    // and keeps the rest in the stream's buffer: this refill leaves the
    // device its short part (100 ms of 250 ms).
    int RefillMs() const { return queueMs_ / 2 - kDeviceMs; }
    // After an underrun: half as long again, up to the longest.
    void GrowAfterUnderrun();

    // Frames at the end of the queue that may be written again: those past
    // the server's estimated read position and the margin (the shorter one
    // where the server `rewinds`). `readIndex` is the read position
    // `ageUsec` ago; while the server plays it moves on at the stream's
    // rate. Indexes are in bytes of `frameBytes` per frame.
    std::size_t RewritableFrames(std::int64_t writeIndex, std::int64_t readIndex,
                                 std::uint64_t ageUsec, bool playing, std::size_t frameBytes,
                                 bool rewinds) const;

    // The seek of the write that begins again `frames` back from the end
    // of a queue whose write index is `writeIndex` (bytes of `frameBytes`
    // per frame): an absolute one. The server's library checks that an
    // offset is whole frames in unsigned arithmetic, where a negative
    // offset counts only when the frame's size divides 2^64: a relative
    // seek back is refused for 24-bit frames (6 bytes), and the rewrite
    // with it.
    // The same, with the server's read position now already known (in
    // frames, as the write position).
    std::size_t RewritableFramesFrom(std::int64_t writeFrames, std::int64_t readFrames,
                                     bool rewinds) const;

    static QueueSeek RewriteSeek(std::int64_t writeIndex, std::size_t frames,
                                 std::size_t frameBytes);

private:
    int rate_;
    int queueMs_ = kFirstQueueMs;
};
