// SPDX-License-Identifier: GPL-3.0-or-later
// Multitones: where the tones go, the list file, centring on transform bins,
// the crest factor of the chosen phases against Schroeder's and random ones,
// and the exported signal's level and purity measured by a transform.

#include "SignalAnalysis.h"
#include "engine/WaveHeader.h"
#include "engine/multitone/BinCentring.h"
#include "engine/multitone/CrestPhases.h"
#include "engine/multitone/Multitone.h"
#include "engine/multitone/MultitonePeriod.h"
#include "engine/multitone/MultitoneSource.h"
#include "engine/multitone/ToneListReader.h"
#include "engine/multitone/TonePlacement.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <numbers>
#include <random>
#include <string>

namespace {

// --- placement ---------------------------------------------------------------

struct PlacementRow {
    bool perOctave;
    double f1, f2;
    int n;
    std::size_t count;
    double last;
};

TEST(TonePlacement, PerOctaveOnBaseTenOctavesAndEvenlyWithBothEnds) {
    const PlacementRow rows[] = {
        {true, 20, 20000, 3, 31, 20000},  {true, 1000, 8000, 1, 4, 1000 * std::pow(10.0, 0.9)},
        {true, 100, 100, 12, 1, 100},     {true, 1000, 1990, 1, 1, 1000},
        {false, 100, 1000, 10, 10, 1000}, {false, 440, 440, 1, 1, 440},
        {true, 0, 1000, 3, 0, 0},         {true, 2000, 1000, 3, 0, 0},
        {false, 100, 1000, 0, 0, 0},
    };
    for (const PlacementRow& r : rows) {
        SCOPED_TRACE(std::to_string(r.f1) + ".." + std::to_string(r.f2) + " n " +
                     std::to_string(r.n));
        const std::vector<MultitoneTone> tones =
            r.perOctave ? TonesPerOctave(r.f1, r.f2, r.n) : EvenlySpacedTones(r.f1, r.f2, r.n);
        ASSERT_EQ(tones.size(), r.count);
        if (tones.empty())
            continue;
        EXPECT_DOUBLE_EQ(tones.front().hertz, r.f1);
        EXPECT_NEAR(tones.back().hertz, r.last, 1e-9 * r.last);
        for (std::size_t k = 1; k < tones.size(); ++k) {
            const double ratio = tones[k].hertz / tones[k - 1].hertz;
            const double gap = tones[k].hertz - tones[k - 1].hertz;
            if (r.perOctave)
                EXPECT_NEAR(ratio, std::pow(10.0, 0.3 / r.n), 1e-12);
            else
                EXPECT_NEAR(gap, (r.f2 - r.f1) / (r.n - 1), 1e-9);
        }
    }
}

// --- the list file -------------------------------------------------------------

struct ListRow {
    const char* text;
    std::size_t tones; // when read
    int badLine;       // when refused (0: the whole list)
};

TEST(ToneList, ReadsFrequencyLevelAndPhaseAndNamesTheBadLine) {
    const ListRow rows[] = {
        {"1000\n", 1, 0},
        {"# bench list\n100 -6 90\n\n1000\t0\t-90  # trailing comment\r\n10e3 -3\n", 3, 0},
        {"  50.5  ", 1, 0},
        {"\xEF\xBB\xBF"
         "100\n200\n",
         2, 0},
        {"100\n200\n1,5e3\n", 0, 3},
        {"100 -6 90 7\n", 0, 1},
        {"100\nabc\n", 0, 2},
        {"0\n", 0, 1},
        {"-100\n", 0, 1},
        {"1000001\n", 0, 1},
        {"100 inf\n", 0, 1},
        {"100 -201\n", 0, 1},
        {"100 0 nan\n", 0, 1},
        {"100 0 0x10\n", 0, 1},
        {"100 --3\n", 0, 1},
        {"1e999\n", 0, 1},
        {"# only a comment\n\n", 0, 0},
        {"", 0, 0},
    };
    for (const ListRow& r : rows) {
        SCOPED_TRACE(r.text);
        const ToneListReading reading = ReadToneList(r.text);
        EXPECT_EQ(reading.tones.size(), r.tones);
        EXPECT_EQ(reading.badLine, r.badLine);
        EXPECT_EQ(reading.reason.empty(), r.tones > 0);
    }
    EXPECT_EQ(ReadToneList("100\n997,5 -3\n").reason,
              "a decimal comma: write numbers with a point");
    const ToneListReading reading = ReadToneList("100 -6 450\n1000 0 -90\n10 0 -1e-20\n");
    ASSERT_EQ(reading.tones.size(), 3u);
    EXPECT_EQ(reading.tones[0].levelDb, -6);
    EXPECT_EQ(reading.tones[0].phaseDegrees, 90);
    EXPECT_EQ(reading.tones[1].phaseDegrees, 270);
    EXPECT_EQ(reading.tones[2].phaseDegrees, 0); // not 360
}

// --- bins ----------------------------------------------------------------------

TEST(BinCentring, MovesEachToneToTheNearestBinAndRefusesSharedBins) {
    const std::vector<MultitoneTone> tones = TonesPerOctave(20, 20000, 3);
    const BinCentring c = CentreOnBins(tones, 65536, 48000);
    ASSERT_EQ(c.refusal, BinRefusal::None);
    const double binHz = 48000.0 / 65536;
    for (std::size_t k = 0; k < tones.size(); ++k)
        EXPECT_LE(std::fabs(c.tones[k].bin * binHz - tones[k].hertz), binHz / 2);

    struct Row {
        std::vector<double> hertz;
        int length;
        BinRefusal refusal;
        double first, second;
    };
    const Row rows[] = {
        {{1000, 1000.1}, 65536, BinRefusal::SameBin, 1000, 1000.1},
        {{1000, 1000.5}, 65536, BinRefusal::None, 0, 0},
        {{100, 110}, 1024, BinRefusal::SameBin, 100, 110},
        {{0.3}, 65536, BinRefusal::OutOfRange, 0.3, 0},
        {{23999.9}, 65536, BinRefusal::OutOfRange, 23999.9, 0},
        {{1000}, 1000, BinRefusal::BadLength, 0, 0},
        {{1000}, 1 << 21, BinRefusal::BadLength, 0, 0},
        {{1000}, 1 << 20, BinRefusal::None, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.hertz[0]) + " at " + std::to_string(r.length));
        std::vector<MultitoneTone> asked;
        for (const double f : r.hertz)
            asked.push_back({f, 0, std::nullopt});
        const BinCentring got = CentreOnBins(asked, r.length, 48000);
        EXPECT_EQ(got.refusal, r.refusal);
        EXPECT_EQ(got.firstHertz, r.first);
        EXPECT_EQ(got.secondHertz, r.second);
    }
}

// --- crest factor --------------------------------------------------------------

TEST(CrestPhases, ThirdOctavesBeatSchroederAndTheRandomMedian) {
    const BinCentring c = CentreOnBins(TonesPerOctave(20, 20000, 3), 65536, 48000);
    RealTransform transform(65536);
    const double lowered =
        SynthesizePeriod(c.tones, LowerCrestPhases(c.tones, transform), transform).CrestFactorDb();
    const double schroeder =
        SynthesizePeriod(c.tones, SchroederPhases(c.tones), transform).CrestFactorDb();
    std::mt19937 rng(2026);
    std::uniform_real_distribution<double> turn(0, 2 * std::numbers::pi);
    std::vector<double> random;
    for (int set = 0; set < 20; ++set) {
        std::vector<double> phases(c.tones.size());
        for (double& p : phases)
            p = turn(rng);
        random.push_back(SynthesizePeriod(c.tones, phases, transform).CrestFactorDb());
    }
    std::sort(random.begin(), random.end());
    const double median = (random[9] + random[10]) / 2;
    std::printf("crest factor, 31 third-octave tones: %.2f dB (Schroeder %.2f, random median "
                "%.2f)\n",
                lowered, schroeder, median);
    EXPECT_LE(lowered, 11.5);
    EXPECT_LT(lowered, schroeder);
    EXPECT_LT(lowered, median);
}

// --- the signal ------------------------------------------------------------------

WaveFormat FormatOf(WideSamples wide) {
    WaveFormat f;
    f.rate = 48000;
    f.wide = wide;
    return f;
}

// The first `frames` frames of a mono float or 24-bit file.
std::vector<double> ReadFrames(const std::string& path, const WaveFormat& f, std::size_t frames) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> file((std::istreambuf_iterator<char>(in)),
                                         std::istreambuf_iterator<char>());
    const std::uint8_t* p = file.data() + WaveHeaderSize(f);
    std::vector<double> x(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        if (f.IsFloat()) {
            float v;
            std::memcpy(&v, p + 4 * i, 4);
            x[i] = v;
        } else {
            const std::uint8_t* s = p + 3 * i;
            const std::int32_t v =
                std::int32_t(std::uint32_t(s[0] | s[1] << 8 | s[2] << 16) << 8) >> 8;
            x[i] = v / 8388607.0;
        }
    }
    return x;
}

TEST(Multitone, ExportedPeriodHoldsItsLevelAsRmsAndNothingBetweenTheBins) {
    MultitoneSettings settings;
    settings.tones = TonesPerOctave(20, 20000, 3);
    settings.levelDb = -12.5;
    const Multitone m = BuildMultitone(settings, 48000);
    ASSERT_FALSE(m.Refused());
    EXPECT_NEAR(m.largestLevelDb, 20 * std::log10(std::numbers::sqrt2) - m.crestFactorDb, 0.01);
    for (const WideSamples wide : {WideSamples::Float32, WideSamples::Pcm24}) {
        const WaveFormat format = FormatOf(wide);
        const std::string path = ::testing::TempDir() + "multitone.wav";
        ASSERT_EQ(ExportMultitone(m, format, 3000, path), 0);
        // The second period: the first one's frames again, to the bit.
        const std::vector<double> two = ReadFrames(path, format, 2 * 65536);
        std::remove(path.c_str());
        const std::vector<double> x(two.begin() + 65536, two.end());
        EXPECT_TRUE(std::equal(x.begin(), x.end(), two.begin()));
        const std::vector<double> e = BinEnergies(x);
        double total = 0, quietestTone = 1, loudestOther = 0;
        std::vector<bool> isTone(e.size());
        for (const BinnedTone& t : m.tones) {
            isTone[std::size_t(t.bin)] = true;
            quietestTone = std::min(quietestTone, e[std::size_t(t.bin)]);
        }
        for (std::size_t k = 0; k < e.size(); ++k) {
            total += e[k];
            if (!isTone[k])
                loudestOther = std::max(loudestOther, e[k]);
        }
        const double rmsDbfs = Db(total / x.size() / 0.5);
        const double leakage = Db(loudestOther / quietestTone);
        std::printf("%s: RMS error %+.1e dB, largest other bin %.1f dB below the tones\n",
                    wide == WideSamples::Float32 ? "float" : "24-bit", rmsDbfs - settings.levelDb,
                    -leakage);
        EXPECT_NEAR(rmsDbfs, settings.levelDb, 0.01);
        if (wide == WideSamples::Float32) {
            EXPECT_LE(leakage, -140);
        }
    }
}

TEST(Multitone, RefusesALevelThatClipsWithTheLargestThatFitsAndKeepsGivenPhases) {
    MultitoneSettings settings;
    settings.tones = (ReadToneList("100 0 30\n1000 -6 \n5000 -6 200\n")).tones;
    settings.fftLength = 4096;
    settings.levelDb = 0;
    const Multitone loud = BuildMultitone(settings, 48000);
    ASSERT_EQ(loud.refusal, MultitoneRefusal::Clips);
    settings.levelDb = loud.largestLevelDb;
    const Multitone fits = BuildMultitone(settings, 48000);
    ASSERT_FALSE(fits.Refused());
    const double peak =
        *std::max_element(fits.frames.begin(), fits.frames.end(),
                          [](double a, double b) { return std::fabs(a) < std::fabs(b); });
    EXPECT_LE(std::fabs(peak), 1.0);
    EXPECT_GT(std::fabs(peak), std::pow(10.0, -0.01 / 20));
    // Played in pieces that do not divide the period: the period again and
    // again.
    MultitoneSource source(fits, FormatOf(WideSamples::Float32));
    std::vector<float> played(3 * 4096 + 123);
    for (std::size_t done = 0; done < played.size(); done += 1000)
        source.Render(std::min<std::size_t>(1000, played.size() - done),
                      reinterpret_cast<std::uint8_t*>(played.data() + done));
    for (std::size_t i = 0; i < played.size(); ++i)
        ASSERT_EQ(played[i], static_cast<float>(fits.frames[i % 4096])) << i;
    EXPECT_NEAR(fits.phases[0], std::numbers::pi / 6, 1e-12);
    EXPECT_NEAR(fits.phases[2], 200 * std::numbers::pi / 180, 1e-12);
    settings.levelDb = loud.largestLevelDb + 0.01;
    EXPECT_EQ(BuildMultitone(settings, 48000).refusal, MultitoneRefusal::Clips);
    settings.tones.push_back({100.5, 0, std::nullopt});
    const Multitone shared = BuildMultitone(settings, 48000);
    EXPECT_EQ(shared.refusal, MultitoneRefusal::SameBin);
    EXPECT_EQ(shared.firstHertz, 100);
    EXPECT_EQ(shared.secondHertz, 100.5);
}

} // namespace
