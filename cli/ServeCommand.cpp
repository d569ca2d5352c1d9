// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ServeCommand.h"

#include "cli/CommandRunner.h"
#include "cli/LevelAtOutput.h"
#include "cli/Messages.h"
#include "core/EndingSignals.h"
#include "engine/DefaultSoundOutput.h"
#include "engine/LoopLength.h"
#include "engine/ToneGen.h"
#include "instrument/Instrument.h"
#include "remote/InstrumentTarget.h"
#include "remote/Session.h"
#include "remote/net/RemoteServer.h"

#include <csignal>
#include <cstdio>
#include <memory>

namespace {

// How often the stepped sweep's progress is followed: its steps reach the
// settings and its end stops the instrument within this time of being heard
// (and the output once the end has played out).
constexpr int kFollowStepsMs = 10;

// The generator as the panel starts it: 1000 Hz, both channels at 50,
// looped, the precise synthesis.
void SetAsThePanelStarts(TToneGen& gen) {
    gen.SetPrecise(true);
    gen.SetFrequency(1000);
    gen.SetLeftVolume(50);
    gen.SetRightVolume(50);
    gen.SetLoop(true);
    gen.SetDuration(static_cast<std::int16_t>(
        loop_length::ToneLoopDurationMs(TTGWave::tgSine, 1000, /*precise=*/true)));
}

} // namespace

int RunServe(const CommandLine& line, const std::string& version) {
    std::shared_ptr<SoundOutput> output = DefaultSoundOutput();
    if (!OutputCanPlay(*output))
        return 1;
    EndingSignals endingSignals;
    int status = 0;
    {
        TToneGen gen(nullptr, output);
        SetAsThePanelStarts(gen);
        instrument::Instrument model(gen);
        // Levels in volts through the output's stored calibration, as play
        // takes them.
        const LevelAtOutput at = FindLevelAtOutput(*output, line.device);
        model.UseCalibration({at.calibration, at.rightCalibration});
        std::fputs(CalibrationNotice(at).c_str(), stderr);
        std::unique_ptr<remote_net::RemoteServer> server;
        remote::InstrumentTarget target(model, version, [&server] { server->Stop(); });
        server = std::make_unique<remote_net::RemoteServer>(
            [&target](bool mayShutDown) {
                return std::make_unique<remote_net::SessionOf<remote::Session>>(target,
                                                                                mayShutDown);
            },
            line.allowed);
        // The instrument's clock, driven as the panel's timer drives it.
        server->SetFollow([&model] {
            if (!model.FollowsSteps())
                return -1;
            model.FollowSteps();
            return model.FollowsSteps() ? kFollowStepsMs : -1;
        });
        if (const std::string refused = server->Listen(line.listen); !refused.empty()) {
            std::fprintf(stderr, "orbel: %s\n", refused.c_str());
            return 1;
        }
        std::fprintf(stderr, "orbel: listening on %s\n", server->Listening().Text().c_str());
        std::fflush(stderr);
        server->Run(endingSignals.ReadFd());
        server.reset(); // no client is served while the sound fades
        // The output's own fade, heard to its end.
        gen.Output()->StopAndDrain();
        gen.Stop();
    }
    if (endingSignals.Caught() == SIGQUIT) {
        output.reset();
        SetDefaultSoundOutput(nullptr);
        endingSignals.RaiseQuitIfCaught();
    }
    return status;
}
