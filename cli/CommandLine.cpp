#include "cli/CommandLine.h"

#include "cli/Messages.h"
#include "cli/ToneOptions.h"
#include "engine/NoteName.h"

#include <QCommandLineOption>
#include <QCoreApplication>

#include <set>

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

// Options that shape the signal: they need a command.
const QStringList kToneOptions{kFrequency, kNote,   kWaveform, kDuration, kBits,         kRate,
                               kStereo,    kVolume, kEnvelope, kAM,       kNoMultiplier, kSeconds};
// Options that take a value and may be given once.
const QStringList kSingleValued{kFrequency, kNote,   kWaveform, kDuration, kBits,
                                kRate,      kVolume, kEnvelope, kSeconds};

CommandLine Refuse(std::string message) {
    CommandLine line;
    line.action = CommandLine::Action::Refused;
    line.error = to::OneLine(message);
    return line;
}

CommandLine Refuse(const QString& message) {
    return Refuse(CliString(message));
}

std::string Flag(const QString& name) {
    return "--" + name.toStdString();
}

} // namespace

CommandLineParser::CommandLineParser() {
    parser_.setApplicationDescription(
        CliText("Audio-frequency signal generator. Without a command it opens the front panel;\n"
                "export and play need no display.\n\n"
                "Examples:\n"
                "  orbel export tone.wav --frequency 1000 --duration 1000\n"
                "  orbel export chord.wav --note O5A --am 1:25:sine:1.5\n"
                "  orbel play --frequency 250 --waveform square --stereo --seconds 10"));
    parser_.addPositionalArgument(CliText("command"),
                                  CliText("export FILE: write the signal as a WAV file.\n"
                                          "play: play it until --seconds have passed or Ctrl-C."),
                                  CliText("[export FILE | play]"));
    parser_.addOptions({
        {{"h", kHelp}, CliText("Show this help and exit.")},
        {{"v", kVersion}, CliText("Show the version and exit.")},
        {kFrequency, CliText("Tone frequency, 20 to 20000 Hz (default 440)."), "HZ"},
        {kNote, CliText("Tone as a note name: A, C#, E-, >C, O5C#, N48 (octave 4 unless given)."),
         "NAME"},
        {kWaveform, CliText("sine (default), square, triangle, sawtooth or noise."), "NAME"},
        {kDuration,
         CliText("Loop length, 10 to 32767 ms (default: the shortest holding whole periods; "
                 "10000 for precise noise)."),
         "MS"},
        {kBits, CliText("Sample resolution, 16 (default) or 8."), "16|8"},
        {kRate, CliText("Samples per second, 96000 (default) or 44100."), "96000|44100"},
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

CommandLine CommandLineParser::Parse(const QStringList& arguments) {
    if (!parser_.parse(arguments)) {
        // The parser's own wording is English; the common case is said in
        // the command line's language.
        const QStringList unknown = parser_.unknownOptionNames();
        const QString error = unknown.size() == 1
                                  ? CliText("Unknown option '%1'.").arg(unknown.front())
                                  : parser_.errorText();
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
    for (const QString& name : kSingleValued)
        if (parser_.values(name).size() > 1)
            return Refuse(CliText("%1 may be given only once").arg(Flag(name).c_str()));
    if (parser_.isSet(kPrecise) && parser_.isSet(kClassic))
        return Refuse(CliText("give only one of --precise and --classic"));
    line.classic = parser_.isSet(kClassic);
    line.tone.precise = !line.classic;

    const QStringList positional = parser_.positionalArguments();
    if (positional.isEmpty()) {
        for (const QString& name : kToneOptions)
            if (parser_.isSet(name))
                return Refuse(
                    CliText("%1 needs a command: export FILE or play").arg(Flag(name).c_str()));
        return line; // the panel
    }
    const QString command = positional.front();
    if (command == "export") {
        if (positional.size() != 2 || positional[1].isEmpty())
            return Refuse(CliText("export needs one FILE to write"));
        line.action = CommandLine::Action::Export;
        line.file = positional[1].toStdString();
        if (parser_.isSet(kSeconds))
            return Refuse(CliText("--seconds is for play only"));
    } else if (command == "play") {
        if (positional.size() != 1)
            return Refuse(CliText("play takes no file"));
        line.action = CommandLine::Action::Play;
    } else {
        return Refuse(
            CliText("unknown command '%1': the commands are export FILE and play").arg(command));
    }
    return ParseTone(std::move(line));
}

CommandLine CommandLineParser::ParseTone(CommandLine line) {
    ToneRequest& tone = line.tone;
    // Each reader's text, as the option names it.
    const auto text = [this](const QString& name) { return parser_.value(name).toStdString(); };

    if (parser_.isSet(kFrequency) && parser_.isSet(kNote))
        return Refuse(CliText("give only one of --frequency and --note"));
    if (parser_.isSet(kFrequency)) {
        const auto v = to::WholeNumber("--frequency", text(kFrequency), kMinToneFrequency,
                                       kMaxToneFrequency, "Hz");
        if (!v.value)
            return Refuse(v.error);
        tone.frequency = *v.value;
    }
    if (parser_.isSet(kNote)) {
        const auto v = to::Note("--note", text(kNote));
        if (!v.value)
            return Refuse(v.error);
        tone.note = text(kNote);
        tone.frequency = *v.value;
    }
    if (parser_.isSet(kWaveform)) {
        const auto v = to::Waveform("--waveform", text(kWaveform));
        if (!v.value)
            return Refuse(v.error);
        tone.waveform = *v.value;
    }
    if (parser_.isSet(kDuration)) {
        const auto v = to::WholeNumber("--duration", text(kDuration), to::kMinDurationMs,
                                       to::kMaxDurationMs, "ms");
        if (!v.value)
            return Refuse(v.error);
        tone.durationMs = *v.value;
    }
    if (parser_.isSet(kBits)) {
        const auto v = to::Choice("--bits", text(kBits), 16, 8);
        if (!v.value)
            return Refuse(v.error);
        tone.resolution = *v.value == 16 ? TTGResolution::tg16Bit : TTGResolution::tg8Bit;
    }
    if (parser_.isSet(kRate)) {
        const auto v = to::Choice("--rate", text(kRate), 96000, 44100);
        if (!v.value)
            return Refuse(v.error);
        tone.quality = *v.value == 96000 ? TTGQuality::tgHiQ : TTGQuality::tgLoQ;
    }
    tone.stereo = parser_.isSet(kStereo);
    if (parser_.isSet(kVolume)) {
        const auto v = to::Volume(text(kVolume));
        if (!v.value)
            return Refuse(v.error);
        tone.leftVolume = v.value->first;
        tone.rightVolume = v.value->second;
    }
    if (parser_.isSet(kEnvelope)) {
        const auto v = to::Envelope(text(kEnvelope));
        if (!v.value)
            return Refuse(v.error);
        tone.envelope = *v.value;
    }
    tone.useMultiplier = !parser_.isSet(kNoMultiplier);
    std::set<int> levels;
    for (const QString& levelText : parser_.values(kAM)) {
        const auto v = to::AMLevel(levelText.toStdString(), tone.frequency, tone.useMultiplier);
        if (!v.value)
            return Refuse(v.error);
        if (!levels.insert(v.value->level).second)
            return Refuse(CliText("--am: level %1 given twice").arg(v.value->level));
        tone.am.push_back(*v.value);
    }
    if (parser_.isSet(kSeconds)) {
        const auto v = to::Seconds(text(kSeconds));
        if (!v.value)
            return Refuse(v.error);
        line.seconds = *v.value;
    }
    return line;
}
