// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the server reads the queue now, from its recent timing reports.
// A server that runs its graph in cycles (PipeWire) takes a whole cycle's
// block at a time, so its reported read position climbs in steps: a report
// made just after a step is a block ahead of one made just before it, and
// moved on at the stream's rate it stays a block ahead. The lowest of the
// recent reports, each moved on to now, follows the line under the steps,
// the same whatever moment the latest report caught; a rewrite that leaves
// a block's margin past that line is heard as soon as the server allows,
// not up to a block later. A report of a server that stalled lies lower
// than the ones before, and is the lowest at once. Pure arithmetic, so that
// it is tested without a server.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

class ReadPositionReports {
public:
    // Reports older than this, and more than kKept of them, no longer count:
    // the server's clock may run a little apart from ours.
    static constexpr std::uint64_t kKeptUsec = 8000000;
    static constexpr std::size_t kKept = 16;

    // `blockFrames`: the most the server takes at once; reports further
    // apart than that, moved on to the same moment, are not of one line.
    ReadPositionReports(int samplesPerSecond, std::int64_t blockFrames)
        : rate_(samplesPerSecond), blockFrames_(blockFrames) {}

    // The server had read `readFrame` frames at `atUsec` (our clock) and was
    // playing, or not. A server that stopped, started again, went back, or
    // stalled or caught up by more than a block makes the reports before it
    // tell nothing of now: they are forgotten.
    void Note(std::int64_t readFrame, std::uint64_t atUsec, bool playing);
    void Forget() { count_ = 0; }

    // The line under the server's steps at `nowUsec`: the lowest of the
    // reports moved on at the stream's rate while it plays (where it stands
    // while it does not). The server may have taken up to a block more.
    // Nothing before the first report.
    std::optional<std::int64_t> ReadAt(std::uint64_t nowUsec) const;

private:
    struct Report {
        std::int64_t readFrame = 0;
        std::uint64_t atUsec = 0;
    };
    const Report& Newest() const { return reports_[(next_ + kKept - 1) % kKept]; }

    std::int64_t MovedOn(const Report& r, std::uint64_t toUsec) const;

    int rate_;
    std::int64_t blockFrames_;
    std::array<Report, kKept> reports_{};
    std::size_t next_ = 0;
    std::size_t count_ = 0;
    bool playing_ = false;
};
