// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CommandLine.h"

#include "cli/ArgumentText.h"
#include "cli/Messages.h"
#include "cli/ToneOptions.h"
#include "engine/CalibrationTone.h"
#include "engine/NoteName.h"
#include "engine/RealFrameMixer.h"
#include "engine/SampleRates.h"
#include "engine/multitone/ToneListReader.h"
#include "engine/multitone/TonePlacement.h"
#include "instrument/PresetStore.h"
#include "instrument/PresetText.h"

#include <QCommandLineOption>
#include <QCoreApplication>

#include <algorithm>
#include <optional>
#include <set>
#include <string_view>
#include <type_traits>
#include <utility>

namespace {

namespace to = tone_options;

const QString kHelp = "help";
const QString kVersion = "version";
const QString kFrequency = "frequency";
const QString kNote = "note";
const QString kWaveform = "waveform";
const QString kDuration = "duration";
const QString kBits = "bits";
const QString kRate = "rate";
const QString kStereo = "stereo";
const QString kVolume = "volume";
const QString kEnvelope = "envelope";
const QString kAM = "am";
const QString kNoMultiplier = "no-multiplier";
const QString kPrecise = "precise";
const QString kClassic = "classic";
const QString kSeconds = "seconds";
// The measurement signals.
const QString kSweep = "sweep";
const QString kLinear = "linear";
const QString kFade = "fade";
const QString kBurst = "burst";
const QString kPhase = "phase";
const QString kRightFrequency = "right-frequency";
const QStringList kSignalOptions{kSweep, kLinear, kFade, kBurst, kPhase, kRightFrequency};
const QStringList kSignalSingleValued{kSweep, kFade, kBurst, kPhase, kRightFrequency};

// The multitone and the stepped sweep.
const QString kTones = "tones";
const QString kTonesFile = "tones-file";
const QString kFft = "fft";
const QString kSteps = "steps";
const QString kDwell = "dwell";
const QString kUpDown = "up-down";
const QStringList kToneSetOptions{kTones, kTonesFile, kFft, kSteps, kDwell, kUpDown};
const QStringList kToneSetSingleValued{kTones, kTonesFile, kFft, kSteps, kDwell};
// A multitone's RMS level without --level, in dBFS.
constexpr double kMultitoneLevelDb = -10;

// The output's format, level and device.
const QString kLevel = "level";
const QString kRightLevel = "right-level";
const QString kDither = "dither";
const QString kDevice = "device";
// calibrate: the meter's readings.
const QString kMeasured = "measured";
// export, play, presets save: start from a preset.
const QString kPreset = "preset";
// Options a preset does not keep: presets save refuses them.
const QStringList kNotInPresets{kNote,    kEnvelope, kAM,      kNoMultiplier,
                                kClassic, kSeconds,  kMeasured};
// A preset's settings that a signal of its own replaces, and the options
// that choose such a signal.
const QStringList kSignalSettings{kWaveform, kSweep,  kLinear,        kFade, kBurst,
                                  kPhase,    kTones,  kTonesFile,     kFft,  kSteps,
                                  kDwell,    kUpDown, kRightFrequency};
const QStringList kSignalChoosers{kWaveform, kSweep, kBurst, kTones, kTonesFile, kSteps};
// Settings that give a signal its own frequencies, dropped when the
// command line gives a frequency.
const QStringList kOwnFrequencySettings{kSweep, kLinear, kFade,  kTones, kTonesFile,
                                        kFft,   kSteps,  kDwell, kUpDown};

// Options that shape the signal: they need a command.
const QStringList kToneOptions{kFrequency, kNote,   kWaveform, kDuration, kBits,         kRate,
                               kStereo,    kVolume, kEnvelope, kAM,       kNoMultiplier, kSeconds};
// Options that take a value and may be given once.
const QStringList kSingleValued{kFrequency, kNote,   kWaveform, kDuration, kBits,
                                kRate,      kVolume, kEnvelope, kSeconds};
// The output options for measurement: they need a command as well; the
// level may be given once.
const QStringList kOutputOptions{kLevel, kRightLevel, kDither, kDevice, kMeasured};
const QStringList kSingleValuedOutput{kLevel, kRightLevel, kDevice, kMeasured};

// serve: the remote-control server's address and the clients it accepts.
const QString kListen = "listen";
const QString kAllow = "allow";
const QStringList kServeOptions{kListen, kAllow};

// How long an exported streamed tone lasts without --duration.
constexpr int kStreamedDurationMs = 1000;

CommandLine Refuse(std::string message) {
    CommandLine line;
    line.action = CommandLine::Action::Refused;
    line.error = to::OneLine(message);
    return line;
}

CommandLine Refuse(const QString& message) {
    return Refuse(CliString(message));
}

CommandLine Refuse(const CliMessage& message) {
    return Refuse(CliString(message));
}

std::string Flag(const QString& name) {
    return "--" + name.toStdString();
}

// The reader of a whole number from `min` to `max` (see to::WholeNumber).
auto Whole(const char* option, int min, int max, const char* what) {
    return [=](std::string_view text) { return to::WholeNumber(option, text, min, max, what); };
}

// The frequencies a loop holds (whole hertz from 20 to 20000) come from
// the whole-number reader, as they always did. Other frequencies the
// precise synthesis streams (export writes them, play plays them); the
// classic synthesis never takes them.
auto FrequencyReader(const char* option, bool fine, int rate) {
    return [=](std::string_view text) -> OptionValue<MilliHertz> {
        auto whole = to::WholeNumber(option, text, kMinToneFrequency, kMaxToneFrequency, "Hz");
        if (whole.value)
            return {MilliHertz::FromHertz(*whole.value), {}};
        if (!fine)
            return {std::nullopt, std::move(whole.error)};
        return to::FineFrequency(option, text, rate);
    };
}

bool OnTheLoopsGrid(MilliHertz f) {
    return f.IsWholeHertz() && f >= MilliHertz::FromHertz(kMinToneFrequency) &&
           f <= MilliHertz::FromHertz(kMaxToneFrequency);
}

bool FineFrequenciesFor(const CommandLine& line) {
    return !line.classic;
}

// Every option's value is taken this one way: the argument's exact bytes
// (ArgumentBytes: a value is echoed as typed, whatever its bytes), checked
// by its reader (tone_options), then assigned; or the reader's refusal,
// and nothing assigned. `assign` is the field to set, or a function of the
// value (and of the bytes, when it takes them too).
template <class Read, class Assign>
std::optional<CliMessage> TakeText(const std::string& text, const Read& read, Assign&& assign) {
    auto v = read(std::string_view(text));
    if (!v.value)
        return std::move(v.error);
    if constexpr (std::is_invocable_v<Assign, decltype(*v.value), std::string_view>)
        assign(*v.value, std::string_view(text));
    else if constexpr (std::is_invocable_v<Assign, decltype(*v.value)>)
        assign(*v.value);
    else
        assign = *v.value;
    return std::nullopt;
}

// The same for the option `name`, when it is given.
template <class Read, class Assign>
std::optional<CliMessage> TakeOption(const QCommandLineParser& parser, const QString& name,
                                     const Read& read, Assign&& assign) {
    if (!parser.isSet(name))
        return std::nullopt;
    return TakeText(ArgumentBytes(parser.value(name)), read, std::forward<Assign>(assign));
}

// TakeOption on the options of `parser`.
auto OptionTaker(const QCommandLineParser& parser) {
    return [&parser](const QString& name, const auto& read, auto&& assign) {
        return TakeOption(parser, name, read, assign);
    };
}

} // namespace

CommandLineParser::CommandLineParser() {
    parser_.setApplicationDescription(
        CliText("Audio-frequency signal generator. Without a command it opens the front panel;\n"
                "export and play need no display.\n\n"
                "Examples:\n"
                "  orbel export tone.wav --frequency 1000 --duration 1000\n"
                "  orbel export fine.wav --frequency 997.123 --bits float --duration 10000\n"
                "  orbel export chord.wav --note O5A --am 1:25:sine:1.5\n"
                "  orbel play --frequency 250 --waveform square --stereo --seconds 10\n\n"
                "Measurement signals (precise synthesis only):\n"
                "  orbel export sweep.wav --sweep 20:20000 --duration 10000 --fade 50\n"
                "  orbel export lin.wav --sweep 20000:20 --linear --duration 5000\n"
                "  orbel play --waveform pink --seconds 60\n"
                "  orbel export imd.wav --waveform smpte        (or ccif)\n"
                "  orbel play --frequency 1000 --burst 10:90\n"
                "  orbel play --frequency 1000 --stereo --phase 90\n"
                "  orbel play --frequency 1000 --stereo --right-frequency 1001\n\n"
                "Output for measurement:\n"
                "  orbel export ref.wav --frequency 997 --bits 24 --level -1 --dither\n"
                "  orbel devices; orbel play --device NAME --bits float --level -20"));
    parser_.addPositionalArgument(
        CliText("command"),
        CliText("export FILE: write the signal as a WAV file.\n"
                "play: play it until --seconds have passed or Ctrl-C.\n"
                "devices: list the sound server's outputs.\n"
                "calibrate: play 1 kHz on --device and store the meter's reading of each "
                "channel.\n"
                "serve: play as a remote client commands (SCPI over TCP, see --listen) until "
                "Ctrl-C or SYSTem:SHUTdown.\n"
                "presets: list the presets; presets save NAME [options]: keep the state the "
                "options describe; presets delete NAME."),
        CliText("[export FILE|play|devices|calibrate|serve|presets]"));
    parser_.addOptions({
        {{"h", kHelp}, CliText("Show this help and exit.")},
        {{"v", kVersion}, CliText("Show the version and exit.")},
        {kFrequency,
         CliText("Tone frequency, 20 to 20000 Hz (default 440). export and play also take 1 Hz "
                 "up to 20000 or 0.45 of --rate, whichever is higher, in steps of 0.001 "
                 "(997.123)."),
         "HZ"},
        {kNote, CliText("Tone as a note name: A, C#, E-, >C, O5C#, N48 (octave 4 unless given)."),
         "NAME"},
        {kWaveform,
         CliText("sine (default), square, triangle, sawtooth or noise; or pink (pink noise), smpte "
                 "(60 Hz + 7 kHz, 4:1), ccif (19 + 20 kHz, 1:1) or multitone (see --tones)."),
         "NAME"},
        {kDuration,
         CliText("Loop length, 10 to 32767 ms (default: the shortest holding whole periods; "
                 "10000 for precise noise). A frequency with decimals, or below 20 or above "
                 "20000 Hz, is written for this long (default 1000)."),
         "MS"},
        {kBits,
         CliText("Sample resolution: 16 (default), 8, 24 or float (32-bit IEEE); 24 and float "
                 "need the precise synthesis."),
         "8|16|24|float"},
        {kLevel,
         CliText("Peak level in dB relative to full scale, -120 to 0 in steps of 0.01 (default 0), "
                 "in the samples themselves: a sine at -20 has an RMS of -20 dBFS; or, on a "
                 "calibrated output, 0dBu, -10dBV, 775mV, 0.775V (RMS of a sine), 2Vpp, 500mVpp. "
                 "Precise only."),
         "LEVEL"},
        {kRightLevel,
         CliText("With --stereo: the right channel's own level, as --level takes it; a level in "
                 "volts uses the right channel's calibration (default: --level)."),
         "LEVEL"},
        {kDither,
         CliText("Add triangular dither of 2 LSB peak to peak before rounding to 8, 16 or 24 bits "
                 "(default off: files are the same byte for byte). Precise only.")},
        {kRate,
         CliText("Samples per second: 44100, 48000, 88200, 96000 (default), 176400 or 192000; "
                 "--classic plays 96000 or 44100. play without it plays at the output's own rate "
                 "(one the synthesis makes), so that the server need not resample."),
         "RATE"},
        {kStereo, CliText("Two channels instead of one.")},
        {kVolume, CliText("Play level in percent, 0 to 100 (default 100); one value sets both."),
         "LEFT[,RIGHT]"},
        {kEnvelope,
         CliText("Shape the loop: attack, hold, decay, sustain, release, 0 to 100 percent."),
         "A,H,D,S,R"},
        {kAM,
         CliText(
             "Amplitude-modulation level (repeatable): LEVEL 1-8, AMPLITUDE 0-100 percent, "
             "a waveform name, FREQUENCY a multiplier of the tone (Hz with --no-multiplier) or a "
             "note name."),
         "LEVEL:AMPLITUDE:WAVEFORM:FREQUENCY"},
        {kNoMultiplier, CliText("AM frequencies are in hertz.")},
        {kPrecise, CliText("Exact-phase, alias-free synthesis (default).")},
        {kClassic, CliText("The generator's original synthesis (also for the panel).")},
        {kSeconds, CliText("play: stop after 0.1 to 86400 seconds (default: until Ctrl-C)."), "N"},
        {kDevice,
         CliText("play: on this output of the sound server, by name or description (orbel devices "
                 "lists them; default: the server's default); export: the output whose "
                 "calibration a level in volts uses."),
         "NAME"},
        {kListen,
         CliText("serve: the address and port to listen on (default 127.0.0.1:5025; [::1]:5025 "
                 "for IPv6; port 0: any free one). Beyond the loopback address it needs --allow."),
         "ADDRESS:PORT"},
        {kAllow,
         CliText("serve: the clients accepted beyond the loopback address, addresses or networks "
                 "separated by commas (192.168.1.0/24,10.0.0.7,fd00::/8); others are closed at "
                 "once."),
         "LIST"},
        {kPreset,
         CliText("export, play, presets save: start from the preset NAME (orbel presets lists "
                 "them); further options replace its settings."),
         "NAME"},
        {kMeasured,
         CliText("calibrate: the meter's readings of the left and right channels (V RMS, e.g. "
                 "0.245 or 245mV) instead of asking; one value for both."),
         "V[,V]"},
    });
    parser_.addOptions({
        {kSweep,
         CliText(
             "Sine sweep from F1 to F2 Hz (20 to 20000, up or down) over --duration (100 to 60000 "
             "ms, default 10000). Logarithmic and synchronized: the duration is rounded so that "
             "the phase is whole at every multiple of F1; the actual one is printed. export "
             "writes one sweep, play repeats it."),
         "F1:F2"},
        {kLinear, CliText("With --sweep: a linear sweep of exactly --duration. With --tones or "
                          "--steps: evenly spaced frequencies instead of per octave.")},
        {kFade,
         CliText("With --sweep: raised-cosine fade in and out, 0 (default) to half the sweep."),
         "MS"},
        {kBurst, CliText("Tone bursts: ON whole cycles of the sine, then OFF cycles of silence."),
         "ON:OFF"},
        {kPhase,
         CliText("With --stereo: the right channel lags the left, 0 to 360 in steps of 0.1."),
         "DEG"},
        {kRightFrequency,
         CliText("With --stereo: the right channel's own frequency, as --frequency takes it."),
         "HZ"},
        {kTones,
         CliText("With --waveform multitone: N tones per octave from F1 to F2 Hz "
                 "(with --linear: N tones evenly). The level is the RMS of the whole signal "
                 "(default -10 dBFS); the crest factor is printed."),
         "F1:F2:N"},
        {kTonesFile,
         CliText("With --waveform multitone: the tones from a file, one a line: frequency in Hz, "
                 "optionally its level in dB and its phase in degrees (# comments)."),
         "FILE"},
        {kFft,
         CliText("With --waveform multitone: centre every tone on a bin of an N-point transform "
                 "and repeat every N frames; a power of two from 1024 to 1048576 (default "
                 "65536)."),
         "N"},
        {kSteps,
         CliText("Stepped sine sweep: N frequencies from F1 to F2 Hz (F1 may be above F2), "
                 "evenly on a log scale (with --linear: evenly), each held for --dwell; play "
                 "prints each step as it is heard."),
         "F1:F2:N"},
        {kDwell, CliText("With --steps: each step's time, 10 to 60000 ms."), "MS"},
        {kUpDown, CliText("With --steps: back down to F1 after F2.")},
    });
}

QString CommandLineParser::HelpText() const {
    // The usage line names the program as it was started (a path, often);
    // the help names it as it is installed.
    QString text = parser_.helpText();
    const QString started = "Usage: " + QCoreApplication::arguments().value(0) + " ";
    if (text.startsWith(started))
        text.replace(0, started.size(), "Usage: orbel ");
    // The parser's own headings, in the command line's language.
    text.replace(0, QStringLiteral("Usage:").size(), CliText("Usage:"));
    const int lineEnd = text.indexOf('\n');
    const int options = text.indexOf(QStringLiteral("[options]"));
    if (options >= 0 && options < lineEnd)
        text.replace(options, QStringLiteral("[options]").size(), CliText("[options]"));
    text.replace(QStringLiteral("\nOptions:\n"), "\n" + CliText("Options:") + "\n");
    text.replace(QStringLiteral("\nArguments:\n"), "\n" + CliText("Arguments:") + "\n");
    return text;
}

void SetRate(ToneRequest& tone, int rate) {
    tone.quality = rate == 44100 ? TTGQuality::tgLoQ : TTGQuality::tgHiQ;
    tone.sampleRate = PlaysAtRate(rate, false) ? 0 : rate;
}

CommandLine CommandLineParser::Parse(const QStringList& arguments) {
    fineLeft_.reset();
    fineRight_.reset();
    if (!parser_.parse(arguments)) {
        // The parser's own wording is English; the common case is said in
        // the command line's language.
        const QStringList unknown = parser_.unknownOptionNames();
        const QString error =
            unknown.size() == 1
                ? CliText("Unknown option '%1'.")
                      .arg(QString::fromStdString(to::Shortened(ArgumentBytes(unknown.front()))))
                : QString::fromStdString(to::Shortened(ArgumentBytes(parser_.errorText())));
        return Refuse(error + CliText(" (orbel --help lists the options)"));
    }
    CommandLine line;
    if (parser_.isSet(kHelp)) {
        line.action = CommandLine::Action::Help;
        return line;
    }
    if (parser_.isSet(kVersion)) {
        line.action = CommandLine::Action::Version;
        return line;
    }
    for (const QString& name : kSingleValued + kSignalSingleValued + kSingleValuedOutput +
                                   kToneSetSingleValued + kServeOptions + QStringList{kPreset})
        if (parser_.values(name).size() > 1)
            return Refuse(CliText("%1 may be given only once").arg(Flag(name).c_str()));
    if (parser_.isSet(kPrecise) && parser_.isSet(kClassic))
        return Refuse(CliText("give only one of --precise and --classic"));
    line.classic = parser_.isSet(kClassic);
    line.tone.precise = !line.classic;

    const QStringList positional = parser_.positionalArguments();
    if (parser_.isSet(kPreset) && !presetTaken_)
        return ParseWithPreset(arguments, positional);
    if (positional.isEmpty()) {
        for (const QString& name : kToneOptions + kSignalOptions + kOutputOptions +
                                       kToneSetOptions + QStringList{kPreset})
            if (parser_.isSet(name))
                return Refuse(
                    CliText("%1 needs a command: export FILE or play").arg(Flag(name).c_str()));
        for (const QString& name : kServeOptions)
            if (parser_.isSet(name))
                return Refuse(CliMessage("%1 is for serve", {Flag(name)}));
        return line; // the panel
    }
    const QString command = positional.front();
    if (command != "serve")
        for (const QString& name : kServeOptions)
            if (parser_.isSet(name))
                return Refuse(CliMessage("%1 is for serve", {Flag(name)}));
    if (command == "serve") {
        if (positional.size() != 1)
            return Refuse(CliText("serve takes no file"));
        for (const QString& name :
             kToneOptions + kSignalOptions + kToneSetOptions +
                 QStringList{kLevel, kRightLevel, kDither, kMeasured, kPrecise, kClassic})
            if (parser_.isSet(name))
                return Refuse(CliMessage("%1 is not for serve: the remote commands set the signal",
                                         {Flag(name)}));
        line.action = CommandLine::Action::Serve;
        line.tone.precise = true;
        return ParseServe(std::move(line));
    } else if (command == "export") {
        if (positional.size() != 2 || positional[1].isEmpty())
            return Refuse(CliText("export needs one FILE to write"));
        line.action = CommandLine::Action::Export;
        line.file = ArgumentBytes(positional[1]); // exactly the name typed
        if (parser_.isSet(kSeconds))
            return Refuse(CliText("--seconds is for play only"));
    } else if (command == "play") {
        if (positional.size() != 1)
            return Refuse(CliText("play takes no file"));
        line.action = CommandLine::Action::Play;
    } else if (command == "calibrate") {
        if (positional.size() != 1)
            return Refuse(CliText("calibrate takes no file"));
        line.action = CommandLine::Action::Calibrate;
        return ParseCalibrate(std::move(line));
    } else if (command == "presets") {
        return ParsePresets(std::move(line), positional);
    } else if (command == "devices") {
        if (positional.size() != 1)
            return Refuse(CliText("devices takes no file"));
        for (const QString& name : kToneOptions + kOutputOptions + kToneSetOptions +
                                       kSignalOptions + QStringList{kPreset})
            if (parser_.isSet(name))
                return Refuse(CliMessage("%1 is for export and play", {Flag(name)}));
        line.action = CommandLine::Action::Devices;
        return line;
    } else {
        return Refuse(CliText("unknown command %1: the commands are export FILE, play, devices, "
                              "calibrate, serve and presets")
                          .arg(QString::fromStdString(to::Quoted(ArgumentBytes(command)))));
    }
    return ParseTone(std::move(line));
}

CommandLine CommandLineParser::ParseServe(CommandLine line) {
    const auto take = OptionTaker(parser_);
    const auto endpoint = [](std::string_view text) -> OptionValue<remote_net::Endpoint> {
        if (auto read = remote_net::Endpoint::Read(text))
            return {read, {}};
        return OptionValue<remote_net::Endpoint>::Refused(
            CliMessage("--listen %1 is not ADDRESS:PORT (127.0.0.1:5025, [::1]:5025, 0.0.0.0:5025)",
                       {to::Quoted(std::string(text))}));
    };
    if (auto refused = take(kListen, endpoint, line.listen))
        return Refuse(*refused);
    const auto allowList = [](std::string_view text) -> OptionValue<remote_net::AllowList> {
        remote_net::AllowListReading reading = remote_net::AllowList::Read(text);
        if (reading.list)
            return {std::move(reading.list), {}};
        return OptionValue<remote_net::AllowList>::Refused(
            CliMessage("--allow: %1 (give addresses or networks such as 192.168.1.0/24, "
                       "separated by commas)",
                       {reading.error}));
    };
    if (auto refused = take(kAllow, allowList, line.allowed))
        return Refuse(*refused);
    if (!line.listen.LoopbackOnly() && line.allowed.Empty())
        return Refuse(CliMessage("--listen %1 reaches beyond this machine: give --allow with the "
                                 "clients it may accept",
                                 {line.listen.Text()}));
    if (auto refused = take(kDevice, to::DeviceName, line.device))
        return Refuse(*refused);
    return line;
}

CommandLine CommandLineParser::ParseTone(CommandLine line) {
    ToneRequest& tone = line.tone;
    const auto take = OptionTaker(parser_);

    if (parser_.isSet(kFrequency) && parser_.isSet(kNote))
        return Refuse(CliText("give only one of --frequency and --note"));
    const auto frequency = [&](MilliHertz f) {
        if (OnTheLoopsGrid(f))
            tone.frequency = int(f.value / 1000);
        else
            fineLeft_ = f;
    };
    if (auto refused =
            take(kFrequency, FrequencyReader("--frequency", FineFrequenciesFor(line), RateAsked()),
                 frequency))
        return Refuse(*refused);
    if (auto refused = take(
            kNote, [](std::string_view text) { return to::Note("--note", text); },
            [&](int hz, std::string_view text) {
                tone.note = std::string(text);
                tone.frequency = hz;
            }))
        return Refuse(*refused);
    bool multitone = false;
    if (auto refused = take(kWaveform, to::ToneWaveform, [&](const to::WaveChoice& choice) {
            tone.waveform = choice.wave;
            tone.signal.kind = choice.signal;
            multitone = choice.multitone;
        }))
        return Refuse(*refused);
    // A sweep's duration has its own range (ParseSignal).
    if (!parser_.isSet(kSweep))
        if (auto refused =
                take(kDuration, Whole("--duration", to::kMinDurationMs, to::kMaxDurationMs, "ms"),
                     tone.durationMs))
            return Refuse(*refused);
    const auto bits = [&](std::string_view text) {
        auto v = to::Bits(text);
        const bool wide = v.value && IsWideResolution(*v.value);
        if (wide && !tone.precise)
            return decltype(v)::Refused(
                {"--bits %1 needs the precise synthesis; --classic makes 8 or 16 bits",
                 {std::string(text)}});
        return v;
    };
    if (auto refused = take(kBits, bits, tone.resolution))
        return Refuse(*refused);
    if (parser_.isSet(kLevel) && !tone.precise)
        return Refuse(CliText("--level needs the precise synthesis; --classic plays at the "
                              "amplitudes alone"));
    line.levelGiven = parser_.isSet(kLevel) || parser_.isSet(kRightLevel);
    const auto level = [&](const WrittenLevel& written, std::string_view text) {
        if (written.unit == LevelUnit::DbFs) {
            tone.levelDb = written.number;
        } else {
            line.jackLevel = written;
            line.levelText = std::string(text);
        }
    };
    if (auto refused = take(
            kLevel, [](std::string_view text) { return to::AnyLevel("--level", text); }, level))
        return Refuse(*refused);
    const auto rightLevel = [&](const WrittenLevel& written, std::string_view text) {
        if (written.unit == LevelUnit::DbFs) {
            tone.rightLevelDb = written.number;
        } else {
            line.rightJackLevel = written;
            line.rightLevelText = std::string(text);
        }
    };
    if (auto refused = take(
            kRightLevel, [](std::string_view text) { return to::AnyLevel("--right-level", text); },
            rightLevel))
        return Refuse(*refused);
    if (parser_.isSet(kMeasured))
        return Refuse(CliText("--measured is for calibrate only"));
    if (parser_.isSet(kDither)) {
        if (!tone.precise)
            return Refuse(
                CliText("--dither needs the precise synthesis; --classic rounds as it always did"));
        tone.dither = true;
    }
    const auto rate = [&](std::string_view text) { return to::Rate(text, tone.precise); };
    if (auto refused = take(kRate, rate, [&](int r) { SetRate(tone, r); }))
        return Refuse(*refused);
    line.rateGiven = parser_.isSet(kRate);
    tone.stereo = parser_.isSet(kStereo);
    if (parser_.isSet(kRightLevel) && (!tone.precise || !tone.stereo))
        return Refuse(CliText("--right-level needs --stereo and the precise synthesis"));
    if (auto refused = take(kVolume, to::Volume, [&](const std::pair<int, int>& levels) {
            tone.leftVolume = levels.first;
            tone.rightVolume = levels.second;
        }))
        return Refuse(*refused);
    // The output level scales what the calibration says is at the jack.
    if ((line.jackLevel || line.rightJackLevel) &&
        (tone.leftVolume != 100 || tone.rightVolume != 100))
        return Refuse(
            CliMessage("--volume below 100 would take the volts of --level %1 down "
                       "with it: set the level alone",
                       {to::Quoted(line.jackLevel ? line.levelText : line.rightLevelText)}));
    if (auto refused = take(kEnvelope, to::Envelope, tone.envelope))
        return Refuse(*refused);
    tone.useMultiplier = !parser_.isSet(kNoMultiplier);
    std::set<int> levels;
    const auto amLevel = [&](std::string_view text) {
        auto v = to::AMLevel(text, tone.frequency, tone.useMultiplier);
        if (v.value && levels.contains(v.value->level))
            return decltype(v)::Refused({"--am: level %1 given twice", {v.value->level}});
        return v;
    };
    for (const QString& levelText : parser_.values(kAM))
        if (auto refused = TakeText(ArgumentBytes(levelText), amLevel, [&](const AMRequest& am) {
                levels.insert(am.level);
                tone.am.push_back(am);
            }))
            return Refuse(*refused);
    if (auto refused = take(kDevice, to::DeviceName, line.device))
        return Refuse(*refused);
    if (auto refused = take(kSeconds, to::Seconds, line.seconds))
        return Refuse(*refused);
    if ((multitone || parser_.isSet(kSteps)) && parser_.isSet(kRightLevel))
        return Refuse(CliMessage("--right-level goes with a tone or a signal, not with %1",
                                 {multitone ? "--waveform multitone" : "--steps"}));
    if (multitone || parser_.isSet(kSteps))
        return ParseToneSet(std::move(line), multitone);
    for (const QString& name : kToneSetOptions)
        if (parser_.isSet(name))
            return Refuse(CliMessage("%1 goes with --waveform multitone or --steps", {Flag(name)}));
    line = ParseSignal(std::move(line));
    if (line.action == CommandLine::Action::Refused)
        return line;
    return ParseFineTone(std::move(line));
}

CommandLine CommandLineParser::ParseCalibrate(CommandLine line) {
    for (const QString& name :
         kToneOptions + kSignalOptions + kToneSetOptions + QStringList{kDither, kRightLevel})
        if (parser_.isSet(name))
            return Refuse(CliMessage("%1 is not for calibrate", {Flag(name)}));
    if (!parser_.isSet(kDevice))
        return Refuse(CliText("calibrate needs --device NAME (orbel devices lists them)"));
    const auto take = OptionTaker(parser_);
    // The calibration tone is a sine, in dBFS only.
    line.tone.levelDb = CalibrationTone::kDefaultLevelDb;
    if (auto refused = take(kLevel, to::Level, line.tone.levelDb))
        return Refuse(*refused);
    if (auto refused = take(kDevice, to::DeviceName, line.device))
        return Refuse(*refused);
    if (auto refused = take(kMeasured, to::MeterReadings, line.measured))
        return Refuse(*refused);
    return line;
}

CommandLine CommandLineParser::ParseToneSet(CommandLine line, bool multitone) {
    const ToneRequest& tone = line.tone;
    const auto take = OptionTaker(parser_);
    const std::string what = multitone ? "--waveform multitone" : "--steps";
    // The first option given of `names`, or "".
    const auto given = [&](const QStringList& names) -> std::string {
        for (const QString& name : names)
            if (parser_.isSet(name))
                return Flag(name);
        return {};
    };
    const std::string alien = given({kFrequency, kNote, kAM, kNoMultiplier, kEnvelope, kVolume,
                                     kSweep, kFade, kBurst, kPhase, kRightFrequency});
    const std::string stepOption = given({kDwell, kUpDown});
    const std::string toneOption = given({kTones, kTonesFile, kFft});
    const bool otherWave = tone.waveform != TTGWave::tgSine || tone.signal.kind != SignalKind::Tone;
    const std::pair<bool, CliMessage> refusals[] = {
        {line.classic, {"%1 needs the precise synthesis, not --classic", {what}}},
        {multitone && parser_.isSet(kSteps), {"give only one of --waveform multitone and --steps"}},
        {!multitone && otherWave,
         {"--steps plays a sine, not --waveform %1", {ArgumentBytes(parser_.value(kWaveform))}}},
        {!alien.empty(), {"%1 does not go with %2", {alien, what}}},
        {multitone && !stepOption.empty(), {"%1 goes with --steps", {stepOption}}},
        {!multitone && !toneOption.empty(), {"%1 goes with --waveform multitone", {toneOption}}},
        {multitone && parser_.isSet(kTones) && parser_.isSet(kTonesFile),
         {"give only one of --tones and --tones-file"}},
        {multitone && !parser_.isSet(kTones) && !parser_.isSet(kTonesFile),
         {"--waveform multitone needs --tones F1:F2:N or --tones-file FILE"}},
        {multitone && parser_.isSet(kLinear) && !parser_.isSet(kTones),
         {"--linear goes with --tones"}},
        {!multitone && !parser_.isSet(kDwell), {"--steps needs --dwell MS"}},
        {!multitone && parser_.isSet(kDuration),
         {"--steps lasts as long as its steps and dwells: drop --duration"}},
    };
    for (const auto& [refused, message] : refusals)
        if (refused)
            return Refuse(message);

    const WaveFormat format = tone.Format();
    const bool linear = parser_.isSet(kLinear);

    if (multitone) {
        MultitoneRequest request;
        request.format = format;
        request.durationMs = tone.durationMs.value_or(kStreamedDurationMs);
        request.dither = tone.dither;
        request.settings.levelDb = parser_.isSet(kLevel) ? tone.levelDb : kMultitoneLevelDb;
        if (auto refused = take(kFft, to::FftLength, request.settings.fftLength))
            return Refuse(*refused);
        const int most = linear ? kMostListedTones : kMostTonesPerOctave;
        const auto span = [most](std::string_view text) { return to::Span("--tones", text, most); };
        if (auto refused = take(kTones, span, [&](const to::FrequencySpan& s) {
                request.settings.tones = linear ? EvenlySpacedTones(s.f1, s.f2, s.count)
                                                : TonesPerOctave(s.f1, s.f2, s.count);
            }))
            return Refuse(*refused);
        if (parser_.isSet(kTones) && request.settings.tones.size() > std::size_t(kMostListedTones))
            return Refuse(CliMessage("--tones places more than %1 tones", {kMostListedTones}));
        if (auto refused = take(
                kTonesFile,
                [](std::string_view text) {
                    return text.empty() ? OptionValue<std::string>::Refused(
                                              {"--tones-file needs the name of a file"})
                                        : OptionValue<std::string>{std::string(text), {}};
                },
                request.tonesFile))
            return Refuse(*refused);
        line.multitone = std::move(request);
        return line;
    }

    SteppedSweepSettings settings;
    settings.linear = linear;
    settings.upDown = parser_.isSet(kUpDown);
    const auto span = [](std::string_view text) {
        return to::Span("--steps", text, kMostSteps, true); // F1 above F2 steps down
    };
    if (auto refused = take(kSteps, span, [&](const to::FrequencySpan& s) {
            settings.f1 = s.f1;
            settings.f2 = s.f2;
            settings.count = s.count;
        }))
        return Refuse(*refused);
    if (auto refused = take(kDwell, Whole("--dwell", kShortestDwellMs, kLongestDwellMs, "ms"),
                            settings.dwellMs))
        return Refuse(*refused);
    SteppedSweepRequest request;
    request.format = format;
    request.peak = PeakFromDecibels(tone.levelDb);
    request.dither = tone.dither;
    request.schedule = BuildStepSchedule(settings, format.SamplesPerSecond());
    if (request.schedule.refusal == StepRefusal::BadFrequency) {
        const FrequencyRange range = FrequencyRange::AtRate(format.SamplesPerSecond());
        return Refuse(CliMessage("--steps must lie from %1 to %2 Hz at %3 samples per second",
                                 {FrequencyText(range.lowest), FrequencyText(range.highest),
                                  format.SamplesPerSecond()}));
    }
    if (request.schedule.refusal != StepRefusal::None)
        return Refuse(CliMessage("--steps cannot be played at this rate"));
    line.steps = std::move(request);
    return line;
}

int CommandLineParser::RateAsked() const {
    const auto rate = to::Rate(ArgumentBytes(parser_.value(kRate)), true);
    return rate.value.value_or(kDefaultRate); // refused later
}

CommandLine CommandLineParser::ParseSignal(CommandLine line) {
    ToneRequest& tone = line.tone;
    MeasurementSignal& signal = tone.signal;
    const auto take = OptionTaker(parser_);
    const bool sweep = parser_.isSet(kSweep), burst = parser_.isSet(kBurst);
    const bool ownRight = parser_.isSet(kPhase) || parser_.isSet(kRightFrequency);
    const bool waveSignal = signal.kind != SignalKind::Tone; // pink, smpte, ccif
    const bool tonePicked = parser_.isSet(kFrequency) || parser_.isSet(kNote);
    const bool sine = tone.waveform == TTGWave::tgSine;
    const std::string wave = ArgumentBytes(parser_.value(kWaveform)); // a name read already
    if (!sweep && !burst && !ownRight && !waveSignal) {
        for (const QString& name : {kLinear, kFade})
            if (parser_.isSet(name))
                return Refuse(CliMessage("%1 goes with --sweep", {Flag(name)}));
        return line;
    }
    // The first that applies, in this order.
    const std::string what = sweep                   ? "--sweep"
                             : burst                 ? "--burst"
                             : waveSignal            ? "--waveform " + wave
                             : parser_.isSet(kPhase) ? "--phase"
                                                     : "--right-frequency";
    const std::string ownRightFlag = Flag(parser_.isSet(kPhase) ? kPhase : kRightFrequency);
    const std::pair<bool, CliMessage> refusals[] = {
        {line.classic, {"%1 needs the precise synthesis, not --classic", {what}}},
        {int(sweep) + int(burst) + int(waveSignal) > 1,
         {"give only one of --sweep, --burst and --waveform pink|smpte|ccif"}},
        {(sweep || waveSignal) && tonePicked,
         {"%1 sets its own frequencies: drop --frequency and --note", {what}}},
        {!sine, {"%1 plays a sine, not --waveform %2", {what, wave}}},
        {!tone.am.empty(), {"%1 does not take --am levels", {what}}},
        {!sweep && (parser_.isSet(kLinear) || parser_.isSet(kFade)),
         {"%1 goes with --sweep", {Flag(parser_.isSet(kLinear) ? kLinear : kFade)}}},
        {ownRight && !tone.stereo, {"%1 needs --stereo", {ownRightFlag}}},
        {ownRight && (sweep || burst || waveSignal),
         {"%1 goes with a steady sine only", {ownRightFlag}}},
    };
    for (const auto& [refused, message] : refusals)
        if (refused)
            return Refuse(message);

    if (sweep) {
        signal.kind = SignalKind::Sweep;
        signal.sweep.linear = parser_.isSet(kLinear);
        const int rate = RateAsked();
        const auto ends = [rate](std::string_view text) { return to::SweepRange(text, rate); };
        if (auto refused = take(kSweep, ends, [&](const std::pair<MilliHertz, MilliHertz>& range) {
                signal.sweep.startHz = range.first.Hertz();
                signal.sweep.endHz = range.second.Hertz();
            }))
            return Refuse(*refused);
        if (auto refused = take(
                kDuration, Whole("--duration", to::kMinSweepMs, to::kMaxSweepMs, "ms, for a sweep"),
                signal.sweep.durationMs))
            return Refuse(*refused);
        const int half = std::min(to::kMaxFadeMs, signal.sweep.durationMs / 2);
        if (auto refused = take(kFade, Whole("--fade", 0, half, "ms, at most half the sweep"),
                                signal.sweep.fadeMs))
            return Refuse(*refused);
    }
    if (auto refused = take(kBurst, to::Burst, [&](const BurstSettings& settings) {
            signal.kind = SignalKind::Burst;
            signal.burst = settings;
        }))
        return Refuse(*refused);
    if (auto refused = take(kPhase, to::PhaseTenths, signal.rightLagTenths))
        return Refuse(*refused);
    const auto rightFrequency = [&](MilliHertz f) {
        if (OnTheLoopsGrid(f))
            signal.rightFrequency = int(f.value / 1000);
        else
            fineRight_ = f;
    };
    if (auto refused =
            take(kRightFrequency,
                 FrequencyReader("--right-frequency", FineFrequenciesFor(line), RateAsked()),
                 rightFrequency))
        return Refuse(*refused);
    return line;
}

CommandLine CommandLineParser::ParseFineTone(CommandLine line) {
    if (!fineLeft_ && !fineRight_)
        return line;
    const ToneRequest& tone = line.tone;
    const std::string given = fineLeft_ ? "--frequency " + FrequencyText(*fineLeft_)
                                        : "--right-frequency " + FrequencyText(*fineRight_);
    const std::string without = tone.envelope                       ? Flag(kEnvelope)
                                : !tone.am.empty()                  ? Flag(kAM)
                                : tone.waveform == TTGWave::tgNoise ? "--waveform noise"
                                                                    : "";
    if (!without.empty())
        return Refuse(CliMessage("%1 makes a steady tone only: drop %2", {given, without}));

    StreamedExportRequest streamed;
    StreamedToneSettings& settings = streamed.tone;
    settings.wave = tone.waveform;
    settings.frequency = fineLeft_.value_or(MilliHertz::FromHertz(tone.frequency));
    if (fineRight_)
        settings.rightFrequency = *fineRight_;
    else if (tone.signal.rightFrequency != 0)
        settings.rightFrequency = MilliHertz::FromHertz(tone.signal.rightFrequency);
    settings.rightLagTenths = tone.signal.rightLagTenths;
    if (tone.signal.kind == SignalKind::Burst)
        settings.burst = tone.signal.burst;
    settings.peak = PeakFromDecibels(tone.levelDb);
    // Each channel's exact level is in the samples; the level word stays
    // that of --volume (full whenever the level is in volts).
    if (tone.rightLevelDb)
        settings.rightPeak = PeakFromDecibels(*tone.rightLevelDb);
    settings.dither = tone.dither;
    streamed.format = tone.Format();
    streamed.durationMs = tone.durationMs.value_or(kStreamedDurationMs);
    line.streamed = streamed;
    return line;
}

CommandLine CommandLineParser::ParseWithPreset(const QStringList& arguments,
                                               const QStringList& positional) {
    const QString command = positional.value(0);
    if (command != "export" && command != "play" &&
        !(command == "presets" && positional.value(1) == "save"))
        return Refuse(CliText("--preset is for export, play and presets save"));
    const std::string name = ArgumentBytes(parser_.value(kPreset));
    if (!presets_)
        return Refuse(CliText("--preset: no presets can be read here"));
    const PresetLookup found = presets_(name);
    if (!found.preset)
        return Refuse(found.refusal);
    const QStringList expanded = WithPreset(arguments, *found.preset);
    const bool deviceGiven = parser_.isSet(kDevice);
    presetTaken_ = true;
    CommandLine line = Parse(expanded);
    presetTaken_ = false;
    if (line.action == CommandLine::Action::Refused)
        return line;
    line.presetName = name;
    line.deviceFromPreset = found.preset->device && !deviceGiven;
    return line;
}

QStringList CommandLineParser::WithPreset(const QStringList& arguments,
                                          const instrument::Preset& preset) {
    using instrument::PresetChannels;
    const auto given = [&](const QString& name) { return parser_.isSet(name); };
    const auto anyGiven = [&](const QStringList& names) {
        return std::any_of(names.begin(), names.end(), given);
    };
    const bool frequencyGiven = given(kFrequency) || given(kNote);
    const bool signalGiven = anyGiven(kSignalChoosers);
    QStringList expanded = arguments;
    const auto add = [&](const QString& option, const std::string& value) {
        expanded << (value.empty() ? "--" + option : "--" + option + "=" + ArgumentText(value));
    };
    const PresetChannels channels = preset.channels.value_or(PresetChannels::Mono);
    const bool stereoPair = channels == PresetChannels::Left || channels == PresetChannels::Right;
    // A signal given here that sets its own frequencies.
    const auto wave = to::ToneWaveform(ArgumentBytes(parser_.value(kWaveform))).value;
    const bool ownFrequencies = anyGiven({kSweep, kTones, kTonesFile, kSteps}) ||
                                (wave && (wave->multitone || wave->signal != SignalKind::Tone));
    const bool presetSignal = preset.waveform && (preset.waveform->multitone ||
                                                  preset.waveform->signal != SignalKind::Tone);
    // The preset's frequency gives way to its own signal's frequencies, as
    // long as that signal stays.
    const bool presetOwnFrequencies =
        (presetSignal || preset.sweep || preset.steps || preset.tones || preset.tonesFile) &&
        !signalGiven && !frequencyGiven;
    for (const auto& [key, value] : instrument::SettingsOf(preset)) {
        const QString option = QString::fromStdString(key);
        if (key == "channel")
            continue; // said by --stereo and --volume
        const bool replaced =
            given(option) || (key == "volume" && stereoPair) ||
            (key == "right-level" && given(kLevel)) ||
            (key == "frequency" && (frequencyGiven || ownFrequencies || presetOwnFrequencies)) ||
            (frequencyGiven && kOwnFrequencySettings.contains(option)) ||
            (frequencyGiven && key == "waveform" && presetSignal) ||
            (signalGiven && kSignalSettings.contains(option));
        if (replaced)
            continue;
        // A flag is "yes" in the preset and bare on the command line.
        add(option, key == "linear" || key == "up-down" || key == "dither" ? "" : value);
    }
    if (channels != PresetChannels::Mono && !given(kStereo))
        add(kStereo, "");
    if ((channels == PresetChannels::Left || channels == PresetChannels::Right) &&
        !given(kVolume)) {
        const auto volume = preset.volume.value_or(std::pair{100, 100});
        const bool left = channels == PresetChannels::Left;
        add(kVolume, std::to_string(left ? volume.first : 0) + "," +
                         std::to_string(left ? 0 : volume.second));
    }
    return expanded;
}

CommandLine CommandLineParser::ParsePresets(CommandLine line, const QStringList& positional) {
    const QString verb = positional.value(1);
    const bool save = verb == "save";
    if (positional.size() == 1 || verb == "delete" || !save) {
        if (positional.size() != 1 && !(verb == "delete" && positional.size() == 3))
            return Refuse(CliText("presets takes no more than save NAME or delete NAME"));
        for (const QString& name : kToneOptions + kSignalOptions + kOutputOptions +
                                       kToneSetOptions + QStringList{kPreset, kClassic})
            if (parser_.isSet(name))
                return Refuse(CliMessage("%1 is for presets save", {Flag(name)}));
        line.action = positional.size() == 1 ? CommandLine::Action::Presets
                                             : CommandLine::Action::PresetDelete;
        line.presetName = ArgumentBytes(positional.value(2));
        if (line.action == CommandLine::Action::PresetDelete &&
            instrument::PresetFileName(line.presetName).empty())
            return Refuse(CliMessage("a preset's name is 1 to %1 bytes",
                                     {int(instrument::kLongestPresetName)}));
        return line;
    }
    if (positional.size() != 3)
        return Refuse(CliText("presets save needs one NAME"));
    const std::string name = ArgumentBytes(positional[2]);
    if (instrument::PresetFileName(name).empty())
        return Refuse(
            CliMessage("a preset's name is 1 to %1 bytes", {int(instrument::kLongestPresetName)}));
    for (const QString& option : kNotInPresets)
        if (parser_.isSet(option))
            return Refuse(CliMessage("%1 is not kept in a preset", {Flag(option)}));
    // The same readers and refusals as export's.
    line.action = CommandLine::Action::Export;
    line.file = "-";
    line = ParseTone(std::move(line));
    if (line.action == CommandLine::Action::Refused)
        return line;
    instrument::Preset preset;
    preset.name = name;
    preset.channels = parser_.isSet(kStereo) ? instrument::PresetChannels::Both
                                             : instrument::PresetChannels::Mono;
    for (const QString& option : parser_.optionNames()) {
        const std::string key = option.toStdString();
        if (!instrument::IsPresetKey(key) || key == "channel")
            continue;
        const bool flag = option == kLinear || option == kUpDown || option == kDither;
        const std::string value = flag ? "yes" : ArgumentBytes(parser_.value(option));
        if (auto refused = instrument::SetPresetValue(preset, key, value))
            return Refuse(Flag(option) + ": " + *refused);
    }
    CommandLine saved;
    saved.action = CommandLine::Action::PresetSave;
    saved.presetName = name;
    saved.preset = std::move(preset);
    return saved;
}
