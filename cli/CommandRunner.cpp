// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CommandRunner.h"

#include "cli/CommandMessages.h"
#include "cli/Messages.h"
#include "cli/SoundLossTally.h"
#include "cli/ToneOptions.h"
#include "core/EndingSignals.h"
#include "engine/ToneExport.h"

#include "engine/DefaultSoundOutput.h"
#include "engine/ToneGen.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <thread>
#include <unistd.h>

namespace {

namespace msg = command_messages;

constexpr std::chrono::milliseconds kPollInterval{10};
// How long `play` waits for a sound server before it gives up.
constexpr std::chrono::milliseconds kServerWait{1500};
// A synchronized sweep lasts a little more or less than asked: say how long.
void SayHowLongTheSweepLasts(const ToneRequest& tone) {
    if (!tone.precise || tone.signal.kind != SignalKind::Sweep)
        return;
    std::printf("orbel: ");
    std::printf(CliString(CliText("the sweep lasts %.6f s")).c_str(),
                SweepLaw(tone.signal.sweep).DurationSeconds());
    std::printf("\n");
    std::fflush(stdout);
}

} // namespace

int RunExport(const ToneRequest& tone, const std::string& file) {
    const int why =
        file == kStandardOutput ? ExportToneTo(tone, STDOUT_FILENO) : ExportTone(tone, file);
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
    SayHowLongTheSweepLasts(tone);
    return 0;
}

int RunPlay(const ToneRequest& tone, std::optional<double> seconds) {
    // The program's output, from the factory it installed at start.
    std::shared_ptr<SoundOutput> output = DefaultSoundOutput();
    if (!output->WaitForServer(kServerWait)) {
        SayOnStandardError(WithServerReason(CliText(msg::kNoServer), output->FailureReason()));
        return 1;
    }
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
        SayHowLongTheSweepLasts(tone);
        gen.SetLoop(true);
        if (tone.envelope)
            gen.PlayADSR();
        else
            gen.Play();

        using Clock = std::chrono::steady_clock;
        const auto begin = Clock::now();
        const auto end = seconds ? begin + std::chrono::duration_cast<Clock::duration>(
                                               std::chrono::duration<double>(*seconds))
                                 : Clock::time_point::max();
        while (endingSignals.Caught() == 0 && Clock::now() < end) {
            losses.PrintNewLines(stderr);
            std::this_thread::sleep_for(
                std::min<Clock::duration>(kPollInterval, end - Clock::now()));
        }
        const auto stopped = std::min(Clock::now(), end);
        const double lost = std::chrono::duration<double>(losses.LostUntil(stopped)).count();
        const double played = std::chrono::duration<double>(stopped - begin).count();
        // The output's own fade, and what is queued heard to its end.
        gen.Output()->StopAndDrain();
        gen.Stop();
        output->WatchSoundLost(nullptr);
        losses.PrintNewLines(stderr);
        if (lost > 0) {
            std::fprintf(stderr, "orbel: ");
            std::fprintf(stderr, CliString(CliText(msg::kLostForFormat)).c_str(), lost, played);
            std::fprintf(stderr, "\n");
            status = 1;
        }
    }
    if (endingSignals.Caught() == SIGQUIT) {
        // The output's own end lets the fade-out play before the stream goes.
        output.reset();
        SetDefaultSoundOutput(nullptr);
        endingSignals.RaiseQuitIfCaught();
    }
    return status;
}
