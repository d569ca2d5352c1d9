// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/sound/PulseSoundOutput.h"

#include "audio/StreamSample.h"
#include "audio/WaveImageView.h"
#include "platform/sound/PulseConnection.h"
#include "platform/sound/PulseDeviceList.h"
#include "platform/sound/PulseSinkVolume.h"
#include "platform/sound/PulseStream.h"

#include <utility>

namespace {
// How long `ListDevices` waits for the server.
constexpr std::chrono::milliseconds kListTimeout{1500};
// How long after its expected end a synchronous play waits before giving up
// on a server that stalled (the stream may still have to be set up).
constexpr std::chrono::seconds kSyncGrace{2};
// How long a drain, and the output when it goes, lets what is queued play.
constexpr std::chrono::milliseconds kCloseGrace{400};
} // namespace

struct PulseSoundOutput::Impl {
    std::unique_ptr<PulseConnection> connection;
    std::unique_ptr<PulseStream> stream;

    // Guarded by the connection's lock.
    bool reportedLost = false;
    bool reportedGone = false; // the server's going away was told, its return not yet
    std::function<void(SoundLossChange)> watcher;

    bool LostLocked() const {
        return stream->HasSoundLocked() && (!connection->AnswersLocked() || stream->BrokenLocked());
    }

    // The loss follows Play and Stop; its going and coming back follow the
    // server only (a Stop without a server is no return).
    void UpdateLostLocked() {
        const bool lost = LostLocked();
        auto server = SoundLossChange::Server::Same;
        if (lost && !reportedGone) {
            reportedGone = true;
            server = SoundLossChange::Server::Gone;
        } else if (reportedGone && connection->ReadyLocked() && !stream->BrokenLocked()) {
            reportedGone = false;
            server = SoundLossChange::Server::Back;
        }
        if (lost == reportedLost && server == SoundLossChange::Server::Same)
            return;
        reportedLost = lost;
        if (!watcher)
            return;
        SoundLossChange change;
        change.lost = lost;
        change.server = server;
        if (server == SoundLossChange::Server::Gone) {
            change.streamDropped = connection->ReadyLocked() && stream->BrokenLocked();
            change.reason = connection->FailureLocked();
        }
        watcher(change);
    }
};

std::unique_ptr<PulseSoundOutput> PulseSoundOutput::Start() {
    auto impl = std::make_unique<Impl>();
    Impl* m = impl.get();
    impl->connection = PulseConnection::Create({
        [m] {
            m->stream->CreateLocked();
            m->UpdateLostLocked();
        },
        [m] {
            m->stream->DropLocked();
            m->UpdateLostLocked();
        },
        [m] { m->stream->CreateLocked(); },
        [m] { m->stream->OutputAddedLocked(); },
    });
    if (!impl->connection)
        return nullptr;
    impl->stream = std::make_unique<PulseStream>(*impl->connection, [m] { m->UpdateLostLocked(); });
    if (!impl->connection->Run())
        return nullptr;
    return std::unique_ptr<PulseSoundOutput>(new PulseSoundOutput(std::move(impl)));
}

std::unique_ptr<PulseSoundOutput> PulseSoundOutput::Connect(std::chrono::milliseconds timeout) {
    auto output = Start();
    if (output && !output->WaitForServer(timeout))
        output.reset();
    return output;
}

PulseSoundOutput::PulseSoundOutput(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

PulseSoundOutput::~PulseSoundOutput() {
    Impl& m = *impl_;
    {
        PulseConnection::Lock lock(*m.connection);
        m.watcher = nullptr;
        m.stream->WatchNoticesLocked(nullptr);
        // Let a fade-out that is still queued play, briefly, rather than cut
        // the stream in the middle of the sound.
        m.stream->StopLocked();
        m.connection->WaitLocked([&] { return m.stream->PlayedOutLocked(); }, kCloseGrace);
        m.stream->DropLocked();
        m.connection->CloseLocked();
    }
    m.connection.reset(); // stops the loop before the stream goes
}

void PulseSoundOutput::Play(std::span<const std::uint8_t> bytes, std::uint32_t flags) {
    PlayTone(bytes, flags, ToneShape{});
}

void PulseSoundOutput::PlayTone(std::span<const std::uint8_t> bytes, std::uint32_t flags,
                                const ToneShape& shape) {
    Impl& m = *impl_;
    const std::optional<WaveImageView> view = ParseWaveImage(bytes);
    PulseConnection::Lock lock(*m.connection);
    m.stream->FreshenTimingLocked();
    if (!view || view->Frames() == 0) {
        m.stream->StopLocked();
        m.UpdateLostLocked();
        return;
    }
    m.stream->SetFormatLocked(view->samplesPerSecond, StreamSampleFor(*view));
    const std::uint64_t mine = m.stream->PlayLocked(*view, (flags & SND_LOOP) != 0, shape);
    m.UpdateLostLocked();

    if ((flags & (SND_ASYNC | SND_LOOP)) == 0) {
        // Synchronous: return when the sound has been played out, or was
        // replaced, or cannot be played. A stalled server cannot keep us
        // here for long.
        const auto length = std::chrono::microseconds(std::int64_t(view->Frames()) * 1000000 /
                                                      view->samplesPerSecond);
        const bool ended = m.connection->WaitLocked(
            [&] {
                return m.stream->DrainedLocked() >= mine || m.stream->GenerationLocked() != mine ||
                       m.LostLocked();
            },
            length + kSyncGrace);
        if (!ended || m.stream->GenerationLocked() == mine) {
            m.stream->StopLocked(); // the image may go as soon as we return
            m.UpdateLostLocked();
        }
    }
}

bool PulseSoundOutput::PlayStream(FrameSource& source) {
    Impl& m = *impl_;
    const WaveFormat& format = source.Format();
    const StreamSample sample = format.IsFloat()                    ? StreamSample::Float32
                                : format.wide == WideSamples::Pcm24 ? StreamSample::S24
                                                                    : StreamSample::S16;
    PulseConnection::Lock lock(*m.connection);
    m.stream->FreshenTimingLocked();
    m.stream->SetFormatLocked(format.SamplesPerSecond(), sample);
    m.stream->PlayStreamLocked(source);
    m.UpdateLostLocked();
    return true;
}

void PulseSoundOutput::ChangeStream(const std::function<void()>& change) {
    PulseConnection::Lock lock(*impl_->connection);
    impl_->stream->FreshenTimingLocked();
    impl_->stream->ChangeStreamLocked(change);
}

std::optional<std::uint64_t> PulseSoundOutput::StreamFramesHeard() {
    PulseConnection::Lock lock(*impl_->connection);
    return impl_->stream->StreamFramesHeardLocked();
}

void PulseSoundOutput::Stop() {
    PulseConnection::Lock lock(*impl_->connection);
    impl_->stream->FreshenTimingLocked();
    impl_->stream->StopLocked();
    impl_->UpdateLostLocked();
}

void PulseSoundOutput::StopForChange() {
    PulseConnection::Lock lock(*impl_->connection);
    impl_->stream->FreshenTimingLocked();
    impl_->stream->HoldLocked();
    impl_->UpdateLostLocked();
}

void PulseSoundOutput::StopAndDrain() {
    Impl& m = *impl_;
    PulseConnection::Lock lock(*m.connection);
    m.stream->FreshenTimingLocked();
    m.stream->StopLocked();
    m.UpdateLostLocked();
    m.connection->WaitLocked([&] { return m.stream->PlayedOutLocked(); }, kCloseGrace);
}

void PulseSoundOutput::SetLevel(std::uint32_t, std::uint32_t level) {
    impl_->stream->SetLevel(level);
}

std::optional<LevelReading> PulseSoundOutput::ReadLevel(std::uint32_t) {
    return LevelReading{impl_->stream->Level(), true};
}

bool PulseSoundOutput::SoundLost() const {
    PulseConnection::Lock lock(*impl_->connection);
    return impl_->LostLocked();
}

std::optional<std::vector<OutputDevice>> PulseSoundOutput::ListDevices() {
    std::string why;
    auto devices = ListPulseOutputs(kListTimeout, &why);
    if (!devices) {
        PulseConnection::Lock lock(*impl_->connection);
        impl_->connection->NoteFailureLocked(std::move(why));
    }
    return devices;
}

std::string PulseSoundOutput::FailureReason() const {
    PulseConnection::Lock lock(*impl_->connection);
    return impl_->connection->FailureLocked();
}

std::optional<OutputVolume> PulseSoundOutput::ReadOutputVolume(const std::string& name) {
    std::string why;
    auto volume = ReadPulseSinkVolume(name, kListTimeout, &why);
    if (!volume) {
        PulseConnection::Lock lock(*impl_->connection);
        impl_->connection->NoteFailureLocked(std::move(why));
    }
    return volume;
}

std::optional<int> PulseSoundOutput::ReadOutputRate(const std::string& name) {
    std::string why;
    auto rate = ReadPulseSinkRate(name, kListTimeout, &why);
    if (!rate) {
        PulseConnection::Lock lock(*impl_->connection);
        impl_->connection->NoteFailureLocked(std::move(why));
    }
    return rate;
}

void PulseSoundOutput::ChooseDevice(const std::string& name) {
    PulseConnection::Lock lock(*impl_->connection);
    impl_->stream->ChooseDeviceLocked(name);
}

void PulseSoundOutput::WatchDeviceNotices(
    std::function<void(const DeviceNotice& notice)> onNotice) {
    PulseConnection::Lock lock(*impl_->connection);
    impl_->stream->WatchNoticesLocked(std::move(onNotice));
}

void PulseSoundOutput::DescribeSound(const std::string& mediaName) {
    PulseConnection::Lock lock(*impl_->connection);
    impl_->stream->DescribeLocked(mediaName);
}

void PulseSoundOutput::WatchSoundLost(std::function<void(SoundLossChange)> onChange) {
    PulseConnection::Lock lock(*impl_->connection);
    impl_->watcher = std::move(onChange);
}

bool PulseSoundOutput::WaitForServer(std::chrono::milliseconds timeout) {
    Impl& m = *impl_;
    PulseConnection::Lock lock(*m.connection);
    // A failed attempt is retried in the background; the wait spans them.
    return m.connection->WaitLocked([&] { return m.connection->ReadyLocked(); }, timeout);
}

std::uint64_t PulseSoundOutput::UnderflowCount() const {
    return impl_->stream->Underflows();
}

std::uint64_t PulseSoundOutput::ConnectionAttempts() const {
    return impl_->connection->Attempts();
}

int PulseSoundOutput::QueueMs() const {
    return impl_->stream->QueueMs();
}

int PulseSoundOutput::ServerBufferMs() const {
    return impl_->stream->ServerBufferMs();
}

FeedThreadPriority PulseSoundOutput::FeedPriority() const {
    return impl_->connection->FeedPriority();
}
