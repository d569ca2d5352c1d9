#include "cli/CommandRunner.h"

#include "cli/Messages.h"

#include "engine/DefaultSoundOutput.h"
#include "engine/SilentSoundOutput.h"
#include "engine/ToneGen.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <memory>
#include <thread>

namespace {

volatile std::sig_atomic_t interrupted = 0;

void OnInterrupt(int) {
    interrupted = 1;
}

// Ctrl-C and SIGTERM only set a flag while the sound plays; the previous
// handlers come back when it ends.
class InterruptCatcher {
public:
    InterruptCatcher() {
        interrupted = 0;
        struct sigaction action {};
        action.sa_handler = OnInterrupt;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &previousInt_);
        sigaction(SIGTERM, &action, &previousTerm_);
    }
    ~InterruptCatcher() {
        sigaction(SIGINT, &previousInt_, nullptr);
        sigaction(SIGTERM, &previousTerm_, nullptr);
    }
    InterruptCatcher(const InterruptCatcher&) = delete;
    InterruptCatcher& operator=(const InterruptCatcher&) = delete;

    bool Interrupted() const { return interrupted != 0; }

private:
    struct sigaction previousInt_ {};
    struct sigaction previousTerm_ {};
};

// Long enough that the end is not a click, short enough to feel immediate.
constexpr int kFadeSteps = 50;
constexpr std::chrono::milliseconds kFadeStep{2};
// The level applies to what is handed to the sound server, which plays it
// a buffer later: silence is kept up this long before the stream stops (a
// stop drops what the server still holds).
constexpr std::chrono::milliseconds kFadeSettle{250};
constexpr std::chrono::milliseconds kPollInterval{10};
// How long `play` waits for a sound server before it gives up.
constexpr std::chrono::milliseconds kServerWait{1500};
constexpr std::uint32_t kLevelMax = 65535;

void FadeOut(TToneGen& gen) {
    const std::uint32_t left = std::uint32_t(gen.LeftVolume()) * kLevelMax / 100;
    const std::uint32_t right = std::uint32_t(gen.RightVolume()) * kLevelMax / 100;
    for (int step = kFadeSteps - 1; step >= 0; --step) {
        const std::uint32_t l = left * step / kFadeSteps;
        const std::uint32_t r = right * step / kFadeSteps;
        gen.Output()->SetLevel(gen.DeviceId(), l | (r << 16));
        std::this_thread::sleep_for(kFadeStep);
    }
    std::this_thread::sleep_for(kFadeSettle);
}

} // namespace

int RunExport(const ToneRequest& tone, const std::string& file) {
    // A file needs no sound output.
    TToneGen gen(nullptr, std::make_shared<SilentSoundOutput>());
    if (!tone.Build(gen)) {
        std::fprintf(stderr, "orbel: %s\n",
                     CliString(CliText("not enough memory to build the signal")).c_str());
        return 1;
    }
    if (!gen.ExportFile(file)) {
        std::fprintf(
            stderr, "orbel: %s\n",
            CliString(CliText("cannot write %1").arg(QString::fromStdString(file))).c_str());
        return 1;
    }
    return 0;
}

int RunPlay(const ToneRequest& tone, std::optional<double> seconds) {
    // The program's output, from the factory it installed at start.
    std::shared_ptr<SoundOutput> output = DefaultSoundOutput();
    if (!output->WaitForServer(kServerWait)) {
        std::fprintf(
            stderr, "orbel: %s\n",
            CliString(CliText("no sound server answers (PulseAudio or PipeWire)")).c_str());
        return 1;
    }
    InterruptCatcher catcher;
    TToneGen gen(nullptr, output);
    if (!tone.Build(gen)) {
        std::fprintf(stderr, "orbel: %s\n",
                     CliString(CliText("not enough memory to build the signal")).c_str());
        return 1;
    }
    gen.SetLoop(true);
    if (tone.envelope)
        gen.PlayADSR();
    else
        gen.Play();

    using Clock = std::chrono::steady_clock;
    const auto end = seconds ? Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                                  std::chrono::duration<double>(*seconds))
                             : Clock::time_point::max();
    while (!catcher.Interrupted() && Clock::now() < end)
        std::this_thread::sleep_for(std::min<Clock::duration>(kPollInterval, end - Clock::now()));
    FadeOut(gen);
    gen.Stop();
    return 0;
}
