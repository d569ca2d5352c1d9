// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The playback stream of the sound output: one stereo stream on the
// connection's context, in the image's own sample format (16 bits, 24 bits
// or float, see StreamSample), fed by a CrossfadeMixer from libpulse's write
// callback. It keeps a long queue at the server (QueuePlan) so that late
// wake-ups do not run it dry, lengthens it when the server ran dry anyway,
// and at every change rewrites the part of the queue the server has not
// taken yet, so that the change is heard soon. Every call is made with the
// connection's lock held.
// The stream tells mixers what plays (media.name, media.role) and plays on
// the output chosen, if any: when that goes away the server moves the
// stream elsewhere and the stream says so; when it comes back, the stream
// moves back to it.

#include "audio/CrossfadeMixer.h"
#include "audio/QueuePlan.h"
#include "audio/ReadPositionReports.h"
#include "audio/StreamSample.h"
#include "engine/DeviceNotice.h"
#include "platform/sound/PulseConnection.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>

class PulseStream {
public:
    // `changed` is told (lock held) whenever ReadyLocked or BrokenLocked
    // may have changed.
    PulseStream(PulseConnection& connection, std::function<void()> changed);

    // The rate and sample format the stream carries; a new one ends the old
    // sound with its stream. Rate 0 before the first sound.
    int RateLocked() const { return rate_; }
    void SetFormatLocked(int samplesPerSecond, StreamSample sample);
    // Asks the server for a stream when there is a rate and none exists.
    void CreateLocked();
    // Lets the stream go, whatever state it is in. What plays comes back
    // with a fade once a stream carries it again.
    void DropLocked();
    // The server refused or dropped the stream; cleared when one is ready.
    void FailedLocked();

    bool ReadyLocked() const;
    bool BrokenLocked() const { return broken_; }
    bool HasSoundLocked() const { return mixer_.HasSound(); }
    // Everything handed over has been played out (or there is no stream).
    bool PlayedOutLocked() const {
        return !ReadyLocked() || (mixer_.Silent() && drainsPending_.empty());
    }

    // Makes sure the next rewrite measures from a fresh report of the
    // server's read position (on a server that does not rewind, PipeWire):
    // asks for one and waits for it (briefly) when the last is old. Call it before the calls that
    // rewrite the queue (Play, Hold, Stop, ChangeStream), outside of the library's callbacks: the
    // lock is let go while it waits.
    void FreshenTimingLocked();
    // A new sound, the first half of a change, and a stop; each counts as
    // one generation and rewrites what is queued.
    std::uint64_t PlayLocked(const WaveImageView& image, bool loop, const ToneShape& shape);
    // A streamed sound (see CrossfadeMixer::StartStream).
    std::uint64_t PlayStreamLocked(FrameSource& source);
    // The frames of the streamed sound heard so far: those rendered into
    // the queue less what the server says is still to be heard of it (its
    // latency). Nothing while no streamed sound plays or the server has
    // not yet told its timing. Asks the server for fresh timing when the
    // last report is old.
    std::optional<std::uint64_t> StreamFramesHeardLocked();
    // Takes back what the server has not yet played of the streamed sound,
    // steps its source back there, runs `change` (which asks the source
    // for a change) and writes the queue again, so that the change is
    // heard within the rewrite margin. Without a stream, only runs it.
    void ChangeStreamLocked(const std::function<void()>& change);
    void HoldLocked();
    void StopLocked();
    // The newest generation whose sound has been played out.
    std::uint64_t DrainedLocked() const { return drained_; }
    std::uint64_t GenerationLocked() const { return generation_; }

    // What plays, as mixers show it; the stream now playing is updated.
    void DescribeLocked(const std::string& mediaName);
    // Plays on the output of that name (empty: the server's default); a
    // stream that plays already is moved there.
    void ChooseDeviceLocked(const std::string& name);
    // Told, lock held, one line when the stream leaves the chosen output and
    // when it is back on it.
    void WatchNoticesLocked(std::function<void(const DeviceNotice&)> onNotice) {
        notice_ = std::move(onNotice);
    }
    // The server has a new output: it may be the chosen one coming back.
    void OutputAddedLocked();

    // The level word applied to what is rendered next.
    void SetLevel(std::uint32_t level) { level_.store(level, std::memory_order_relaxed); }
    std::uint32_t Level() const { return level_.load(std::memory_order_relaxed); }
    std::uint64_t Underflows() const { return underflows_.load(std::memory_order_relaxed); }
    // The queue asked for now, in milliseconds.
    int QueueMs() const { return queueMs_.load(std::memory_order_relaxed); }
    // The part of it the server keeps in the stream's buffer, as it last
    // said (0 before the stream is ready).
    int ServerBufferMs() const { return bufferMs_.load(std::memory_order_relaxed); }

private:
    std::uint64_t StartedLocked();
    void FeedLocked(std::size_t bytes);
    void RewindQueueLocked();
    QueueSeek RewriteSeekLocked() const;
    void SetQueueLocked();
    pa_buffer_attr AskedBufferLocked() const;
    void NoteServerBufferLocked();
    pa_sample_spec FormatLocked() const;
    void MoveToChosenLocked();
    void LeftChosenDeviceLocked(DeviceNotice::Where where, const std::string& nowOn);
    void NoticeLocked(const DeviceNotice& notice);
    static void OnMoved(pa_stream* s, void* userdata);
    static void OnState(pa_stream* s, void* userdata);
    static void OnWritable(pa_stream* s, std::size_t bytes, void* userdata);
    static void OnUnderflow(pa_stream* s, void* userdata);
    static void OnTiming(pa_stream* s, void* userdata);
    static void OnBufferSet(pa_stream* s, int success, void* userdata);
    static void OnDrained(pa_stream* s, int success, void* userdata);

    PulseConnection& connection_;
    std::function<void()> changed_;
    pa_stream* stream_ = nullptr;
    int rate_ = 0;
    StreamSample sample_ = StreamSample::S16;
    std::string mediaName_;
    std::string deviceName_;     // empty: the server's default
    bool onChosenDevice_ = true; // false while the chosen output is missing
    std::function<void(const DeviceNotice&)> notice_;
    bool broken_ = false;
    bool fadeInOnReady_ = false;
    CrossfadeMixer mixer_;
    QueuePlan plan_{96000};
    ReadPositionReports reads_{96000, 0};
    std::size_t rewriteFrames_ = 0; // taken back from the queue, to be written again
    std::size_t paddedFrames_ = 0;  // silence that ends the queue, after the mixer's frames
    bool queuedSinceDrain_ = false;
    std::uint64_t generation_ = 0;
    std::uint64_t drained_ = 0;
    std::deque<std::uint64_t> drainsPending_;

    std::atomic<std::uint32_t> level_{0xFFFFFFFFu};
    std::atomic<std::uint64_t> underflows_{0};
    std::atomic<int> queueMs_{QueuePlan::kFirstQueueMs};
    std::atomic<int> bufferMs_{0};
};
