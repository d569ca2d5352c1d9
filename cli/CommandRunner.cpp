#include "cli/CommandRunner.h"

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

constexpr std::chrono::milliseconds kPollInterval{10};
// How long `play` waits for a sound server before it gives up.
constexpr std::chrono::milliseconds kServerWait{1500};
} // namespace

int RunExport(const ToneRequest& tone, const std::string& file) {
    // A file needs no sound output.
    TToneGen gen(nullptr, std::make_shared<SilentSoundOutput>());
    if (!tone.Build(gen)) {
        std::fprintf(stderr, "orbel: not enough memory to build the signal\n");
        return 1;
    }
    if (!gen.ExportFile(file)) {
        std::fprintf(stderr, "orbel: cannot write %s\n", file.c_str());
        return 1;
    }
    return 0;
}

int RunPlay(const ToneRequest& tone, std::optional<double> seconds) {
    // The program's output, from the factory it installed at start.
    std::shared_ptr<SoundOutput> output = DefaultSoundOutput();
    if (!output->WaitForServer(kServerWait)) {
        std::fprintf(stderr, "orbel: no sound server answers (PulseAudio or PipeWire)\n");
        return 1;
    }
    InterruptCatcher catcher;
    TToneGen gen(nullptr, output);
    if (!tone.Build(gen)) {
        std::fprintf(stderr, "orbel: not enough memory to build the signal\n");
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
    // The output's own fade, and what is queued heard to its end.
    gen.Output()->StopAndDrain();
    gen.Stop();
    return 0;
}
