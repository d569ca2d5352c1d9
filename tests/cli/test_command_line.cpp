// SPDX-License-Identifier: GPL-3.0-or-later
// The command line: which values it takes at the limits, what it asks of
// the generator, and that an exported file is the image the generator's
// own calls build.

#include "cli/ArgumentText.h"
#include "cli/CommandLine.h"
#include "cli/CommandRunner.h"
#include "cli/DeviceCommands.h"
#include "cli/StepAnnouncer.h"
#include "engine/LoopLength.h"
#include "engine/OutputDevice.h"
#include "engine/SilentSoundOutput.h"
#include "engine/ToneGen.h"
#include "engine/WaveHeader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <numbers>
#include <ostream>
#include <string>
#include <vector>

#include <sys/stat.h>

namespace {

CommandLine Parse(const std::vector<std::string>& args) {
    QStringList list{"orbel"};
    for (const std::string& a : args)
        list << QString::fromStdString(a);
    CommandLineParser parser;
    return parser.Parse(list);
}

std::vector<std::string> Split(const std::string& line) {
    std::vector<std::string> words;
    std::string word;
    for (char c : line) {
        if (c == ' ') {
            if (!word.empty())
                words.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty())
        words.push_back(word);
    return words;
}

struct Limit {
    const char* args;        // after the program name
    const char* refusedWith; // null: accepted; else a text of the one-line message
};

// A failing row names its arguments.
void PrintTo(const Limit& l, std::ostream* os) {
    *os << "'" << l.args << "' " << (l.refusedWith ? "refused" : "accepted");
}

class CommandLineLimitTest : public ::testing::TestWithParam<Limit> {};

TEST_P(CommandLineLimitTest, AcceptsTheLimitsAndRefusesJustPastThem) {
    const Limit& l = GetParam();
    const CommandLine line = Parse(Split(l.args));
    if (!l.refusedWith) {
        EXPECT_NE(line.action, CommandLine::Action::Refused) << line.error;
        return;
    }
    ASSERT_EQ(line.action, CommandLine::Action::Refused);
    EXPECT_NE(line.error.find(l.refusedWith), std::string::npos) << line.error;
    EXPECT_EQ(line.error.find('\n'), std::string::npos) << "one line";
}

// Every option's value is echoed with the bytes typed, whatever they are.
TEST(CommandLineEcho, EveryOptionShowsTheBytesTyped) {
    for (const char* option : {"--frequency", "--waveform", "--sweep", "--burst", "--phase",
                               "--right-frequency", "--level"}) {
        QStringList list{"orbel", "play", "--stereo", option,
                         ArgumentText("\xFF"
                                      "1")};
        CommandLineParser parser;
        const CommandLine line = parser.Parse(list);
        ASSERT_EQ(line.action, CommandLine::Action::Refused) << option;
        EXPECT_NE(line.error.find("'\\xFF1'"), std::string::npos) << line.error;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Options, CommandLineLimitTest,
    ::testing::Values(
        Limit{"play --frequency 20", nullptr}, Limit{"play --frequency 20000", nullptr},
        Limit{"play --frequency 0", "--frequency must be from 1 to 43200 Hz at 96000"},
        Limit{"play --classic --frequency 0",
              "--frequency must be a whole number from 20 to 20000"},
        // Frequencies no loop holds: export and play stream them.
        Limit{"play --frequency 19", nullptr},
        Limit{"play --frequency 997.123 --bits float --seconds 1", nullptr},
        Limit{"play --frequency 12.5 --burst 1:1", nullptr},
        Limit{"export a.wav --frequency 997.123", nullptr},
        Limit{"export a.wav --frequency 997.1230", nullptr},
        Limit{"export a.wav --frequency 1", nullptr},
        Limit{"export a.wav --frequency 0.999", "--frequency must be from 1 to 43200 Hz at 96000"},
        Limit{"export a.wav --frequency 43200", nullptr},
        Limit{"export a.wav --frequency 43200.001", "from 1 to 43200 Hz"},
        Limit{"export a.wav --frequency 20000 --rate 44100", nullptr},
        Limit{"export a.wav --frequency 20000.001 --rate 44100", "from 1 to 20000 Hz at 44100"},
        Limit{"export a.wav --frequency 997,5", "'997,5': use a point for decimals"},
        Limit{"export a.wav --frequency 997.1234", "at most three decimals"},
        Limit{"export a.wav --frequency 1e3", "must be a number of hertz from 1 to 43200"},
        Limit{"export a.wav --classic --frequency 997.5", "must be a whole number from 20 to"},
        Limit{"export a.wav --classic --frequency 19", "must be a whole number from 20 to"},
        Limit{"export a.wav --frequency 12.5 --envelope 1,1,1,1,1",
              "--frequency 12.5 makes a steady tone only: drop --envelope"},
        Limit{"export a.wav --frequency 12.5 --am 1:10:sine:2", "drop --am"},
        Limit{"export a.wav --frequency 12.5 --waveform noise", "drop --waveform noise"},
        Limit{"export a.wav --frequency 12.5 --burst 1:1", nullptr},
        Limit{"export a.wav --stereo --right-frequency 10.5 --phase 90", nullptr},
        Limit{"export a.wav --stereo --right-frequency 10.5 --burst 1:1",
              "--right-frequency goes with a steady sine only"},
        Limit{"play --frequency 43200.001", "--frequency"},
        Limit{"play --classic --frequency 440.5", "--frequency"},
        Limit{"play --frequency -440", "--frequency"},
        Limit{"play --frequency 99999999999999", "--frequency"},
        Limit{"play --duration 10", nullptr}, Limit{"play --duration 32767", nullptr},
        Limit{"play --duration 9", "--duration must be a whole number from 10 to 32767"},
        Limit{"play --duration 32768", "--duration"}, Limit{"play --bits 16", nullptr},
        Limit{"play --bits 8", nullptr}, Limit{"play --bits 24", nullptr},
        Limit{"play --bits float", nullptr},
        Limit{"play --bits 32", "--bits must be 8, 16, 24 or float"},
        // What was typed is echoed as it is, placeholders and all.
        Limit{"play --classic --frequency %2%1", "from 20 to 20000 (Hz), not '%2%1'"},
        Limit{"export a.wav --frequency %2%1", "from 1 to 43200 with at most three decimals, "
                                               "not '%2%1'"},
        Limit{"play --classic --bits 24", "--bits 24 needs the precise synthesis"},
        Limit{"play --classic --bits float", "needs the precise synthesis"},
        Limit{"play --level 0", nullptr}, Limit{"play --level -120", nullptr},
        Limit{"play --level -0.01", nullptr},
        Limit{"play --level -120.01", "--level must be a number from -120 to 0"},
        Limit{"play --level 0.01", "--level"}, Limit{"play --level -inf", "--level"},
        Limit{"play --level -20dB", "--level"},
        Limit{"play --level -3 --level -6", "--level may be given only once"},
        Limit{"play --classic --level -20", "--level needs the precise synthesis"},
        Limit{"play --classic --dither", "--dither needs the precise synthesis"},
        Limit{"--level -20", "--level needs a command"}, Limit{"devices", nullptr},
        Limit{"play --device sink1", nullptr}, Limit{"export a.wav --device sink1", nullptr},
        // Levels in any unit; the calibration is looked up when playing.
        Limit{"play --level -20dBFS", nullptr}, Limit{"play --level 0dBu", nullptr},
        Limit{"export a.wav --level -10dBV", nullptr}, Limit{"play --level 775mV", nullptr},
        Limit{"play --level 2Vpp", nullptr}, Limit{"play --level 500mVpp", nullptr},
        Limit{"play --level -120.01dBFS", "--level must be a number from -120 to 0"},
        Limit{"play --level 0V", "--level must be a voltage above 0, not '0V'"},
        Limit{"play --level 0,775V", "takes a decimal point, not a comma"},
        Limit{"play --level 3dBm", "--level must be a level such as -20, -20dBFS, 0dBu"},
        Limit{"play --classic --level 0dBu", "--level needs the precise synthesis"},
        Limit{"play --measured 0.2", "--measured is for calibrate only"},
        Limit{"play --level 1V --volume 50", "--volume below 100 would take the volts"},
        Limit{"play --level -6 --volume 50", nullptr},
        Limit{"calibrate --device sink1 --measured 0.245,245mV", nullptr},
        Limit{"calibrate --measured 0.245", "calibrate needs --device NAME"},
        Limit{"calibrate --device sink1 --measured 0", "--measured must be the meter's reading"},
        Limit{"calibrate --device sink1 --measured 1dBu", "--measured must be the meter's"},
        Limit{"calibrate --device sink1 --level 0dBu", "--level must be a number from -120 to 0"},
        Limit{"calibrate --device sink1 --frequency 997", "--frequency is not for calibrate"},
        Limit{"devices --frequency 440", "--frequency is for export and play"},
        Limit{"devices x", "devices takes no file"},
        Limit{"--device sink1", "--device needs a command"}, Limit{"play --rate 96000", nullptr},
        Limit{"play --rate 44100", nullptr}, Limit{"play --rate 48000", nullptr},
        Limit{"play --rate 192000", nullptr},
        Limit{"play --rate 32000", "--rate must be 44100, 48000, 88200, 96000, 176400 or 192000"},
        Limit{"play --classic --rate 48000", "--rate 48000 needs the precise synthesis"},
        Limit{"play --classic --rate 44100", nullptr},
        Limit{"export a.wav --frequency 21600 --rate 48000", nullptr},
        Limit{"export a.wav --frequency 21600.001 --rate 48000", "from 1 to 21600 Hz at 48000"},
        Limit{"play --waveform sawtooth", nullptr}, Limit{"play --waveform noise", nullptr},
        Limit{"play --waveform Sine", "--waveform must be sine|square|triangle|sawtooth|noise"},
        Limit{"play --waveform si\nne", "not 'si\\x0Ane'"},
        Limit{"play --bo\rom", "Unknown option"}, Limit{"play --volume 0", nullptr},
        Limit{"play --volume 100,0", nullptr},
        Limit{"play --volume 101", "--volume must be LEFT or LEFT,RIGHT"},
        Limit{"play --volume 50,-1", "--volume"}, Limit{"play --volume 1,2,3", "--volume"},
        Limit{"play --volume 50,", "--volume"}, Limit{"play --envelope 0,0,0,0,0", nullptr},
        Limit{"play --envelope 100,100,100,100,100", nullptr},
        Limit{"play --envelope 10,5,20,50,101", "--envelope must be A,H,D,S,R"},
        Limit{"play --envelope 10,5,20,50", "--envelope"}, Limit{"play --note N114", nullptr},
        Limit{"play --note O9D#", nullptr},
        Limit{"play --note N115", "--note must be a note name from 20 to 20000 Hz"},
        Limit{"play --note O9E", "--note"}, Limit{"play --note H", "--note"},
        Limit{"play --seconds 0.1", nullptr}, Limit{"play --seconds 86400", nullptr},
        Limit{"play --seconds 0.09", "--seconds must be a number from 0.1 to 86400"},
        Limit{"play --seconds 86401", "--seconds"}, Limit{"play --seconds nan", "--seconds"},
        // AM levels: LEVEL 1..8, AMPLITUDE 0..100, and a level that plays
        // from 20 to 20000 Hz: 440 x 45.45 = 19998, 440 x 45.46 = 20002.
        Limit{"play --am 1:0:sine:1 --am 8:100:noise:2", nullptr},
        Limit{"play --am 1:50:sine:45.45", nullptr}, Limit{"play --am 1:50:sine:0.0455", nullptr},
        Limit{"play --am 1:50:sine:45.46",
              "--am '1:50:sine:45.46': FREQUENCY must make the level play from 20 to 20000 Hz"},
        Limit{"play --am 1:50:sine:0.045", "FREQUENCY"},
        Limit{"play --no-multiplier --am 2:50:square:20", nullptr},
        Limit{"play --no-multiplier --am 2:50:square:20000", nullptr},
        Limit{"play --no-multiplier --am 2:50:square:19.9", "FREQUENCY"},
        Limit{"play --no-multiplier --am 2:50:square:20001", "FREQUENCY"},
        Limit{"play --am 3:25:triangle:O5C#", nullptr},
        Limit{"play --am 3:25:triangle:O9E", "FREQUENCY"},
        Limit{"play --am 0:50:sine:1", "LEVEL must be a whole number from 1 to 8"},
        Limit{"play --am 9:50:sine:1", "LEVEL"},
        Limit{"play --am 1:101:sine:1", "AMPLITUDE must be a whole number from 0 to 100"},
        Limit{"play --am 1:50:saw:1", "WAVEFORM must be"},
        Limit{"play --am 1:50:sine", "LEVEL:AMPLITUDE:WAVEFORM:FREQUENCY"},
        Limit{"play --am 1:50:sine:1 --am 1:20:sine:2", "--am: level 1 given twice"},
        // Commands and combinations.
        Limit{"", nullptr}, Limit{"--classic", nullptr}, Limit{"--help", nullptr},
        Limit{"--version", nullptr}, Limit{"--frequency 1000", "--frequency needs a command"},
        Limit{"export", "export needs one FILE"},
        Limit{"export a.wav b.wav", "export needs one FILE"},
        Limit{"export a.wav --seconds 2", "--seconds is for play only"},
        Limit{"play a.wav", "play takes no file"}, Limit{"record", "unknown command 'record'"},
        Limit{"play --frequency 440 --note A", "only one of --frequency and --note"},
        Limit{"play --frequency 440 --frequency 441", "--frequency may be given only once"},
        Limit{"play --precise --classic", "only one of --precise and --classic"},
        Limit{"play --loud", "Unknown option 'loud'"},
        Limit{"play --frequency", "Missing value after '--frequency'"},
        // Measurement signals: their ranges and the combinations refused.
        Limit{"play --sweep 20:20000", nullptr}, Limit{"play --sweep 20000:20 --linear", nullptr},
        Limit{"play --sweep 20:20000 --duration 60000 --fade 30000", nullptr},
        Limit{"play --sweep 20:20000 --duration 100", nullptr},
        Limit{"play --sweep 20:20000 --duration 60001",
              "--duration must be a whole number from 100 to 60000"},
        Limit{"play --sweep 20:20000 --duration 99", "--duration"},
        Limit{"play --sweep 20:20000 --duration 1000 --fade 501",
              "--fade must be a whole number from 0 to 500"},
        Limit{"play --sweep 0.999:20000", "--sweep must be F1:F2"},
        Limit{"play --sweep 1:43200 --rate 96000", nullptr},
        Limit{"play --sweep 997.123:21600.001 --rate 48000", "from 1 to 21600 Hz at 48000"},
        Limit{"play --sweep 19.5:20000", nullptr},
        Limit{"play --sweep 440:440", "--sweep must be F1:F2, two different"},
        Limit{"play --sweep 20", "--sweep"}, Limit{"play --linear", "--linear goes with --sweep"},
        Limit{"play --fade 10", "--fade goes with --sweep"},
        Limit{"play --burst 10:90 --fade 10", "--fade goes with --sweep"},
        Limit{"play --sweep 20:20000 --waveform noise",
              "--sweep plays a sine, not --waveform noise"},
        Limit{"play --sweep 20:20000 --frequency 1000", "--sweep sets its own frequencies"},
        Limit{"play --sweep 20:20000 --burst 1:1", "give only one of --sweep, --burst"},
        Limit{"play --sweep 20:20000 --classic", "--sweep needs the precise synthesis"},
        Limit{"play --waveform pink", nullptr}, Limit{"play --waveform smpte", nullptr},
        Limit{"play --waveform ccif --rate 44100", nullptr},
        Limit{"play --waveform smpte --frequency 1000",
              "--waveform smpte sets its own frequencies"},
        Limit{"play --waveform pink --am 1:10:sine:2", "does not take --am levels"},
        Limit{"play --waveform pink --classic", "needs the precise synthesis"},
        Limit{"play --burst 1:0", nullptr}, Limit{"play --burst 1000:1000", nullptr},
        Limit{"play --burst 0:10", "--burst must be ON:OFF"},
        Limit{"play --burst 10:1001", "--burst"}, Limit{"play --burst 10", "--burst"},
        Limit{"play --burst 10:90 --waveform square", "--burst plays a sine"},
        Limit{"play --stereo --phase 0", nullptr}, Limit{"play --stereo --phase 360", nullptr},
        Limit{"play --stereo --phase 90.5", nullptr},
        Limit{"play --stereo --phase 360.1", "--phase must be degrees from 0 to 360"},
        Limit{"play --stereo --phase 90.25", "--phase"},
        Limit{"play --stereo --phase -1", "--phase"}, Limit{"play --stereo --phase 1e2", "--phase"},
        Limit{"play --phase 90", "--phase needs --stereo"},
        Limit{"play --right-frequency 1001", "--right-frequency needs --stereo"},
        Limit{"play --stereo --right-frequency 20000", nullptr},
        Limit{"play --stereo --right-frequency 20001.5", nullptr},
        Limit{"play --stereo --right-frequency 0", "--right-frequency must be from 1 to 43200"},
        Limit{"play --stereo --phase 90 --waveform pink", "--phase goes with a steady sine"},
        Limit{"play --stereo --phase 90 --burst 1:1", "--phase goes with a steady sine only"},
        Limit{"play --stereo --phase 90 --classic", "--phase needs the precise synthesis"},
        // Each documented refusal of the measurement signals, for each signal.
        Limit{"play --burst 1:1 --classic", "--burst needs the precise synthesis"},
        Limit{"play --waveform smpte --classic", "--waveform smpte needs the precise synthesis"},
        Limit{"play --stereo --right-frequency 1001 --classic",
              "--right-frequency needs the precise synthesis"},
        Limit{"play --burst 1:1 --waveform ccif", "give only one of --sweep, --burst"},
        Limit{"play --sweep 20:20000 --waveform pink", "give only one of --sweep, --burst"},
        Limit{"play --sweep 20:20000 --note A", "--sweep sets its own frequencies"},
        Limit{"play --waveform ccif --note A", "--waveform ccif sets its own frequencies"},
        Limit{"play --waveform ccif --frequency 1000", "--waveform ccif sets its own frequencies"},
        Limit{"play --stereo --phase 90 --waveform square", "--phase plays a sine"},
        Limit{"play --stereo --right-frequency 1001 --waveform triangle",
              "--right-frequency plays a sine"},
        Limit{"play --sweep 20:20000 --am 1:10:sine:2", "--sweep does not take --am levels"},
        Limit{"play --burst 1:1 --am 1:10:sine:2", "--burst does not take --am levels"},
        Limit{"play --stereo --phase 90 --am 1:10:sine:2", "--phase does not take --am levels"},
        Limit{"play --waveform smpte --linear", "--linear goes with --sweep"},
        Limit{"play --stereo --phase 90 --sweep 20:20000", "--phase goes with a steady sine only"},
        Limit{"play --stereo --right-frequency 1001 --sweep 20:20000",
              "--right-frequency goes with a steady sine only"},
        Limit{"play --stereo --right-frequency 1001 --burst 1:1",
              "--right-frequency goes with a steady sine only"},
        Limit{"play --stereo --right-frequency 1001 --waveform ccif",
              "--right-frequency goes with a steady sine only"},
        Limit{"play --phase 90 --sweep 20:20000", "--phase needs --stereo"},
        Limit{"--sweep 20:20000", "--sweep needs a command"},
        // The multitone and the stepped sweep.
        Limit{"export a.wav --waveform multitone --tones 20:20000:3", nullptr},
        Limit{"export a.wav --waveform multitone --tones 20:20000:3 --fft 1048576", nullptr},
        Limit{"export a.wav --waveform multitone --tones 20:20000:3 --fft 1000",
              "--fft must be a power of two from 1024 to 1048576, not '1000'"},
        Limit{"export a.wav --waveform multitone --tones 20:20000:3 --fft 512", "--fft must be"},
        Limit{"export a.wav --waveform multitone --tones 20:20000:3 --tones-file t.txt",
              "give only one of --tones and --tones-file"},
        Limit{"export a.wav --waveform multitone", "needs --tones F1:F2:N or --tones-file FILE"},
        Limit{"export a.wav --waveform multitone --tones 20000:20:3", "--tones must be F1:F2:N"},
        Limit{"export a.wav --waveform multitone --tones 20:20000:1001", "from 1 to 1000"},
        Limit{"export a.wav --waveform multitone --tones 20:20000:3 --classic",
              "--waveform multitone needs the precise synthesis"},
        Limit{"export a.wav --waveform multitone --tones 20:20000:3 --frequency 1000",
              "--frequency does not go with --waveform multitone"},
        Limit{"export a.wav --waveform multitone --tones-file t.txt --linear",
              "--linear goes with --tones"},
        Limit{"play --waveform multitone --tones 20:20000:3 --seconds 1", nullptr},
        Limit{"export a.wav --fft 1024", "--fft goes with --waveform multitone or --steps"},
        Limit{"export a.wav --steps 20:20000:10 --dwell 10", nullptr},
        Limit{"export a.wav --steps 20:20000:10 --dwell 60000 --up-down --linear", nullptr},
        Limit{"export a.wav --steps 20:20000:10 --dwell 9", "--dwell must be a whole number"},
        Limit{"export a.wav --steps 20:20000:10", "--steps needs --dwell MS"},
        Limit{"export a.wav --steps 20:20000:10 --dwell 10 --duration 100", "drop --duration"},
        Limit{"export a.wav --steps 20:43201:10 --dwell 10", "from 1 to 43200 Hz at 96000"},
        Limit{"export a.wav --steps 20:20000:10 --dwell 10 --waveform square",
              "--steps plays a sine"},
        Limit{"export a.wav --steps 20:20000:10 --dwell 10 --fft 1024",
              "--fft goes with --waveform multitone"},
        Limit{"play --steps 20000:20:10 --dwell 10 --up-down", nullptr},
        Limit{"play --steps 20:20:10 --dwell 10", "two different frequencies"}));

// A file of `text` in a fresh folder.
std::string TempFile(const std::string& name, const std::string& text) {
    const auto dir =
        std::filesystem::temp_directory_path() /
        ("orbel-cli-tones-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / name).string();
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

// Refusals of a multitone that only its tones can tell, one line each.
TEST(CommandLineTest, RefusesAMultitoneWithoutWritingIt) {
    struct Row {
        std::string args;
        const char* refusedWith;
    };
    const std::string badLine = TempFile("bad.txt", "# list\n100\n\n200 -3 x\n");
    const std::string sameBin = TempFile("bin.txt", "1000\n1010\n");
    const std::string out = TempFile("out.wav", "kept");
    const std::string large = TempFile("large.txt", std::string((1 << 20) + 1, '\n'));
    const std::string fifo = std::filesystem::path(out).parent_path() / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const Row& row : {
             Row{"--tones-file " + badLine, "line 4: the phase is not a number"},
             Row{"--tones-file " + sameBin + " --fft 1024 --rate 44100",
                 "the tones at 1000 Hz and 1010 Hz land on one bin of --fft 1024"},
             Row{"--tones 1000:20000:3 --fft 4096 --level 0", "the largest level that fits is -"},
             Row{"--tones-file " + sameBin + "-missing", "no such file"},
             Row{"--tones-file " + large, "is larger than 1 MB"},
             Row{"--tones-file " + fifo, "is not a regular file"}, // and never waits on it
         }) {
        const CommandLine line =
            Parse(Split("export " + out + " --waveform multitone " + row.args));
        ASSERT_TRUE(line.multitone) << line.error;
        const PreparedMultitone prepared = PrepareMultitone(*line.multitone);
        EXPECT_NE(prepared.refusal.find(row.refusedWith), std::string::npos) << prepared.refusal;
        EXPECT_EQ(prepared.refusal.find('\n'), std::string::npos);
        EXPECT_EQ(RunMultitoneExport(*line.multitone, line.file), 2);
    }
    std::ifstream in(out);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "kept") << "nothing written";
    std::filesystem::remove_all(std::filesystem::path(out).parent_path());
}

// A stepped sweep up and down is written to the end of its last step.
TEST(CommandLineTest, ExportsAWholeSteppedSweep) {
    const std::string file = TempFile("steps.wav", "");
    const CommandLine line =
        Parse(Split("export " + file + " --steps 100:1000:3 --dwell 10 --up-down --rate 44100"));
    ASSERT_TRUE(line.steps) << line.error;
    const StepSchedule& schedule = line.steps->schedule;
    ASSERT_EQ(schedule.steps.size(), 5u);
    EXPECT_DOUBLE_EQ(schedule.steps[1].hertz, std::sqrt(100.0 * 1000.0));
    EXPECT_EQ(schedule.steps[4].hertz, 100);
    ASSERT_EQ(RunSteppedSweepExport(*line.steps, line.file), 0);
    const std::uint64_t frames = (schedule.endFrame * 1000 + 44099) / 44100 * 44100 / 1000;
    const WaveFormat format = line.steps->format;
    EXPECT_EQ(std::filesystem::file_size(file),
              WaveImageSize(format, std::uint32_t(frames * format.BytesPerFrame())));
    std::filesystem::remove_all(std::filesystem::path(file).parent_path());
}

// The level is the RMS of the whole signal, and the signal repeats every
// --fft frames.
TEST(CommandLineTest, ExportsAMultitoneAtItsRmsLevel) {
    const std::string file = TempFile("multitone.wav", "");
    const CommandLine line =
        Parse(Split("export " + file +
                    " --waveform multitone --tones 100:10000:2 --fft 1024 --rate 44100 --bits "
                    "float --level -12.5 --duration 100"));
    ASSERT_TRUE(line.multitone) << line.error;
    ASSERT_EQ(RunMultitoneExport(*line.multitone, line.file), 0);
    std::ifstream in(file, std::ios::binary);
    const std::vector<char> written{std::istreambuf_iterator<char>(in), {}};
    constexpr std::size_t kN = 1024, kFloatHeader = 58;
    ASSERT_GE(written.size(), kFloatHeader + 4 * kN * sizeof(float));
    std::vector<float> x(4 * kN);
    std::memcpy(x.data(), written.data() + kFloatHeader, x.size() * sizeof(float));
    double power = 0;
    for (std::size_t n = 0; n < kN; ++n) {
        power += double(x[n]) * x[n];
        ASSERT_EQ(x[n], x[n + kN]);
        ASSERT_EQ(x[n], x[n + 3 * kN]);
    }
    // AES17: a full-scale sine, RMS 1/sqrt(2), is 0 dBFS.
    EXPECT_NEAR(10 * std::log10(2 * power / kN), -12.5, 0.01);
    std::filesystem::remove_all(std::filesystem::path(file).parent_path());
}

TEST(CommandLineTest, ReadsTheMeasurementSignals) {
    const CommandLine sweep =
        Parse(Split("play --sweep 20000:20 --linear --duration 60000 --fade 5"));
    EXPECT_EQ(sweep.tone.signal.kind, SignalKind::Sweep);
    EXPECT_EQ(sweep.tone.signal.sweep, (SweepSettings{20000, 20, 60000, true, 5}));
    EXPECT_EQ(Parse(Split("play --waveform ccif")).tone.signal.kind, SignalKind::Ccif);
    const CommandLine burst = Parse(Split("play --burst 3:7 --frequency 500"));
    EXPECT_EQ(burst.tone.signal.kind, SignalKind::Burst);
    EXPECT_EQ(burst.tone.signal.burst, (BurstSettings{3, 7}));
    const CommandLine right = Parse(Split("play --stereo --phase 90.5 --right-frequency 1001"));
    EXPECT_EQ(right.tone.signal.rightLagTenths, 905);
    EXPECT_EQ(right.tone.signal.rightFrequency, 1001);
    EXPECT_FALSE(Parse(Split("play --stereo")).tone.signal.Active()) << "off unless asked";
}

// A frequency no loop holds is streamed: the file holds the asked duration
// of the exact sine, as computed here in long double.
TEST(CommandLineTest, ExportsAFineFrequencyStreamed) {
    const auto dir =
        std::filesystem::temp_directory_path() /
        ("orbel-cli-fine-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::create_directories(dir);
    const std::string file = (dir / "fine.wav").string();
    const CommandLine line =
        Parse({"export", file, "--frequency", "997.123", "--bits", "float", "--stereo", "--phase",
               "90", "--level", "-6", "--duration", "100"});
    ASSERT_EQ(line.action, CommandLine::Action::Export) << line.error;
    ASSERT_TRUE(line.streamed);
    EXPECT_EQ(line.streamed->tone.frequency.value, 997123);
    EXPECT_EQ(line.streamed->durationMs, 100);
    ASSERT_EQ(RunStreamedExport(line.streamed->tone, line.streamed->format,
                                line.streamed->durationMs, line.file),
              0);
    std::ifstream in(file, std::ios::binary);
    const std::vector<char> written{std::istreambuf_iterator<char>(in), {}};
    constexpr std::size_t kFrames = 9600, kFloatHeader = 58;
    ASSERT_GE(written.size(), kFloatHeader + kFrames * 8);
    EXPECT_EQ(std::string(written.data(), 4), "RIFF");
    const double peak = std::pow(10.0, -6.0 / 20);
    double worst = 0;
    for (std::size_t n = 0; n < kFrames; n += 97) {
        float sample[2];
        std::memcpy(sample, written.data() + kFloatHeader + n * 8, sizeof sample);
        const long double turns = 997.123L * n / 96000;
        const long double left = std::sin(2 * std::numbers::pi_v<long double> * turns);
        const long double right = std::sin(2 * std::numbers::pi_v<long double> * (turns - 0.25L));
        worst = std::max({worst, double(std::abs(sample[0] - peak * left)),
                          double(std::abs(sample[1] - peak * right))});
    }
    EXPECT_LT(worst, 1e-6);
    EXPECT_EQ(Parse(Split("export a.wav --frequency 12.5")).streamed->durationMs, 1000)
        << "a second without --duration";
    EXPECT_EQ(Parse(Split("play --frequency 12.5 --burst 3:7")).streamed->tone.burst,
              (BurstSettings{3, 7}));
    EXPECT_EQ(
        Parse(Split("play --frequency 997.123 --rate 192000")).streamed->format.SamplesPerSecond(),
        192000);
    const SweepSettings sweep =
        Parse(Split("export a.wav --sweep 997.123:21600 --rate 48000")).tone.signal.sweep;
    EXPECT_EQ(sweep.startHz, 997.123);
    EXPECT_EQ(sweep.endHz, 21600.0);
    std::filesystem::remove_all(dir);
}

TEST(CommandLineTest, ReadsCommandsAndSettings) {
    const CommandLine line = Parse(
        Split("export out.wav --note O5C# --waveform square --duration 250 --bits 8 --rate 44100 "
              "--stereo --volume 30,70 --envelope 1,2,3,4,5 --no-multiplier --classic "
              "--am 2:10:sine:300 --am 5:20:triangle:E"));
    ASSERT_EQ(line.action, CommandLine::Action::Export) << line.error;
    EXPECT_EQ(line.file, "out.wav");
    const ToneRequest& t = line.tone;
    EXPECT_EQ(t.note, "O5C#");
    EXPECT_EQ(t.frequency, 1109);
    EXPECT_EQ(t.waveform, TTGWave::tgSquare);
    EXPECT_EQ(t.durationMs, 250);
    EXPECT_EQ(t.resolution, TTGResolution::tg8Bit);
    EXPECT_EQ(t.quality, TTGQuality::tgLoQ);
    EXPECT_TRUE(t.stereo);
    EXPECT_EQ(t.leftVolume, 30);
    EXPECT_EQ(t.rightVolume, 70);
    ASSERT_TRUE(t.envelope);
    EXPECT_EQ(t.envelope->release, 5);
    EXPECT_FALSE(t.useMultiplier);
    EXPECT_FALSE(t.precise);
    ASSERT_EQ(t.am.size(), 2u);
    EXPECT_EQ(t.am[1].level, 5);
    EXPECT_EQ(t.am[1].note, "E");

    EXPECT_TRUE(Parse({"play"}).tone.precise) << "precise unless --classic";
    EXPECT_TRUE(Parse({"--classic"}).classic);
    EXPECT_EQ(Parse({"play", "--seconds", "2.5"}).seconds, 2.5);
}

TEST(CommandLineTest, ReadsTheMeasurementOutput) {
    const ToneRequest t = Parse(Split("play --bits float --level -20.004 --dither")).tone;
    EXPECT_EQ(t.resolution, TTGResolution::tgFloat);
    EXPECT_EQ(t.levelDb, -20.0) << "to the nearest hundredth";
    EXPECT_TRUE(t.dither);
    const ToneRequest plain = Parse({"play"}).tone;
    EXPECT_EQ(plain.levelDb, 0.0);
    EXPECT_FALSE(plain.dither);
    TToneGen gen(nullptr, std::make_shared<SilentSoundOutput>());
    t.ApplyTo(gen);
    EXPECT_EQ(gen.PeakLevel(), -20.0);
    EXPECT_TRUE(gen.Dither());
    EXPECT_EQ(gen.Resolution(), TTGResolution::tgFloat);
}

TEST(CommandLineTest, KeepsAVoltLevelForTheOutputsCalibration) {
    EXPECT_EQ(Parse(Split("play --level -20.004dBFS")).tone.levelDb,
              Parse(Split("play --level -20.004")).tone.levelDb)
        << "dBFS written out is the plain number";
    const CommandLine volts = Parse(Split("play --level 500mVpp"));
    ASSERT_TRUE(volts.jackLevel);
    EXPECT_EQ(volts.jackLevel->unit, LevelUnit::MilliVoltsPeakToPeak);
    EXPECT_EQ(volts.jackLevel->number, 500);
    EXPECT_EQ(volts.levelText, "500mVpp");
    EXPECT_FALSE(Parse(Split("play --level -6")).jackLevel);
    const CommandLine calibrate = Parse(Split("calibrate --device sink1 --measured 245mV,0.3"));
    EXPECT_EQ(calibrate.action, CommandLine::Action::Calibrate);
    EXPECT_EQ(calibrate.tone.levelDb, -10) << "the calibration tone's default level";
    EXPECT_EQ(calibrate.measured, (std::pair{0.245, 0.3}));
    EXPECT_EQ(Parse(Split("calibrate --device sink1 --measured 0.2")).measured,
              (std::pair{0.2, 0.2}))
        << "one reading for both channels";
}

TEST(CommandLineTest, TakesTheRightChannelsOwnLevelWhereBothChannelsPlay) {
    const CommandLine db = Parse(Split("play --stereo --level -6 --right-level -20.004dBFS"));
    EXPECT_EQ(db.tone.levelDb, -6);
    EXPECT_EQ(db.tone.rightLevelDb, -20);
    const CommandLine volts = Parse(Split("export a.wav --stereo --right-level 500mVpp"));
    ASSERT_TRUE(volts.rightJackLevel) << volts.error;
    EXPECT_EQ(volts.rightJackLevel->unit, LevelUnit::MilliVoltsPeakToPeak);
    EXPECT_FALSE(volts.jackLevel);
    EXPECT_TRUE(volts.levelGiven);
    const CommandLine fine = Parse(Split("play --stereo --frequency 997.5 --right-level -20"));
    ASSERT_TRUE(fine.streamed) << fine.error;
    EXPECT_NEAR(fine.streamed->tone.rightPeak.value_or(1), 0.1, 1e-12);
    struct Row {
        const char* args;
        const char* refusedWith;
    };
    for (const Row& row : {
             Row{"play --right-level -20", "needs --stereo"},
             Row{"play --classic --stereo --right-level -20", "needs --stereo and the precise"},
             Row{"play --stereo --right-level 0,5V", "a decimal point, not a comma"},
             Row{"play --stereo --right-level 1dBFS", "--right-level must be a number from -120"},
             Row{"export a.wav --stereo --steps 100:1000:3 --right-level -20", "not with --steps"},
             Row{"calibrate --device x --right-level -20", "is not for calibrate"},
         }) {
        const CommandLine line = Parse(Split(row.args));
        ASSERT_EQ(line.action, CommandLine::Action::Refused) << row.args;
        EXPECT_NE(line.error.find(row.refusedWith), std::string::npos) << line.error;
    }
}

TEST(CommandLineTest, FindsAnOutputByNameBeforeDescription) {
    const std::vector<OutputDevice> devices{
        {"bench", "Speakers", false}, {"usb", "bench", true}, {"hdmi", "HDMI Out", false}};
    const auto found = [&](const std::string& wanted) {
        const OutputDevice* d = FindOutputDevice(devices, wanted);
        return d ? d->name : std::string("none");
    };
    EXPECT_EQ(found("bench"), "bench");
    EXPECT_EQ(found("HDMI Out"), "hdmi");
    EXPECT_EQ(found("usb"), "usb");
    EXPECT_EQ(found("hdm"), "none");
    EXPECT_EQ(Parse(Split("play --device HDMI")).device, "HDMI");
    EXPECT_EQ(Parse({"devices"}).action, CommandLine::Action::Devices);
}

// What the generator gets: one value for both channels, two in the order
// left, right.
TEST(CommandLineTest, PutsTheVolumeOnTheRightChannels) {
    const struct {
        const char* args;
        int left, right;
    } rows[] = {{"play --volume 37", 37, 37},
                {"play --volume 30,70", 30, 70},
                {"play --volume 0,100", 0, 100},
                {"play", 100, 100}};
    for (const auto& row : rows) {
        const CommandLine line = Parse(Split(row.args));
        ASSERT_EQ(line.action, CommandLine::Action::Play) << line.error;
        TToneGen gen(nullptr, std::make_shared<SilentSoundOutput>());
        line.tone.ApplyTo(gen);
        EXPECT_EQ(gen.LeftVolume(), row.left) << row.args;
        EXPECT_EQ(gen.RightVolume(), row.right) << row.args;
    }
}

struct NoteRow {
    const char* name;
    int frequency;
};
void PrintTo(const NoteRow& r, std::ostream* os) {
    *os << r.name << " -> " << r.frequency << " Hz";
}

class CommandLineNoteTest : public ::testing::TestWithParam<NoteRow> {};

TEST_P(CommandLineNoteTest, SetsTheGeneratorToTheNote) {
    const CommandLine line = Parse({"play", "--note", GetParam().name});
    ASSERT_EQ(line.action, CommandLine::Action::Play) << line.error;
    TToneGen gen(nullptr, std::make_shared<SilentSoundOutput>());
    line.tone.ApplyTo(gen);
    EXPECT_EQ(gen.Frequency(), GetParam().frequency);
}

INSTANTIATE_TEST_SUITE_P(Names, CommandLineNoteTest,
                         ::testing::Values(NoteRow{"A", 440}, NoteRow{"c#", 554},
                                           NoteRow{"E-", 622}, NoteRow{">C", 1047},
                                           NoteRow{"<<<<A", 28}, NoteRow{"O5C#", 1109},
                                           NoteRow{"N48", 440}, NoteRow{"N0", 28},
                                           NoteRow{"O9D#", 19912}));

TEST(CommandLineTest, PutsEveryAMLevelOnItsOwnLevel) {
    const CommandLine line = Parse(
        Split("play --frequency 1000 --am 1:10:square:2 --am 4:30:noise:0.5 --am 8:5:sine:C"));
    ASSERT_EQ(line.action, CommandLine::Action::Play) << line.error;
    TToneGen gen(nullptr, std::make_shared<SilentSoundOutput>());
    line.tone.ApplyTo(gen);
    const AMLevels& am = gen.AMArrays();
    EXPECT_EQ(am.amplitudes[0], 10);
    EXPECT_EQ(am.waveforms[0], TTGWave::tgSquare);
    EXPECT_FLOAT_EQ(am.frequencies[0], 2.0f);
    EXPECT_EQ(am.amplitudes[3], 30);
    EXPECT_EQ(am.waveforms[3], TTGWave::tgNoise);
    EXPECT_FLOAT_EQ(am.frequencies[3], 0.5f);
    EXPECT_EQ(am.amplitudes[7], 5);
    EXPECT_FLOAT_EQ(am.frequencies[7], 523.0f / 1000.0f) << "a note is stored as a multiplier";
    EXPECT_EQ(am.amplitudes[1], 0) << "levels not named stay silent";
}

// The same settings through the generator's own calls.
struct ExportRow {
    const char* args;
    std::function<void(TToneGen&)> api;
};

void PrintTo(const ExportRow& r, std::ostream* os) {
    *os << "'" << r.args << "'";
}

class CommandLineExportTest : public ::testing::TestWithParam<ExportRow> {};

TEST_P(CommandLineExportTest, WritesTheImageTheGeneratorBuilds) {
    const auto dir =
        std::filesystem::temp_directory_path() /
        ("orbel-cli-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
         std::to_string(reinterpret_cast<std::uintptr_t>(&GetParam())));
    std::filesystem::create_directories(dir);
    const std::string file = (dir / "out.wav").string();
    std::vector<std::string> args = Split(GetParam().args);
    args.insert(args.begin(), {"export", file});
    const CommandLine line = Parse(args);
    ASSERT_EQ(line.action, CommandLine::Action::Export) << line.error;
    ASSERT_FALSE(line.streamed) << "whole hertz from 20 to 20000 loop as they always did";
    ASSERT_EQ(RunExport(line.tone, line.file), 0);
    std::ifstream in(file, std::ios::binary);
    const std::vector<std::uint8_t> written{std::istreambuf_iterator<char>(in), {}};

    TToneGen gen(nullptr, std::make_shared<SilentSoundOutput>());
    GetParam().api(gen);
    const std::vector<std::uint8_t> built(gen.GetDataBuffer(),
                                          gen.GetDataBuffer() + gen.ImageSize());
    EXPECT_EQ(written.size(), built.size());
    EXPECT_TRUE(written == built) << "differs from the generator's own image";
    std::filesystem::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, CommandLineExportTest,
    ::testing::Values(
        // The command line's default is the precise synthesis.
        ExportRow{"--frequency 1234 --waveform square",
                  [](TToneGen& g) {
                      g.SetFrequency(1234);
                      g.SetDuration(500);
                      g.SetWaveform(TTGWave::tgSquare);
                      g.SetPrecise(true);
                      g.Prepare();
                  }},
        // Precise noise loops long, unless told otherwise.
        ExportRow{"--waveform noise",
                  [](TToneGen& g) {
                      g.SetFrequency(440);
                      g.SetDuration(loop_length::kNoiseLoopMs);
                      g.SetWaveform(TTGWave::tgNoise);
                      g.SetPrecise(true);
                      g.Prepare();
                  }},
        ExportRow{"--waveform noise --duration 250",
                  [](TToneGen& g) {
                      g.SetFrequency(440);
                      g.SetDuration(250);
                      g.SetWaveform(TTGWave::tgNoise);
                      g.SetPrecise(true);
                      g.Prepare();
                  }},
        ExportRow{"--frequency 997 --bits 24 --level -20 --dither --stereo --duration 100",
                  [](TToneGen& g) {
                      g.SetFrequency(997);
                      g.SetDuration(100);
                      g.SetResolution(TTGResolution::tg24Bit);
                      g.SetStereo(true);
                      g.SetPrecise(true);
                      g.SetPeakLevel(-20);
                      g.SetDither(true);
                      g.Prepare();
                  }},
        ExportRow{"--bits float --level -1 --envelope 10,5,20,50,30",
                  [](TToneGen& g) {
                      g.SetDuration(100);
                      g.SetResolution(TTGResolution::tgFloat);
                      g.SetPrecise(true);
                      g.SetPeakLevel(-1);
                      g.PrepareADSR();
                  }},
        ExportRow{"--frequency 997 --bits 24 --level -1 --rate 48000",
                  [](TToneGen& g) {
                      g.SetFrequency(997);
                      g.SetDuration(1000);
                      g.SetResolution(TTGResolution::tg24Bit);
                      g.SetPrecise(true);
                      g.SetPeakLevel(-1);
                      g.SetSampleRate(48000);
                      g.Prepare();
                  }},
        ExportRow{"--frequency 1000 --bits float --stereo --rate 176400 --duration 20",
                  [](TToneGen& g) {
                      g.SetFrequency(1000);
                      g.SetDuration(20);
                      g.SetResolution(TTGResolution::tgFloat);
                      g.SetStereo(true);
                      g.SetPrecise(true);
                      g.SetSampleRate(176400);
                      g.Prepare();
                  }},
        ExportRow{"--classic --frequency 1000 --duration 1000",
                  [](TToneGen& g) {
                      g.SetFrequency(1000);
                      g.SetDuration(1000);
                      g.Prepare();
                  }},
        // Without --duration the loop holds whole periods: 997 Hz needs 1 s.
        ExportRow{"--classic --frequency 997 --waveform triangle --bits 8 --rate 44100 --stereo",
                  [](TToneGen& g) {
                      g.SetFrequency(997);
                      g.SetDuration(1000);
                      g.SetWaveform(TTGWave::tgTriangle);
                      g.SetResolution(TTGResolution::tg8Bit);
                      g.SetQuality(TTGQuality::tgLoQ);
                      g.SetStereo(true);
                      g.Prepare();
                  }},
        ExportRow{"--classic --note O5A --am 1:25:sine:1.5 --am 3:10:square:E",
                  [](TToneGen& g) {
                      g.SetNote("O5A");
                      g.SetDuration(100);
                      g.SetAMParameter(TTGAMLevel::tgAMLevel1, 25, 1.5f, TTGWave::tgSine);
                      g.SetAMNote(TTGAMLevel::tgAMLevel3, "E");
                      g.SetAMParameter(TTGAMLevel::tgAMLevel3, 10, g.AMArrays().frequencies[2],
                                       TTGWave::tgSquare);
                      g.Prepare();
                  }},
        ExportRow{"--classic --frequency 250 --waveform sawtooth --envelope 10,5,20,50,30 "
                  "--no-multiplier --am 2:40:sine:25",
                  [](TToneGen& g) {
                      g.SetAMUseMultiplier(false);
                      g.SetFrequency(250);
                      g.SetDuration(100);
                      g.SetWaveform(TTGWave::tgSawtooth);
                      g.SetAMParameter(TTGAMLevel::tgAMLevel2, 40, 25.0f, TTGWave::tgSine);
                      g.PrepareADSR();
                  }}));

} // namespace

// Scripts read these lines in the C locale: their English must not drift.
TEST(CommandLineTest, WordsTheChosenOutputsNotices) {
    using Where = DeviceNotice::Where;
    const struct {
        DeviceNotice notice;
        std::string line;
    } rows[] = {
        {DeviceNotice::Left("bench_c", Where::Named, "nullsink"),
         "the output bench_c went away; playing on nullsink"},
        {DeviceNotice::Left("bench_c", Where::DefaultOutput),
         "the output bench_c went away; playing on the default output"},
        {DeviceNotice::Left("bench_c", Where::Unknown),
         "the output bench_c went away; playing on another output"},
        {DeviceNotice::Back("bench_c"), "playing on bench_c again"},
        // What the server names reaches the terminal as one inert line.
        {DeviceNotice::Left("x\x1b[2Jy", Where::Named, "a\tb\xff"),
         "the output x\\x1B[2Jy went away; playing on a\\x09b\\xFF"},
        {DeviceNotice::Back(std::string(70000, 's')),
         "playing on " + std::string(64, 's') + "... (70000 bytes) again"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(DeviceNoticeText(row.notice).toStdString(), row.line);
}

// Names and descriptions holding a tab, an escape or a byte that is not
// UTF-8 keep the NAME<TAB>DESCRIPTION layout and never act on the terminal.
TEST(CommandLineTest, ListsOutputsOneInertLineEach) {
    const std::vector<OutputDevice> devices{
        {"sink\tone", "Desc\x1b]0;title\x07", true},
        {"sink.\xff", "Два\nвыхода", false},
    };
    char* text = nullptr;
    std::size_t size = 0;
    std::FILE* out = ::open_memstream(&text, &size);
    ASSERT_TRUE(PrintDevices(devices, out));
    std::fclose(out);
    EXPECT_EQ(std::string(text, size), "sink\\x09one\tDesc\\x1B]0;title\\x07\t(default)\n"
                                       "sink.\\xFF\tДва\\x0Aвыхода\n");
    std::free(text);
}

// Each step is said once, in order, only when its first frame has been
// heard; a position that goes back says nothing again. Descending steps
// follow the law from F1 down to F2.
TEST(CommandLineTest, SaysEachStepOnceWhenItIsHeard) {
    const StepSchedule schedule = BuildStepSchedule({2000, 1000, 3, false, 10, true}, 48000);
    ASSERT_EQ(schedule.steps.size(), 5u);
    char* text = nullptr;
    std::size_t size = 0;
    std::FILE* out = ::open_memstream(&text, &size);
    StepAnnouncer announcer(schedule, out);
    const auto said = [&] {
        std::fflush(out);
        return std::string(text, size);
    };
    ASSERT_TRUE(announcer.Heard(0));
    EXPECT_EQ(said(), "");
    ASSERT_TRUE(announcer.Heard(1));
    EXPECT_EQ(said(), "orbel: step 1 of 5: 2000.000000 Hz\n");
    ASSERT_TRUE(announcer.Heard(schedule.steps[2].startFrame)); // step 3 not heard yet
    ASSERT_TRUE(announcer.Heard(schedule.steps[1].startFrame)); // an earlier position
    EXPECT_EQ(said(), "orbel: step 1 of 5: 2000.000000 Hz\n"
                      "orbel: step 2 of 5: 1414.213562 Hz\n");
    EXPECT_FALSE(announcer.Over(schedule.endFrame - 1));
    ASSERT_TRUE(announcer.Heard(schedule.endFrame));
    EXPECT_TRUE(announcer.Over(schedule.endFrame));
    EXPECT_EQ(announcer.StepsSaid(), 5u);
    EXPECT_TRUE(said().ends_with("orbel: step 3 of 5: 1000.000000 Hz\n"
                                 "orbel: step 4 of 5: 1414.213562 Hz\n"
                                 "orbel: step 5 of 5: 2000.000000 Hz\n"));
    std::fclose(out);
    std::free(text);
}

namespace {

// The parser with presets from memory: "tone", "sweep", "left" and one
// with a right level of its own (mono).
CommandLine ParseWithPresets(const std::string& args) {
    QStringList list{"orbel"};
    for (const std::string& a : Split(args))
        list << QString::fromStdString(a);
    CommandLineParser parser;
    parser.SetPresetSource([](const std::string& name) -> PresetLookup {
        instrument::Preset p;
        p.name = name;
        if (name == "tone") {
            p.frequency = MilliHertz{997123};
            p.level = WrittenLevel{-6, LevelUnit::DbFs};
            p.channels = instrument::PresetChannels::Both;
            p.bits = TTGResolution::tg24Bit;
            p.device = "usb";
        } else if (name == "sweep") {
            p.frequency = MilliHertz::FromHertz(500); // the dials' under the sweep
            p.sweep = std::pair{20, 20000};
            p.durationMs = 2000;
            p.fadeMs = 50;
        } else if (name == "left") {
            p.frequency = MilliHertz::FromHertz(440);
            p.channels = instrument::PresetChannels::Left;
            p.volume = std::pair{80, 30};
        } else if (name == "own-right") {
            p.level = WrittenLevel{-6, LevelUnit::DbFs};
            p.rightLevel = WrittenLevel{-12, LevelUnit::DbFs};
        } else {
            return {std::nullopt, "no preset named " + name};
        }
        return {p, {}};
    });
    return parser.Parse(list);
}

} // namespace

TEST(CommandLinePresets, StartFromThePresetAndLetOptionsReplaceItsSettings) {
    const CommandLine tone = ParseWithPresets("export f.wav --preset tone");
    ASSERT_EQ(tone.action, CommandLine::Action::Export) << tone.error;
    ASSERT_TRUE(tone.streamed);
    EXPECT_EQ(tone.streamed->tone.frequency, MilliHertz{997123});
    EXPECT_TRUE(tone.streamed->format.stereo);
    EXPECT_EQ(tone.tone.resolution, TTGResolution::tg24Bit);
    EXPECT_DOUBLE_EQ(tone.tone.levelDb, -6);
    EXPECT_EQ(tone.device, "usb");
    EXPECT_TRUE(tone.deviceFromPreset);

    const CommandLine replaced =
        ParseWithPresets("export f.wav --preset tone --frequency 1000 --level -1 --device hdmi");
    ASSERT_EQ(replaced.action, CommandLine::Action::Export) << replaced.error;
    EXPECT_FALSE(replaced.streamed);
    EXPECT_EQ(replaced.tone.frequency, 1000);
    EXPECT_DOUBLE_EQ(replaced.tone.levelDb, -1);
    EXPECT_FALSE(replaced.deviceFromPreset);

    // A frequency replaces a signal with frequencies of its own, and a
    // signal replaces the preset's frequency.
    const CommandLine tone1k = ParseWithPresets("export f.wav --preset sweep --frequency 1000");
    ASSERT_EQ(tone1k.action, CommandLine::Action::Export) << tone1k.error;
    EXPECT_EQ(tone1k.tone.signal.kind, SignalKind::Tone);
    const CommandLine sweep = ParseWithPresets("export f.wav --preset sweep");
    ASSERT_EQ(sweep.action, CommandLine::Action::Export) << sweep.error;
    EXPECT_EQ(sweep.tone.signal.kind, SignalKind::Sweep);
    const CommandLine burst = ParseWithPresets("export f.wav --preset sweep --burst 2:2");
    ASSERT_EQ(burst.action, CommandLine::Action::Export) << burst.error;
    EXPECT_EQ(burst.tone.frequency, 500);
    const CommandLine pink = ParseWithPresets("play --preset tone --waveform pink");
    ASSERT_EQ(pink.action, CommandLine::Action::Play) << pink.error;
    EXPECT_EQ(pink.tone.signal.kind, SignalKind::PinkNoise);

    const CommandLine left = ParseWithPresets("play --preset left");
    ASSERT_EQ(left.action, CommandLine::Action::Play) << left.error;
    EXPECT_TRUE(left.tone.stereo);
    EXPECT_EQ(left.tone.leftVolume, 80);
    EXPECT_EQ(left.tone.rightVolume, 0);
}

TEST(CommandLinePresets, RefuseWhatCannotBeKeptOrPlayed) {
    const std::pair<const char*, const char*> rows[] = {
        {"play --preset gone", "no preset named gone"},
        {"play --preset own-right", "--right-level needs --stereo"},
        {"devices --preset tone", "--preset is for export, play and presets save"},
        {"presets save n --note A4", "--note is not kept in a preset"},
        {"presets save n --frequency 50000", "--frequency"},
        {"presets save n --waveform multitone", "--tones"},
        {"presets delete", "presets takes no more"},
        {"presets --frequency 1000", "--frequency is for presets save"},
    };
    for (const auto& [args, reason] : rows) {
        const CommandLine line = ParseWithPresets(args);
        EXPECT_EQ(line.action, CommandLine::Action::Refused) << args;
        EXPECT_NE(line.error.find(reason), std::string::npos) << args << ": " << line.error;
    }
    EXPECT_EQ(ParseWithPresets(std::string("presets save ") + std::string(81, 'n')).action,
              CommandLine::Action::Refused);
}

TEST(CommandLinePresets, SaveKeepsTheOptionsAsWritten) {
    const CommandLine line = ParseWithPresets(
        "presets save Ref --preset tone --level 0dBu --stereo --phase 90.5 --rate 44100 --dither");
    ASSERT_EQ(line.action, CommandLine::Action::PresetSave) << line.error;
    const instrument::Preset& p = *line.preset;
    EXPECT_EQ(p.name, "Ref");
    EXPECT_EQ(p.frequency, MilliHertz{997123}); // from the preset
    EXPECT_EQ(p.level, (WrittenLevel{0, LevelUnit::DbU}));
    EXPECT_EQ(p.phaseTenths, 905);
    EXPECT_EQ(p.rate, 44100);
    EXPECT_TRUE(p.dither);
    EXPECT_EQ(p.device, "usb");
    EXPECT_EQ(p.channels, instrument::PresetChannels::Both);
}
