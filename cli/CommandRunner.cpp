// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CommandRunner.h"

#include "cli/CommandMessages.h"
#include "cli/Messages.h"
#include "cli/ServerWait.h"
#include "cli/SoundLossTally.h"
#include "cli/StepAnnouncer.h"
#include "cli/ToneOptions.h"
#include "core/EndingSignals.h"
#include "core/SettingsFolderFile.h"
#include "engine/DefaultSoundOutput.h"
#include "engine/LevelWord.h"
#include "engine/StreamExport.h"
#include "engine/ToneExport.h"
#include "engine/ToneGen.h"
#include "engine/WaveFile.h"
#include "engine/multitone/MultitoneSource.h"
#include "engine/multitone/ToneListReader.h"
#include "engine/steps/SteppedSweepSource.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <clocale>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <locale.h>
#include <memory>
#include <new>
#include <optional>
#include <stdexcept>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

namespace msg = command_messages;

constexpr std::chrono::milliseconds kPollInterval{10};
// How much faster than the system's clock a sound card may play.
constexpr double kFastestClock = 1.01;
// A number in a command-line text: a point in the English text, which
// scripts read whatever the locale, and the locale's decimal sign in a
// translation.
std::string Formatted(const char* english, double value) {
    const std::string pattern = CliString(CliText(english));
    const bool translated = pattern != english;
    const locale_t c = translated ? locale_t(0) : ::newlocale(LC_NUMERIC_MASK, "C", locale_t(0));
    const locale_t previous = c ? ::uselocale(c) : locale_t(0);
    char text[256];
    std::snprintf(text, sizeof text, pattern.c_str(), value);
    if (c) {
        ::uselocale(previous);
        ::freelocale(c);
    }
    return text;
}

// A synchronized sweep lasts a little more or less than asked: say how long
// (on standard output, or on standard error when that carries the file),
// and say why when it is far longer than asked or the fades had to be cut.
// False when the line cannot be written.
bool SayHowLongTheSweepLasts(const ToneRequest& tone, std::FILE* to) {
    if (!tone.precise || tone.signal.kind != SignalKind::Sweep)
        return true;
    const SweepSettings& sweep = tone.signal.sweep;
    const double seconds = SweepLaw(sweep).DurationSeconds();
    std::string line = "orbel: " + Formatted("the sweep lasts %.6f s", seconds);
    // The shortest synchronized sweep over a range may be far longer.
    if (seconds > 1.1 * sweep.durationMs / 1000.0)
        line += Formatted("; longer than the %.3f s asked: the shortest synchronized sweep over "
                          "this range",
                          sweep.durationMs / 1000.0);
    // Each fade takes at most half of the sweep.
    if (sweep.fadeMs / 1000.0 > seconds / 2)
        line += Formatted("; each fade is cut to half of it, %.6f s", seconds / 2);
    line += '\n';
    return std::fputs(line.c_str(), to) >= 0 && std::fflush(to) == 0;
}

bool SayCannotWriteStandardOutput() {
    const int error = errno;
    SayOnStandardError(CliText("cannot write to standard output: %1").arg(std::strerror(error)));
    return false;
}

} // namespace

namespace {

// `why` (0 or an errno value) said on standard error; the exit status.
int SayHowTheExportWent(int why, const std::string& file) {
    if (why == ENOMEM) {
        SayOnStandardError(CliText(msg::kNoMemory));
        return 1;
    }
    if (why != 0) {
        const std::string name =
            file == kStandardOutput ? CliString(CliText("standard output")) : file;
        std::fprintf(stderr, "orbel: %s %s: %s\n", CliString(CliText(msg::kCannotWrite)).c_str(),
                     tone_options::OneLine(name).c_str(), std::strerror(why));
        return 1;
    }
    return 0;
}

// The streamed tone's image written to standard output.
int ExportStreamedToneTo(const StreamedToneSettings& tone, const WaveFormat& format, int durationMs,
                         int fd) {
    try {
        StreamedTone source(tone, format);
        const std::vector<std::uint8_t> image = StreamImage(source, durationMs);
        return image.empty() ? ENOMEM : WriteAllTo(fd, image.data(), image.size());
    } catch (const std::bad_alloc&) {
        return ENOMEM;
    } catch (const std::invalid_argument&) {
        return EINVAL;
    }
}

} // namespace

int RunExport(const ToneRequest& tone, const std::string& file) {
    const int why =
        file == kStandardOutput ? ExportToneTo(tone, STDOUT_FILENO) : ExportTone(tone, file);
    if (SayHowTheExportWent(why, file) != 0)
        return 1;
    if (!SayHowLongTheSweepLasts(tone, file == kStandardOutput ? stderr : stdout)) {
        SayCannotWriteStandardOutput();
        return 1;
    }
    return 0;
}

int RunStreamedExport(const StreamedToneSettings& tone, const WaveFormat& format, int durationMs,
                      const std::string& file) {
    const int why = file == kStandardOutput
                        ? ExportStreamedToneTo(tone, format, durationMs, STDOUT_FILENO)
                        : ExportStreamedTone(tone, format, durationMs, file);
    return SayHowTheExportWent(why, file);
}

namespace {

// Numbers in refusals are written in C notation, as scripts read them.
std::string Number(const char* format, double value) {
    const locale_t c = ::newlocale(LC_NUMERIC_MASK, "C", locale_t(0));
    const locale_t previous = c ? ::uselocale(c) : locale_t(0);
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    if (c) {
        ::uselocale(previous);
        ::freelocale(c);
    }
    return text;
}

std::string Hertz(double hz) {
    return Number("%.6g", hz);
}

// The tone list of `path`, or why it cannot be read.
std::string ReadTones(const std::string& path, std::vector<MultitoneTone>& tones) {
    const std::string name = tone_options::Quoted(path);
    const SettingsFileText file = ReadSettingsFolderFile(path);
    switch (file.status) {
    case SettingsFileText::Status::Read:
        break;
    case SettingsFileText::Status::Missing:
        return CliString(CliMessage("--tones-file %1: no such file", {name}));
    case SettingsFileText::Status::NotAFile:
        return CliString(CliMessage("--tones-file %1 is not a regular file", {name}));
    case SettingsFileText::Status::TooLarge:
        return CliString(CliMessage("--tones-file %1 is larger than 1 MB", {name}));
    case SettingsFileText::Status::Unreadable:
        return CliString(CliMessage("--tones-file %1 cannot be read", {name}));
    }
    ToneListReading reading = ReadToneList(file.text);
    if (reading.badLine > 0)
        return CliString(
            CliMessage("--tones-file %1, line %2: %3", {name, reading.badLine, reading.reason}));
    if (!reading.reason.empty())
        return CliString(CliMessage("--tones-file %1: %2", {name, reading.reason}));
    tones = std::move(reading.tones);
    return {};
}

std::string MultitoneRefusalText(const Multitone& m, const MultitoneRequest& request) {
    const int rate = request.format.SamplesPerSecond();
    const int fft = request.settings.fftLength;
    switch (m.refusal) {
    case MultitoneRefusal::None:
        return {};
    case MultitoneRefusal::NoTones:
        return CliString(CliMessage("--tones places no tone"));
    case MultitoneRefusal::BadLength:
    case MultitoneRefusal::BadRate:
        return CliString(
            CliMessage("--fft %1 cannot be used at %2 samples per second", {fft, rate}));
    case MultitoneRefusal::OutOfRange:
        return CliString(CliMessage("the tone at %1 Hz does not lie between the first bin of "
                                    "--fft %2 and half of %3 samples per second",
                                    {Hertz(m.firstHertz), fft, rate}));
    case MultitoneRefusal::SameBin:
        return CliString(
            CliMessage("the tones at %1 Hz and %2 Hz land on one bin of --fft %3 at %4 samples "
                       "per second: drop one or lengthen --fft",
                       {Hertz(m.firstHertz), Hertz(m.secondHertz), fft, rate}));
    case MultitoneRefusal::Clips:
        break;
    }
    return CliString(
        CliMessage("--level %1 dBFS RMS would clip this multitone: the largest level "
                   "that fits is %2",
                   {Number("%.2f", request.settings.levelDb), Number("%.2f", m.largestLevelDb)}));
}

// The multitone's crest factor, on standard error (standard output may
// carry the file).
void SayCrestFactor(const Multitone& m) {
    std::fprintf(
        stderr, "orbel: %s\n",
        CliString(CliMessage("crest factor %1 dB, %2 tones, repeating every %3 frames",
                             {Number("%.2f", m.crestFactorDb), int(m.tones.size()), m.fftLength}))
            .c_str());
}

// `durationMs` of a source written to `file` or standard output, all or
// nothing: 0 or the errno value that says why.
template <class Source, class... Args>
int WriteSource(const std::string& file, int durationMs, Args&&... args) {
    try {
        Source source(std::forward<Args>(args)...);
        if (file != kStandardOutput)
            return ExportStream(source, durationMs, file);
        const std::vector<std::uint8_t> image = StreamImage(source, durationMs);
        return image.empty() ? ENOMEM : WriteAllTo(STDOUT_FILENO, image.data(), image.size());
    } catch (const std::bad_alloc&) {
        return ENOMEM;
    } catch (const std::invalid_argument&) {
        return EINVAL;
    }
}

// Looks at a sound that may end by itself: true once it has. Called every
// `interval` while it plays.
struct SoundWatch {
    std::function<bool()> ended;
    std::chrono::milliseconds interval = kPollInterval;
};

// Waits while the sound plays, until `seconds` have passed, an ending
// signal came or `watch` says the sound has ended, then fades it out and
// waits until that has been heard. 1 when part of the time was silent
// through a lost server (said in a last line), else 0.
int PlayToTheEnd(SoundOutput& output, const EndingSignals& endingSignals, SoundLossTally& losses,
                 std::optional<double> seconds, const SoundWatch& watch = {}) {
    using Clock = std::chrono::steady_clock;
    const auto begin = Clock::now();
    const auto end = seconds ? begin + std::chrono::duration_cast<Clock::duration>(
                                           std::chrono::duration<double>(*seconds))
                             : Clock::time_point::max();
    while (endingSignals.Caught() == 0 && Clock::now() < end && !(watch.ended && watch.ended())) {
        losses.PrintNewLines(stderr);
        std::this_thread::sleep_for(std::min<Clock::duration>(watch.interval, end - Clock::now()));
    }
    const auto stopped = std::min(Clock::now(), end);
    const double lost = std::chrono::duration<double>(losses.LostUntil(stopped)).count();
    const double played = std::chrono::duration<double>(stopped - begin).count();
    // The output's own fade, and what is queued heard to its end.
    output.StopAndDrain();
    output.WatchSoundLost(nullptr);
    losses.PrintNewLines(stderr);
    if (lost <= 0)
        return 0;
    std::fprintf(stderr, "orbel: ");
    std::fprintf(stderr, CliString(CliText(msg::kLostForFormat)).c_str(), lost, played);
    std::fprintf(stderr, "\n");
    return 1;
}

// After a SIGQUIT, the output's own end lets the fade-out play before the
// stream goes, and the signal then takes its default effect.
void QuitIfAsked(std::shared_ptr<SoundOutput>& output, EndingSignals& endingSignals) {
    if (endingSignals.Caught() != SIGQUIT)
        return;
    output.reset();
    SetDefaultSoundOutput(nullptr);
    endingSignals.RaiseQuitIfCaught();
}

} // namespace

bool OutputCanPlay(SoundOutput& output) {
    if (!output.WaitForServer(kServerWait)) {
        SayOnStandardError(WithServerReason(CliText(msg::kNoServer), output.FailureReason()));
        return false;
    }
    // A server without a single output would take the stream and lose it.
    if (const auto devices = output.ListDevices(); devices && devices->empty()) {
        SayOnStandardError(CliText(msg::kNoOutput));
        return false;
    }
    return true;
}

PreparedMultitone PrepareMultitone(const MultitoneRequest& request) {
    PreparedMultitone prepared;
    MultitoneSettings settings = request.settings;
    if (!request.tonesFile.empty()) {
        prepared.refusal = ReadTones(request.tonesFile, settings.tones);
        if (!prepared.refusal.empty())
            return prepared;
    }
    try {
        prepared.multitone = BuildMultitone(settings, request.format.SamplesPerSecond());
    } catch (const std::bad_alloc&) {
        prepared.refusal = CliString(CliText(msg::kNoMemory));
        return prepared;
    }
    prepared.refusal = MultitoneRefusalText(prepared.multitone, request);
    return prepared;
}

int RunMultitoneExport(const MultitoneRequest& request, const std::string& file) {
    const PreparedMultitone prepared = PrepareMultitone(request);
    if (!prepared.refusal.empty()) {
        std::fprintf(stderr, "orbel: %s\n", tone_options::OneLine(prepared.refusal).c_str());
        return 2;
    }
    const Multitone& m = prepared.multitone;
    const int why =
        WriteSource<MultitoneSource>(file, request.durationMs, m, request.format, request.dither);
    if (SayHowTheExportWent(why, file) != 0)
        return 1;
    SayCrestFactor(m);
    return 0;
}

int RunSteppedSweepExport(const SteppedSweepRequest& request, const std::string& file) {
    const int rate = request.format.SamplesPerSecond();
    const auto durationMs = static_cast<int>(
        std::min<std::uint64_t>((request.schedule.endFrame * 1000 + rate - 1) / rate, INT32_MAX));
    const int why = WriteSource<SteppedSweepSource>(file, durationMs, request.schedule,
                                                    request.format, request.peak, request.dither);
    return SayHowTheExportWent(why, file);
}

int RunPlay(const ToneRequest& tone, std::optional<double> seconds) {
    // The program's output, from the factory it installed at start.
    std::shared_ptr<SoundOutput> output = DefaultSoundOutput();
    if (!OutputCanPlay(*output))
        return 1;
    EndingSignals endingSignals;
    SoundLossTally losses;
    output->WatchSoundLost([&losses](SoundLossChange change) { losses.Note(change); });
    int status = 0;
    {
        TToneGen gen(nullptr, output);
        // Played in a loop, a sweep runs on to its next whole cycle so that the
        // repetition joins it without a step.
        ToneRequest looped = tone;
        looped.signal.sweep.joinLoop = true;
        if (!looped.Build(gen)) {
            output->WatchSoundLost(nullptr);
            SayOnStandardError(CliText(msg::kNoMemory));
            return 1;
        }
        if (!SayHowLongTheSweepLasts(tone, stdout)) {
            output->WatchSoundLost(nullptr);
            SayCannotWriteStandardOutput();
            return 1;
        }
        gen.SetLoop(true);
        if (tone.envelope)
            gen.PlayADSR();
        else
            gen.Play();
        status = PlayToTheEnd(*gen.Output(), endingSignals, losses, seconds);
        gen.Stop();
    }
    QuitIfAsked(output, endingSignals);
    return status;
}

int RunStreamedPlay(const ToneRequest& request, const StreamedToneSettings& tone,
                    const WaveFormat& format, std::optional<double> seconds) {
    std::shared_ptr<SoundOutput> output = DefaultSoundOutput();
    if (!OutputCanPlay(*output))
        return 1;
    std::optional<StreamedTone> source;
    try {
        source.emplace(tone, format);
    } catch (const std::bad_alloc&) {
        SayOnStandardError(CliText(msg::kNoMemory));
        return 1;
    }
    EndingSignals endingSignals;
    SoundLossTally losses;
    output->WatchSoundLost([&losses](SoundLossChange change) { losses.Note(change); });
    output->SetLevel(0, LevelWordFromPercent(std::uint32_t(request.leftVolume),
                                             std::uint32_t(request.rightVolume)));
    output->PlayStream(*source);
    // Once this returns the output reads the source no more.
    const int status = PlayToTheEnd(*output, endingSignals, losses, seconds);
    QuitIfAsked(output, endingSignals);
    return status;
}

namespace {

// Streams `source` at full level until `seconds` have passed, an ending
// signal came or `watch` says it has ended; then fades out (see RunPlay).
int PlayStreamToTheEnd(std::shared_ptr<SoundOutput>& output, FrameSource& source,
                       std::optional<double> seconds, const SoundWatch& watch = {}) {
    EndingSignals endingSignals;
    SoundLossTally losses;
    output->WatchSoundLost([&losses](SoundLossChange change) { losses.Note(change); });
    output->SetLevel(0, LevelWordFromPercent(100, 100));
    output->PlayStream(source);
    // Once this returns the output reads the source no more.
    const int status = PlayToTheEnd(*output, endingSignals, losses, seconds, watch);
    QuitIfAsked(output, endingSignals);
    return status;
}

} // namespace

int RunMultitonePlay(const MultitoneRequest& request, std::optional<double> seconds) {
    const PreparedMultitone prepared = PrepareMultitone(request);
    if (!prepared.refusal.empty()) {
        std::fprintf(stderr, "orbel: %s\n", tone_options::OneLine(prepared.refusal).c_str());
        return 2;
    }
    std::shared_ptr<SoundOutput> output = DefaultSoundOutput();
    if (!OutputCanPlay(*output))
        return 1;
    std::optional<MultitoneSource> source;
    try {
        source.emplace(prepared.multitone, request.format, request.dither);
    } catch (const std::bad_alloc&) {
        SayOnStandardError(CliText(msg::kNoMemory));
        return 1;
    }
    SayCrestFactor(prepared.multitone);
    return PlayStreamToTheEnd(output, *source, seconds);
}

int RunSteppedSweepPlay(const SteppedSweepRequest& request, std::optional<double> seconds) {
    std::shared_ptr<SoundOutput> output = DefaultSoundOutput();
    if (!OutputCanPlay(*output))
        return 1;
    std::optional<SteppedSweepSource> source;
    try {
        source.emplace(request.schedule, request.format, request.peak, request.dither);
    } catch (const std::bad_alloc&) {
        SayOnStandardError(CliText(msg::kNoMemory));
        return 1;
    }
    StepAnnouncer announcer(source->Schedule(), stdout);
    const double rate = request.format.SamplesPerSecond();
    double heard = 0;
    auto asked = std::chrono::steady_clock::now();
    bool written = true;
    SoundWatch watch;
    // Each step is said within a few milliseconds of being heard.
    watch.interval = std::chrono::milliseconds(2);
    watch.ended = [&] {
        // Until the server tells where it plays, nothing has been heard.
        // Sound is heard no faster than it plays (with room for the sound
        // card's clock): a server that takes its first queue at once, or
        // a late timing report, does not say steps ahead of time.
        const auto now = std::chrono::steady_clock::now();
        const double most =
            heard + kFastestClock * rate * std::chrono::duration<double>(now - asked).count();
        asked = now;
        if (const std::optional<std::uint64_t> told = output->StreamFramesHeard())
            heard = std::max(heard, std::min(double(*told), most));
        const auto frames = static_cast<std::uint64_t>(heard);
        written = announcer.Heard(frames);
        return !written || announcer.Over(frames);
    };
    const int status = PlayStreamToTheEnd(output, *source, seconds, watch);
    if (!written) {
        SayCannotWriteStandardOutput();
        return 1;
    }
    return status;
}
