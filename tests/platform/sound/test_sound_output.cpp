// The sound output's own parts: reading wave images, rendering them as
// levelled stereo, and falling back to silence without a sound server.

#include "engine/SilentSoundOutput.h"
#include "engine/WaveHeader.h"
#include "platform/sound/SystemSoundOutput.h"
#include "platform/sound/WaveImageView.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> MakeImage(const WaveFormat& f, const std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> img(WaveImageSize(std::uint32_t(data.size())), f.ZeroLevelByte());
    WriteWaveHeader(img.data(), f, std::uint32_t(data.size()));
    std::memcpy(img.data() + 44, data.data(), data.size());
    return img;
}

std::vector<std::uint8_t> Samples16(const std::vector<std::int16_t>& v) {
    std::vector<std::uint8_t> out;
    for (std::int16_t s : v) {
        out.push_back(std::uint8_t(s));
        out.push_back(std::uint8_t(std::uint16_t(s) >> 8));
    }
    return out;
}

TEST(WaveImageViewTest, ReadsEveryFormatOfTheGenerator) {
    for (bool stereo : {false, true})
        for (bool sixteen : {false, true})
            for (bool hiQ : {false, true}) {
                const WaveFormat f{stereo, sixteen, hiQ};
                const auto img = MakeImage(f, std::vector<std::uint8_t>(f.DataLength(10), 1));
                const auto view = ParseWaveImage(img);
                ASSERT_TRUE(view.has_value());
                EXPECT_EQ(view->channels, f.Channels());
                EXPECT_EQ(view->bitsPerSample, f.BitsPerSample());
                EXPECT_EQ(view->samplesPerSecond, f.SamplesPerSecond());
                EXPECT_EQ(view->data.data(), img.data() + 44);
                EXPECT_EQ(view->data.size(), f.DataLength(10));
            }
}

TEST(WaveImageViewTest, RefusesWhatIsNotAPlayableWave) {
    const WaveFormat f{};
    const auto good = MakeImage(f, Samples16({1, 2, 3}));
    struct Case {
        std::string name;
        std::size_t offset;
        std::vector<std::uint8_t> bytes;
    };
    const Case cases[] = {
        {"not RIFF", 0, {'R', 'I', 'F', 'X'}},
        {"not WAVE", 8, {'A', 'V', 'I', ' '}},
        {"not PCM", 20, {3, 0}},
        {"three channels", 22, {3, 0}},
        {"24 bits", 34, {24, 0}},
        {"no rate", 24, {0, 0, 0, 0}},
        {"format chunk larger than the image", 16, {0xFF, 0xFF, 0, 0}},
    };
    for (const auto& c : cases) {
        auto img = good;
        std::memcpy(img.data() + c.offset, c.bytes.data(), c.bytes.size());
        EXPECT_FALSE(ParseWaveImage(img).has_value()) << c.name;
    }
    EXPECT_FALSE(ParseWaveImage(std::span(good).first(30)).has_value());
    // A data chunk claiming more than there is plays what is there.
    auto longer = good;
    longer[40] = 0xFF;
    const auto view = ParseWaveImage(longer);
    ASSERT_TRUE(view.has_value());
    EXPECT_EQ(view->data.size(), longer.size() - 44);
}

TEST(WaveImageViewTest, RendersMonoToBothChannelsWithTheLevelWord) {
    const auto img = MakeImage(WaveFormat{}, Samples16({32767, -32767, 1000, 0}));
    const auto view = *ParseWaveImage(img);
    struct Case {
        std::uint32_t level;
        std::vector<std::int16_t> expected; // L, R per frame
    };
    const Case cases[] = {
        {0xFFFFFFFF, {32767, 32767, -32767, -32767, 1000, 1000, 0, 0}},
        {0x7FFF0000, {0, 16383, 0, -16383, 0, 500, 0, 0}},
        {0xFFFF7FFF, {16383, 32767, -16383, -32767, 500, 1000, 0, 0}},
        {0x00000000, {0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        std::vector<std::int16_t> out(8, 99);
        std::size_t pos = 0;
        EXPECT_EQ(RenderStereo(view, pos, false, c.level, out.data(), 4), 4u);
        EXPECT_EQ(out, c.expected) << std::hex << c.level;
    }
}

TEST(WaveImageViewTest, LoopsWithoutAGapAndStopsAtTheEndOtherwise) {
    const auto img = MakeImage(WaveFormat{}, Samples16({1, 2, 3}));
    const auto view = *ParseWaveImage(img);
    std::vector<std::int16_t> out(16, 0);
    std::size_t pos = 1;
    EXPECT_EQ(RenderStereo(view, pos, true, kFullLevel, out.data(), 7), 7u);
    EXPECT_EQ(out, (std::vector<std::int16_t>{2, 2, 3, 3, 1, 1, 2, 2, 3, 3, 1, 1, 2, 2, 0, 0}));
    pos = 1;
    EXPECT_EQ(RenderStereo(view, pos, false, kFullLevel, out.data(), 7), 2u);
    EXPECT_EQ(pos, 3u);
    EXPECT_EQ(RenderStereo(view, pos, false, kFullLevel, out.data(), 7), 0u);
}

TEST(WaveImageViewTest, EightBitAndStereoImages) {
    const auto img8 = MakeImage(WaveFormat{true, false, true}, {0x80, 0xFF, 0x00, 0x81});
    const auto v8 = *ParseWaveImage(img8);
    std::vector<std::int16_t> out(4);
    std::size_t pos = 0;
    ASSERT_EQ(RenderStereo(v8, pos, false, kFullLevel, out.data(), 2), 2u);
    EXPECT_EQ(out, (std::vector<std::int16_t>{0, 127 * 256, -128 * 256, 256}));
    // A 16-bit mono image of odd length drops its half frame.
    auto odd = MakeImage(WaveFormat{}, {1, 0, 2});
    EXPECT_EQ(ParseWaveImage(odd)->Frames(), 1u);
}

TEST(SoundOutputFactoryTest, NoServerMeansSilenceWithoutAWord) {
    // Point the client at a socket where nothing listens.
    const char* old = std::getenv("PULSE_SERVER");
    const std::string saved = old ? old : "";
    setenv("PULSE_SERVER", "unix:/nonexistent/orbel-test/native", 1);
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    const std::unique_ptr<SoundOutput> out = CreateSoundOutput();
    const std::string err = testing::internal::GetCapturedStderr();
    const std::string printed = testing::internal::GetCapturedStdout();
    if (old)
        setenv("PULSE_SERVER", saved.c_str(), 1);
    else
        unsetenv("PULSE_SERVER");
    ASSERT_NE(out, nullptr);
    EXPECT_NE(dynamic_cast<SilentSoundOutput*>(out.get()), nullptr);
    EXPECT_EQ(err, "");
    EXPECT_EQ(printed, "");
    // It behaves as a device that plays nothing.
    const auto img = MakeImage(WaveFormat{}, Samples16({1, 2}));
    out->Play(img, 4); // synchronous: returns at once
    out->Stop();
    out->SetLevel(0, 0x7FFF0000);
    ASSERT_TRUE(out->ReadLevel(0).has_value());
    EXPECT_EQ(out->ReadLevel(0)->level, 0x7FFF0000u);
}

} // namespace
