// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's command line: no command opens the front panel; `export
// FILE` and `play` work the generator without a display. Parsing only: it
// reads nothing but the arguments and touches no file, display or sound.

#include "engine/LevelUnit.h"
#include "engine/StreamedTone.h"
#include "engine/ToneRequest.h"
#include "engine/WaveFormat.h"
#include "engine/multitone/Multitone.h"
#include "engine/steps/StepSchedule.h"
#include "remote/net/AllowList.h"
#include "remote/net/Endpoint.h"
#include "instrument/Preset.h"

#include <QCommandLineParser>
#include <QStringList>

#include <functional>
#include <optional>
#include <string>
#include <utility>

// export or play of a steady tone that no loop holds: a frequency with
// decimals, or below 20 or above 20000 Hz. Its signal is streamed (export
// writes `durationMs` of it).
struct StreamedExportRequest {
    StreamedToneSettings tone;
    WaveFormat format;
    int durationMs = 1000;
};

// export or play of a multitone: its tones from --tones, or from the list in
// `tonesFile` (read when the command runs); the level is the RMS of the
// whole signal.
struct MultitoneRequest {
    MultitoneSettings settings; // tones empty when they come from the file
    std::string tonesFile;      // the name's bytes as given
    WaveFormat format;
    int durationMs = 1000;
    bool dither = false;
};

// export or play of a stepped sweep: the schedule, checked at the format's rate.
struct SteppedSweepRequest {
    StepSchedule schedule;
    WaveFormat format;
    double peak = 1;
    bool dither = false;
};

struct CommandLine {
    enum class Action {
        Panel,
        Help,
        Version,
        Export,
        Play,
        Refused,
        Devices,
        Calibrate,
        Presets,      // list them
        PresetSave,   // `preset` as the options describe it
        PresetDelete, // the one named `presetName`
        Serve,
    };

    Action action = Action::Panel;
    bool classic = false;          // the panel plays the original synthesis
    std::string file;              // export: the name's bytes as given; "-": standard output
    ToneRequest tone;              // export, play
    std::optional<double> seconds; // play: until interrupted without it
    // --rate was given; play otherwise plays at the output's own rate.
    bool rateGiven = false;
    // play, export, calibrate: an output's name or description; empty: the default
    std::string device;
    // export, play: --level in volts, dBu or dBV, which the output's
    // calibration turns into tone.levelDb before anything is made; the text
    // as typed, for the messages. A level in dBFS is in tone.levelDb.
    std::optional<WrittenLevel> jackLevel;
    std::string levelText;
    // export, play with --stereo: --right-level, the right channel's own
    // level, in the same way: in dBFS it is in tone.rightLevelDb, in volts
    // here for the right channel's calibration.
    std::optional<WrittenLevel> rightJackLevel;
    std::string rightLevelText;
    bool levelGiven = false; // --level or --right-level
    // calibrate: the meter's readings of the left and right channels in
    // volts (RMS), when given on the command line.
    std::optional<std::pair<double, double>> measured;
    std::string error; // refused: one line naming the option and its range
    // export, play: set when the tone is streamed; `tone` then gives the rest of
    // the request but not the frequencies.
    std::optional<StreamedExportRequest> streamed;
    // export, play: set for --waveform multitone and for --steps; `tone`
    // is then not used.
    std::optional<MultitoneRequest> multitone;
    std::optional<SteppedSweepRequest> steps;
    // serve: where it listens, and the clients it accepts beyond the
    // loopback address (needed to listen beyond it).
    remote_net::Endpoint listen;
    remote_net::AllowList allowed;
    // presets save: the preset; presets delete, --preset: its name.
    std::optional<instrument::Preset> preset;
    std::string presetName;
    // The device is the preset's (not given on the command line): an output
    // that is gone gives the default.
    bool deviceFromPreset = false;
};

// What --preset NAME finds: the preset, or the one-line refusal.
struct PresetLookup {
    std::optional<instrument::Preset> preset;
    std::string refusal; // translated
};
using PresetSource = std::function<PresetLookup(const std::string& name)>;

// Puts `rate` (one of kPreciseRates) on the tone: the classic two through
// its quality, the others as its own rate.
void SetRate(ToneRequest& tone, int rate);

class CommandLineParser {
public:
    CommandLineParser();
    // `arguments` as the program got them, its own name first, each made
    // text by ArgumentText so that a file name keeps its bytes.
    CommandLine Parse(const QStringList& arguments);
    // Usage, commands and options; needs the application object (for the
    // program's name).
    QString HelpText() const;
    // Where --preset NAME is looked up; without one, --preset is refused.
    void SetPresetSource(PresetSource source) { presets_ = std::move(source); }

private:
    CommandLine ParseTone(CommandLine line);
    // calibrate: its output, level and readings.
    CommandLine ParseCalibrate(CommandLine line);
    // The measurement signals and their refusals, after the tone.
    CommandLine ParseSignal(CommandLine line);
    // A frequency that no loop holds: export and play stream it (or refuse
    // what a streamed tone cannot do).
    CommandLine ParseFineTone(CommandLine line);
    // --waveform multitone and --steps, which replace the tone and its
    // signals.
    CommandLine ParseToneSet(CommandLine line, bool multitone);
    // serve: its address, allow list and output.
    CommandLine ParseServe(CommandLine line);
    // The rate the frequencies are judged at: --rate's, or the default.
    int RateAsked() const;
    // export, play or presets save with --preset: the arguments parsed
    // again with the preset's settings.
    CommandLine ParseWithPreset(const QStringList& arguments, const QStringList& positional);
    // presets, presets save NAME [options], presets delete NAME.
    CommandLine ParsePresets(CommandLine line, const QStringList& positional);
    // The arguments with the preset's settings added where the arguments
    // give none of their own.
    QStringList WithPreset(const QStringList& arguments, const instrument::Preset& preset);

    PresetSource presets_;
    bool presetTaken_ = false; // the arguments hold the preset's settings already

    // The frequencies given off the loops' grid (reset by Parse).
    std::optional<MilliHertz> fineLeft_;
    std::optional<MilliHertz> fineRight_;

    QCommandLineParser parser_;
};
