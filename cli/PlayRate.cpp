// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/PlayRate.h"

#include "cli/Messages.h"
#include "engine/MilliHertz.h"
#include "engine/SampleRates.h"

#include <cmath>
#include <optional>

bool FrequenciesFitRate(const CommandLine& line, int rate) {
    const FrequencyRange range = FrequencyRange::AtRate(rate);
    const auto fits = [&range](MilliHertz f) { return f.value == 0 || range.Holds(f); };
    if (line.streamed)
        return fits(line.streamed->tone.frequency) && fits(line.streamed->tone.rightFrequency);
    const ToneRequest& tone = line.tone;
    const auto fitsHertz = [&fits](double hz) { return fits(MilliHertz{std::llround(hz * 1000)}); };
    if (tone.precise && tone.signal.kind == SignalKind::Sweep)
        return fitsHertz(tone.signal.sweep.startHz) && fitsHertz(tone.signal.sweep.endHz);
    // Whole hertz up to 20000, which every rate plays.
    return true;
}

void ChoosePlayRate(CommandLine& line, SoundOutput& output, const std::string& outputName) {
    // No server answered yet: play says so as it waits for one.
    if (outputName.empty())
        return;
    const std::optional<int> outputRate = output.ReadOutputRate(outputName);
    int rate = line.tone.Format().SamplesPerSecond();
    if (!outputRate) {
        SayOnStandardError(WithServerReason(
            CliText("cannot read the output's sample rate: playing %1 samples per second")
                .arg(rate),
            output.FailureReason()));
        return;
    }
    if (!line.rateGiven && PlaysAtRate(*outputRate, line.tone.precise) &&
        FrequenciesFitRate(line, *outputRate)) {
        rate = *outputRate;
        SetRate(line.tone, rate);
        if (line.streamed)
            line.streamed->format = line.tone.Format();
    }
    if (rate != *outputRate)
        SayOnStandardError(CliText("the output runs at %1 samples per second: the sound server "
                                   "will resample the sound played at %2")
                               .arg(*outputRate)
                               .arg(rate));
}
