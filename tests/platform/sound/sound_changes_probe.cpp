// SPDX-License-Identifier: GPL-3.0-or-later
// Plays, through the real sound output, what tests/system/sound-changes-check.sh
// checks, and records the null sink's monitor itself so that every call can
// be placed on the recording's time line:
//   1. a 1000 Hz loop at half level, then 20 changes 100 ms apart, as the
//      panel makes them (a new frequency or level, then Play again), and 5
//      waveform changes 150 ms apart;
//   2. Stop and Start again (the fades at the edges);
//   3. the server stopped for a second and started again while looping;
//   4. a new output created while no server answers, Start, then a server.
// Writes DIR/out.raw (16-bit stereo, 96000/s), DIR/clock.txt ("frames
// seconds": when the last recorded frame was played) and DIR/events.txt
// ("seconds name args"). Needs SOUND_SERVER_DIR (tests/system/sound-server.sh).
//
// With --steady DIR SECONDS it records DIR/out.raw and DIR/events.txt
// around SECONDS of a steady 1000 Hz tone at half level, for
// tests/system/sound-steady-check.sh.
//
// With --fine-low DIR it plays a 1.001 Hz sawtooth at 96000/s and retunes
// it by a millihertz up and down, the level with each change (the
// frequency alone cannot be told apart in a few milliseconds), for
// tests/system/sound-changes-check.sh --fine-low.
//
// With --loop looped|streamed SECONDS it only plays a stereo float sine at
// 96000/s for that long, looped (1000 Hz, the precise image) or streamed
// (997.123 Hz, which no loop holds), and prints the processor time it took
// ("cpu SECONDS WALL"), for tools/bench-sound.sh.

#include "core/ChannelCalibration.h"
#include "engine/StreamedTone.h"
#include "engine/ToneGen.h"
#include "instrument/Instrument.h"
#include "platform/sound/PulseSoundOutput.h"

#include <pulse/error.h>
#include <pulse/simple.h>
#include <sys/resource.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;
const Clock::time_point kEpoch = Clock::now();
constexpr int kRate = 96000;

double Now() {
    return std::chrono::duration<double>(Clock::now() - kEpoch).count();
}
void Sleep(double seconds) {
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

pa_sample_spec StreamFormat() {
    return pa_sample_spec{PA_SAMPLE_S16LE, kRate, 2};
}

// Connects a simple stream, retrying every 50 ms until `stop`.
pa_simple* Open(pa_stream_direction_t dir, const char* device, std::uint32_t ms,
                const std::atomic<bool>& stop) {
    const pa_sample_spec sampleFormat = StreamFormat();
    pa_buffer_attr attr;
    attr.maxlength = static_cast<std::uint32_t>(-1);
    attr.tlength = attr.fragsize =
        static_cast<std::uint32_t>(pa_usec_to_bytes(ms * 1000, &sampleFormat));
    attr.prebuf = attr.minreq = static_cast<std::uint32_t>(-1);
    while (!stop) {
        int error = 0;
        if (pa_simple* s = pa_simple_new(nullptr, "orbel-probe", dir, device, "probe",
                                         &sampleFormat, nullptr, &attr, &error))
            return s;
        Sleep(0.05);
    }
    return nullptr;
}

class Events {
public:
    explicit Events(const std::string& path) : file_(path) {}
    void Note(const std::string& line) {
        std::lock_guard lock(mutex_);
        file_ << Now() << ' ' << line << std::endl;
        std::printf("%7.3f s  %s\n", Now(), line.c_str());
    }

private:
    std::mutex mutex_;
    std::ofstream file_;
};

// The kind of server tests/system/sound-server.sh started.
bool OnPipeWire() {
    const char* dir = std::getenv("SOUND_SERVER_DIR");
    std::ifstream kind(std::string(dir ? dir : ".") + "/kind");
    std::string name;
    kind >> name;
    return name == "pipewire";
}

// How the bench listens, so that it measures the output and not itself.
// On PipeWire the shortest latency any client asks for sets the cycle of
// the whole graph. At 5 ms cycles this machine's server drops out for every
// client alike (its own player too), and a short cycle would hide what the
// output meets on a desktop, where its own stream sets the cycle. There the
// bench has no keeper (PipeWire's null sink runs on its own timer) and its
// recorder asks for more than the output (60 ms). On PulseAudio the keeper
// is needed, and the recorder asks for 5 ms to place the changes to the
// millisecond. A steady run only looks for gaps: 100 ms.
struct BenchSetup {
    bool keeper = true;
    std::uint32_t recordMs = 5;

    static BenchSetup ForChanges() { return OnPipeWire() ? BenchSetup{false, 60} : BenchSetup{}; }
    static BenchSetup ForSteadyPlay() { return BenchSetup{!OnPipeWire(), 100}; }
};

// A stream of silence at low latency keeps a PulseAudio null sink running in
// real time (without one it renders far ahead of the clock; PipeWire's runs
// on its own timer); the recorder reads its monitor. Both come back by
// themselves after the server restarts.
class Bench {
public:
    // Notes "server-answers" each time the keeper's stream (or, without a
    // keeper, the recorder's) is set up on the null sink.
    Bench(const std::string& dir, Events& events, BenchSetup setup)
        : events_(events), setup_(setup), raw_(dir + "/out.raw", std::ios::binary),
          clock_(dir + "/clock.txt") {
        if (setup_.keeper)
            keeper_ = std::thread([this] { Keep(); });
        recorder_ = std::thread([this] { Record(); });
    }
    ~Bench() {
        stop_ = true;
        if (keeper_.joinable())
            keeper_.join();
        recorder_.join();
    }
    std::uint64_t Frames() const { return frames_; }

private:
    void Keep() {
        std::vector<std::uint8_t> zeros(4 * 480, 0);
        while (!stop_) {
            pa_simple* s = Open(PA_STREAM_PLAYBACK, "nullsink", 10, stop_);
            if (s)
                events_.Note("server-answers");
            int error = 0;
            while (s && !stop_ && pa_simple_write(s, zeros.data(), zeros.size(), &error) == 0) {
            }
            if (s)
                pa_simple_free(s);
        }
    }
    void Record() {
        std::vector<std::uint8_t> buffer(4 * 240);
        while (!stop_) {
            pa_simple* s = Open(PA_STREAM_RECORD, "nullsink.monitor", setup_.recordMs, stop_);
            if (s && !setup_.keeper)
                events_.Note("server-answers");
            int error = 0;
            while (s && !stop_ && pa_simple_read(s, buffer.data(), buffer.size(), &error) == 0) {
                const double at = Now();
                const pa_usec_t latency = pa_simple_get_latency(s, &error);
                raw_.write(reinterpret_cast<const char*>(buffer.data()), buffer.size());
                frames_ += buffer.size() / 4;
                clock_ << frames_ << ' ' << at - latency / 1e6 << '\n';
            }
            if (s)
                pa_simple_free(s);
        }
    }

    Events& events_;
    const BenchSetup setup_;
    std::ofstream raw_, clock_;
    std::atomic<bool> stop_{false};
    std::atomic<std::uint64_t> frames_{0};
    std::thread keeper_, recorder_;
};

void Server(const char* what) {
    const std::string command = std::string(std::getenv("ORBEL_SYSTEM_TESTS")) +
                                "/sound-server.sh " + what + " " + std::getenv("SOUND_SERVER_DIR");
    if (std::system(command.c_str()) != 0)
        std::fprintf(stderr, "'%s' failed\n", command.c_str());
}

// Waits up to `seconds` for `done`, polling.
template <typename Done> double WaitFor(Done done, double seconds) {
    const double start = Now();
    while (!done() && Now() - start < seconds)
        Sleep(0.005);
    return Now() - start;
}
} // namespace

void PrintQueue(const PulseSoundOutput& pulse) {
    std::printf("stream underflows: %llu (queue now %d ms asked, %d ms in the server's buffer)\n",
                static_cast<unsigned long long>(pulse.UnderflowCount()), pulse.QueueMs(),
                pulse.ServerBufferMs());
}

double CpuSeconds() {
    rusage use{};
    getrusage(RUSAGE_SELF, &use);
    return double(use.ru_utime.tv_sec + use.ru_stime.tv_sec) +
           double(use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1e6;
}

// Plays a tone and measures the processor time the output costs, after the
// image was built (or the source made) and the stream set up.
int LoopOnly(const std::string& kind, double seconds) {
    std::shared_ptr<PulseSoundOutput> pulse = PulseSoundOutput::Connect();
    if (!pulse)
        return 2;
    TToneGen gen(nullptr, pulse);
    StreamedToneSettings settings;
    settings.frequency = {997123};
    StreamedTone streamed(settings, WaveFormat{true, true, true, WideSamples::Float32});
    if (kind == "streamed") {
        pulse->PlayStream(streamed);
    } else {
        gen.SetPrecise(true);
        gen.SetResolution(TTGResolution::tgFloat);
        gen.SetStereo(true);
        gen.SetLoop(true);
        gen.SetFrequency(1000);
        gen.Play();
    }
    Sleep(1.0);
    const double cpu = CpuSeconds(), wall = Now();
    Sleep(seconds);
    std::printf("cpu %.4f %.4f\n", CpuSeconds() - cpu, Now() - wall);
    PrintQueue(*pulse);
    // Nothing reads the streamed source once this returns.
    pulse->Stop();
    return 0;
}

// Records a steady tone: gaps and dips come from the stream alone.
int SteadyOnly(const std::string& dir, double seconds) {
    Events events(dir + "/events.txt");
    Bench bench(dir, events, BenchSetup::ForSteadyPlay());
    WaitFor([&] { return bench.Frames() > kRate / 2; }, 10);
    Sleep(1.0);
    std::shared_ptr<PulseSoundOutput> pulse = PulseSoundOutput::Connect();
    if (!pulse)
        return 2;
    TToneGen gen(nullptr, pulse);
    gen.SetLoop(true);
    gen.SetFrequency(1000);
    gen.SetLeftVolume(50);
    gen.SetRightVolume(50);
    events.Note("start 1000 50 50");
    gen.Play();
    // Each underrun the output counts is noted when it is seen.
    std::uint64_t underruns = 0;
    const double end = Now() + seconds;
    while (Now() < end) {
        Sleep(0.01);
        if (pulse->UnderflowCount() != underruns) {
            underruns = pulse->UnderflowCount();
            events.Note("underrun " + std::to_string(underruns));
        }
    }
    events.Note("stop");
    gen.Stop();
    Sleep(0.3);
    PrintQueue(*pulse);
    std::printf("feeding thread: %s\n", FeedThreadPriorityName(pulse->FeedPriority()));
    return 0;
}

// Records while `play` drives an instrument over a precise looped
// generator (at 1000 Hz until told otherwise, `setup` done first) on the
// real output; then, half a second on, stops it and prints the queue.
int ThroughInstrument(const std::string& dir, const std::function<void(TToneGen&)>& setup,
                      const std::function<void(instrument::Instrument&, Events&)>& play) {
    Events events(dir + "/events.txt");
    Bench bench(dir, events, BenchSetup::ForChanges());
    WaitFor([&] { return bench.Frames() > kRate / 2; }, 10);
    Sleep(1.0);
    std::shared_ptr<PulseSoundOutput> pulse = PulseSoundOutput::Connect();
    if (!pulse)
        return 2;
    TToneGen gen(nullptr, pulse);
    gen.SetLoop(true);
    gen.SetPrecise(true);
    gen.SetFrequency(1000);
    setup(gen);
    instrument::Instrument instrument(gen);
    play(instrument, events);
    Sleep(0.5);
    events.Note("stop");
    instrument.Stop();
    Sleep(0.3);
    PrintQueue(*pulse);
    return 0;
}

// Plays a streamed tone through the instrument, at half level, and changes
// it between frequencies of the fine grid (the stream is retuned while it
// plays), 500 ms apart; last, each channel to its own exact level (the
// right one calibrated at twice the left one's volts: half its samples).
int FineChanges(const std::string& dir) {
    return ThroughInstrument(
        dir,
        [](TToneGen& gen) {
            gen.SetLeftVolume(50);
            gen.SetRightVolume(50);
        },
        [](instrument::Instrument& instrument, Events& events) {
            // PipeWire runs its graph at 48000/s here and resamples the
            // output: its resampler takes the top of the band, so there the
            // highest tone is lower.
            const double top = OnPipeWire() ? 15999.999 : 19999.999;
            const double grid[] = {997.123, 1000.001, 12.5,    top,     997.123, 1250.5,
                                   812.25,  1499.999, 1100.75, 900.001, 1200.125};
            instrument.SetExactFrequency({std::llround(grid[0] * 1000)});
            events.Note("start " + std::to_string(grid[0]) + " 50 50");
            instrument.Start();
            for (std::size_t k = 1; k < std::size(grid); ++k) {
                Sleep(0.5);
                events.Note("change " + std::to_string(grid[k]) + " 50 50");
                instrument.SetExactFrequency({std::llround(grid[k] * 1000)});
            }
            OutputCalibration calibration;
            calibration.left = ChannelCalibration{1.0, "2026-12-09T00:00:00Z", 65536};
            calibration.right = ChannelCalibration{2.0, "2026-12-09T00:00:00Z", 65536};
            instrument.UseCalibration(calibration);
            Sleep(0.5);
            events.Note("change " + std::to_string(grid[std::size(grid) - 1]) + " 50 25");
            instrument.SetExactLevel({0.5, LevelUnit::Volts});
        });
}

// A sawtooth at 1.001 Hz, whose exact tables take the longest to build,
// retuned to 1.002 Hz and back, each change with a new level (-6 or -12
// dBFS), a second apart and a quarter cycle from the jump, where the ramp
// is far from zero.
int FineLowChanges(const std::string& dir) {
    return ThroughInstrument(
        dir, [](TToneGen& gen) { gen.SetQuality(TTGQuality::tgHiQ); },
        [](instrument::Instrument& instrument, Events& events) {
            instrument.SelectWaveform(TTGWave::tgSawtooth);
            instrument.SetExactLevel({-6, LevelUnit::DbFs});
            instrument.SetExactFrequency({1001});
            events.Note("start 1.001");
            instrument.Start();
            Sleep(0.25);
            for (int k = 0; k < 8; ++k) {
                Sleep(1.0);
                const std::int64_t milliHertz = k % 2 ? 1001 : 1002;
                const double dbfs = k % 2 ? -6 : -12;
                events.Note("change " + std::to_string(double(milliHertz) / 1000) + " " +
                            std::to_string(dbfs));
                instrument.SetExactFrequency({milliHertz});
                instrument.SetExactLevel({dbfs, LevelUnit::DbFs});
                events.Note("called");
            }
        });
}

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--fine")
        return FineChanges(argv[2]);
    if (argc == 3 && std::string(argv[1]) == "--fine-low")
        return FineLowChanges(argv[2]);
    if (argc == 4 && std::string(argv[1]) == "--loop")
        return LoopOnly(argv[2], std::atof(argv[3]));
    if (argc == 4 && std::string(argv[1]) == "--steady")
        return SteadyOnly(argv[2], std::atof(argv[3]));
    if (argc != 2 || !std::getenv("SOUND_SERVER_DIR") || !std::getenv("ORBEL_SYSTEM_TESTS")) {
        std::fprintf(stderr, "usage: ORBEL_SYSTEM_TESTS=... SOUND_SERVER_DIR=... %s DIR\n",
                     argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    Events events(dir + "/events.txt");
    int status = 0;
    {
        Bench bench(dir, events, BenchSetup::ForChanges());
        // A null sink renders ahead of the clock until the keeper's stream
        // runs: give it time to settle.
        WaitFor([&] { return bench.Frames() > kRate / 2; }, 10);
        Sleep(1.0);
        std::shared_ptr<PulseSoundOutput> pulse = PulseSoundOutput::Connect();
        if (!pulse) {
            std::fprintf(stderr, "no sound server answered\n");
            return 2;
        }
        // When the output's sound is lost and back, from its own thread.
        auto note = [&](SoundLossChange c) { events.Note(c.lost ? "lost" : "back"); };
        pulse->WatchSoundLost(note);
        TToneGen gen(nullptr, pulse);
        gen.SetLoop(true);
        gen.SetFrequency(1000);
        gen.SetLeftVolume(50);
        gen.SetRightVolume(50);
        events.Note("start 1000 50 50");
        gen.Play();
        Sleep(0.5);

        // Frequencies of the panel's dials, and level changes as the
        // amplitude dial and the channel switch make them.
        struct Change {
            int hz, left, right;
        };
        const Change changes[] = {
            {1100, 50, 50}, {1000, 50, 50}, {1010, 50, 50}, {1020, 50, 50}, {2000, 50, 50},
            {1900, 50, 50}, {1000, 50, 50}, {1000, 60, 60}, {1000, 70, 70}, {1000, 50, 50},
            {1000, 50, 0},  {1000, 50, 50}, {1000, 0, 50},  {1500, 50, 50}, {1400, 50, 50},
            {1300, 50, 50}, {1200, 50, 50}, {1100, 50, 50}, {1110, 50, 50}, {1000, 50, 50},
        };
        for (const Change& c : changes) {
            gen.SetFrequency(std::int16_t(c.hz));
            gen.SetLeftVolume(std::int16_t(c.left));
            gen.SetRightVolume(std::int16_t(c.right));
            events.Note("change " + std::to_string(c.hz) + ' ' + std::to_string(c.left) + ' ' +
                        std::to_string(c.right));
            gen.Play();
            Sleep(0.1);
        }
        // Waveform changes at 1000 Hz, as the waveform switch makes them.
        const std::pair<TTGWave, const char*> waveforms[] = {
            {TTGWave::tgSquare, "square"},     {TTGWave::tgTriangle, "triangle"},
            {TTGWave::tgSawtooth, "sawtooth"}, {TTGWave::tgSquare, "square"},
            {TTGWave::tgSine, "sine"},
        };
        for (const auto& [wave, name] : waveforms) {
            gen.SetWaveform(wave);
            events.Note(std::string("waveform ") + name);
            gen.Play();
            Sleep(0.15);
        }
        Sleep(0.3);
        events.Note("stop");
        gen.Stop();
        Sleep(0.4);
        events.Note("start 1000 50 50");
        gen.Play();
        Sleep(0.6);

        events.Note("server-down");
        Server("down");
        WaitFor([&] { return pulse->SoundLost(); }, 3);
        if (!pulse->SoundLost())
            status = 1;
        Sleep(1.0);
        Server("up");
        WaitFor([&] { return !pulse->SoundLost(); }, 5);
        Sleep(1.5);
        gen.Stop();
        Sleep(0.3);

        // No server when the output is made; the server comes later.
        Server("down");
        events.Note("server-down");
        {
            std::shared_ptr<PulseSoundOutput> late = PulseSoundOutput::Start();
            late->WatchSoundLost(note);
            TToneGen gen2(nullptr, late);
            gen2.SetLoop(true);
            gen2.SetFrequency(1500);
            gen2.SetLeftVolume(50);
            gen2.SetRightVolume(0);
            events.Note("start 1500 50 0");
            gen2.Play();
            WaitFor([&] { return late->SoundLost(); }, 3);
            if (!late->SoundLost())
                status = 1;
            Sleep(1.2);
            Server("up");
            WaitFor([&] { return !late->SoundLost(); }, 5);
            Sleep(1.5);
            gen2.Stop();
            Sleep(0.2);
            late->WatchSoundLost(nullptr);
        }
        pulse->WatchSoundLost(nullptr);
        PrintQueue(*pulse);
    }
    return status;
}
