// SPDX-License-Identifier: GPL-3.0-or-later
// The generator component: limits, flags, play modes, levels, the
// class-wide saved level, the AM properties and the stored form.

#include "ToneGenFixture.h"
#include "core/ByteStream.h"
#include "core/ClassRegistry.h"
#include "core/DesignMessage.h"
#include "core/Layout.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>

namespace {

using Setter = std::function<void(TToneGen&, std::int16_t)>;
using Getter = std::function<std::int16_t(const TToneGen&)>;

struct ClampCase {
    std::string name;
    Setter set;
    Getter get;
    std::int16_t input, stored;
};

TEST_F(ToneGenTest, LimitedSettersClampSilentlyAtRunTime) {
    std::vector<std::string> messages;
    auto hook = SetDesignMessageHook([&](const std::string& text, const std::string&, MessageIcon) {
        messages.push_back(text);
    });
    const ClampCase cases[] = {
        {"Frequency low", &TToneGen::SetFrequency, &TToneGen::Frequency, 19, 20},
        {"Frequency high", &TToneGen::SetFrequency, &TToneGen::Frequency, 25000, 20000},
        {"Frequency in range", &TToneGen::SetFrequency, &TToneGen::Frequency, 1234, 1234},
        {"Duration low", &TToneGen::SetDuration, &TToneGen::Duration, 5, 10},
        {"Duration negative", &TToneGen::SetDuration, &TToneGen::Duration, -3, 10},
        {"Attack high", &TToneGen::SetAttack, &TToneGen::Attack, 101, 100},
        {"Hold high", &TToneGen::SetHold, &TToneGen::Hold, 200, 100},
        {"Decay low", &TToneGen::SetDecay, &TToneGen::Decay, -5, 0},
        {"Sustain low", &TToneGen::SetSustain, &TToneGen::Sustain, -1, 0},
        {"Release high", &TToneGen::SetRelease, &TToneGen::Release, 32767, 100},
        {"LeftVolume high", &TToneGen::SetLeftVolume, &TToneGen::LeftVolume, 150, 100},
        {"RightVolume low", &TToneGen::SetRightVolume, &TToneGen::RightVolume, -1, 0},
        {"AMAmplitude high", &TToneGen::SetAMAmplitude, &TToneGen::AMAmplitude, 101, 100},
    };
    TToneGen gen(nullptr);
    for (const auto& c : cases) {
        c.set(gen, c.input);
        EXPECT_EQ(c.get(gen), c.stored) << c.name;
    }
    EXPECT_TRUE(messages.empty());
    SetDesignMessageHook(hook);
}

TEST_F(ToneGenTest, DesignModeShowsTheRangeMessage) {
    std::vector<std::string> messages;
    auto hook = SetDesignMessageHook(
        [&](const std::string& text, const std::string& caption, MessageIcon icon) {
            EXPECT_EQ(caption, "Error");
            EXPECT_EQ(icon, MessageIcon::Error);
            messages.push_back(text);
        });
    TComponent form(nullptr);
    form.SetDesigning(true);
    auto* gen = new TToneGen(&form);
    gen->SetFrequency(19);
    gen->SetSustain(101);
    gen->SetFrequency(440); // in range: no message
    EXPECT_EQ(messages, (std::vector<std::string>{"Value must be between 20 and 20000",
                                                  "Value must be between 0 and 100"}));
    EXPECT_EQ(gen->Frequency(), 440);
    // An AM level's multiplied frequency limited in the build says so too;
    // a silent level does not.
    messages.clear();
    gen->SetFrequency(20);
    ASSERT_TRUE(gen->Prepare()); // every level at amplitude 0
    EXPECT_TRUE(messages.empty());
    gen->SetAMAmplitude(10); // level 1, 20 Hz x 0.5
    ASSERT_TRUE(gen->Prepare());
    EXPECT_EQ(messages, (std::vector<std::string>{"Value must be between 20 and 20000"}));
    const auto trace = output->Trace(); // designing: the device level was never read
    EXPECT_EQ(std::count(trace.begin(), trace.end(), "read"), 0);
    SetDesignMessageHook(hook);
}

TEST_F(ToneGenTest, CreationSetsDefaults) {
    TToneGen gen(nullptr);
    EXPECT_EQ(gen.Frequency(), 440);
    EXPECT_EQ(gen.Duration(), 100);
    EXPECT_EQ(gen.Waveform(), TTGWave::tgSine);
    EXPECT_EQ(gen.Attack(), 10);
    EXPECT_EQ(gen.Hold(), 5);
    EXPECT_EQ(gen.Decay(), 20);
    EXPECT_EQ(gen.Sustain(), 50);
    EXPECT_EQ(gen.Release(), 30);
    EXPECT_TRUE(gen.Async());
    EXPECT_FALSE(gen.Loop());
    EXPECT_EQ(gen.Resolution(), TTGResolution::tg16Bit);
    EXPECT_EQ(gen.Quality(), TTGQuality::tgHiQ);
    EXPECT_EQ(gen.LeftVolume(), 100);
    EXPECT_EQ(gen.RightVolume(), 100);
    EXPECT_FALSE(gen.Stereo());
    EXPECT_EQ(gen.AMLevel(), TTGAMLevel::tgAMLevel1);
    EXPECT_EQ(gen.AMAmplitude(), 0);
    EXPECT_EQ(gen.AMWaveform(), TTGWave::tgSine);
    EXPECT_EQ(gen.AMFrequency(), 0.5f);
    EXPECT_TRUE(gen.AMUseMultiplier());
    EXPECT_TRUE(gen.ImageStale());
    EXPECT_TRUE(gen.EnvelopeStale());
    EXPECT_TRUE(gen.ImageHasEnvelope());
    EXPECT_TRUE(gen.Idle());
    EXPECT_EQ(gen.GetDataBuffer(), nullptr);
    EXPECT_EQ(gen.ImageSize(), 0u);
    EXPECT_EQ(gen.Octave(), 4);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(gen.AMArrays().frequencies[i], (i + 1) / 2.0f);
        EXPECT_EQ(gen.AMArrays().octaves[i], 4);
    }
}

TEST_F(ToneGenTest, SettersMarkImageOrEnvelopeStale) {
    TToneGen gen(nullptr);
    const std::vector<std::pair<std::string, std::function<void()>>> imageSetters = {
        {"Frequency", [&] { gen.SetFrequency(gen.Frequency()); }},
        {"Duration", [&] { gen.SetDuration(gen.Duration()); }},
        {"Waveform", [&] { gen.SetWaveform(gen.Waveform()); }},
        {"Resolution", [&] { gen.SetResolution(gen.Resolution()); }},
        {"Quality", [&] { gen.SetQuality(gen.Quality()); }},
        {"Stereo", [&] { gen.SetStereo(gen.Stereo()); }},
        {"AMLevel", [&] { gen.SetAMLevel(gen.AMLevel()); }},
        {"AMAmplitude", [&] { gen.SetAMAmplitude(gen.AMAmplitude()); }},
        {"AMWaveform", [&] { gen.SetAMWaveform(gen.AMWaveform()); }},
        {"AMFrequency", [&] { gen.SetAMFrequency(gen.AMFrequency()); }},
        {"AMUseMultiplier", [&] { gen.SetAMUseMultiplier(gen.AMUseMultiplier()); }},
        {"Precise", [&] { gen.SetPrecise(gen.Precise()); }},
        {"ResetAM", [&] { gen.ResetAM(); }},
        {"SetAMParameter",
         [&] { gen.SetAMParameter(TTGAMLevel::tgAMLevel3, 0, 1.5f, TTGWave::tgSine); }},
    };
    for (const auto& [name, set] : imageSetters) {
        ASSERT_TRUE(gen.PrepareADSR());
        set(); // the same value: still stale
        EXPECT_TRUE(gen.ImageStale()) << name;
        EXPECT_FALSE(gen.EnvelopeStale()) << name;
    }
    const std::vector<std::pair<std::string, std::function<void()>>> envelopeSetters = {
        {"Attack", [&] { gen.SetAttack(gen.Attack()); }},
        {"Hold", [&] { gen.SetHold(gen.Hold()); }},
        {"Decay", [&] { gen.SetDecay(gen.Decay()); }},
        {"Sustain", [&] { gen.SetSustain(gen.Sustain()); }},
        {"Release", [&] { gen.SetRelease(gen.Release()); }},
    };
    for (const auto& [name, set] : envelopeSetters) {
        ASSERT_TRUE(gen.PrepareADSR());
        set();
        EXPECT_FALSE(gen.ImageStale()) << name;
        EXPECT_TRUE(gen.EnvelopeStale()) << name;
    }
}

TEST_F(ToneGenTest, BuildFlagsWithAndWithoutEnvelope) {
    TToneGen gen(nullptr);
    ASSERT_TRUE(gen.Prepare());
    EXPECT_FALSE(gen.ImageStale());
    EXPECT_TRUE(gen.EnvelopeStale());
    EXPECT_FALSE(gen.ImageHasEnvelope());
    ASSERT_TRUE(gen.PrepareADSR());
    EXPECT_FALSE(gen.ImageStale());
    EXPECT_FALSE(gen.EnvelopeStale());
    EXPECT_TRUE(gen.ImageHasEnvelope());
}

TEST_F(ToneGenTest, PlayRebuildsOnlyWhenNeeded) {
    TToneGen gen(nullptr);
    gen.SetLoop(true);
    gen.Play();
    const std::uint8_t* first = gen.GetDataBuffer();
    ASSERT_NE(first, nullptr);
    const auto before = Image(gen);
    gen.SetLeftVolume(30);
    gen.Play(); // nothing that shapes the image changed
    EXPECT_EQ(Image(gen), before);
    EXPECT_EQ(output->PlayCount(), 2);
    auto calls = output->Calls();
    EXPECT_EQ(calls.back().address, gen.GetDataBuffer());
    EXPECT_EQ(calls.back().image, before); // restarted from the same image

    gen.SetAttack(70); // envelope only: Play keeps its image
    EXPECT_FALSE(gen.ImageStale());
    gen.PlayADSR(); // builds with the envelope
    EXPECT_TRUE(gen.ImageHasEnvelope());
    const auto withEnvelope = Image(gen);
    EXPECT_NE(withEnvelope, before);
    gen.Play(); // back without it
    EXPECT_FALSE(gen.ImageHasEnvelope());
    EXPECT_EQ(Image(gen), before);
}

TEST_F(ToneGenTest, PlayModesAndIdle) {
    struct Case {
        bool loop, async;
        std::uint32_t flags;
        bool idleAfter;
    };
    const Case cases[] = {{true, false, 13, false},
                          {true, true, 13, false},
                          {false, true, 5, false},
                          {false, false, 4, true}};
    for (const auto& c : cases) {
        TToneGen gen(nullptr);
        gen.SetLoop(c.loop);
        gen.SetAsync(c.async);
        output->Clear();
        gen.Play();
        // Build stops the old sound, then: stop, level, play.
        EXPECT_EQ(output->Trace(), (std::vector<std::string>{"stop", "stop", "level ffffffff",
                                                             "play " + std::to_string(c.flags)}));
        EXPECT_EQ(gen.Idle(), c.idleAfter) << c.flags;
        gen.Stop();
        EXPECT_TRUE(gen.Idle());
    }
}

TEST_F(ToneGenTest, VolumeGoesToTheDeviceAtOnceOnlyWhenIdle) {
    TToneGen gen(nullptr);
    gen.SetLeftVolume(30);
    EXPECT_EQ(output->Level(), 19660u + 65535u * 65536u);
    gen.SetLoop(true);
    gen.Play();
    gen.SetLeftVolume(50);
    gen.SetRightVolume(0);
    EXPECT_EQ(output->Level(), 19660u + 65535u * 65536u); // still the old level
    gen.Play();
    EXPECT_EQ(output->Level(), 0x00007FFFu);
    gen.Stop();
    gen.SetRightVolume(100);
    EXPECT_EQ(output->Level(), 0xFFFF7FFFu);
}

TEST_F(ToneGenTest, LevelWordMapping) {
    const std::pair<int, std::uint32_t> halves[] = {
        {0, 0}, {1, 655}, {33, 21626}, {50, 32767}, {100, 65535}};
    TToneGen gen(nullptr);
    for (auto [percent, half] : halves) {
        gen.SetLeftVolume(std::int16_t(percent));
        gen.SetRightVolume(std::int16_t(100 - percent));
        const std::uint32_t right = std::uint32_t(100 - percent) * 65535 / 100;
        EXPECT_EQ(output->Level(), half + right * 65536) << percent;
    }
    gen.SetLeftVolume(0);
    gen.SetRightVolume(50);
    EXPECT_EQ(output->Level(), 0x7FFF0000u);
}

TEST_F(ToneGenTest, FirstGeneratorSavesTheLevelAndTheLastGivesItBack) {
    output->SetInitialLevel(0x12345678);
    auto* a = new TToneGen(nullptr);
    EXPECT_EQ(TToneGen::SavedDeviceVolume(), 0x12345678u);
    EXPECT_EQ(output->Level(), 0xFFFFFFFFu); // full level until settings apply
    a->SetLeftVolume(50);
    auto* b = new TToneGen(nullptr); // does not read or change the level
    EXPECT_EQ(output->Level(), 0xFFFF7FFFu);
    EXPECT_EQ(TToneGen::InstanceCount(), 2u);
    b->SetLoop(true);
    b->Play();
    delete b; // not the last one: the level stays
    EXPECT_EQ(output->Level(), 0xFFFFFFFFu);
    output->Clear();
    delete a;
    EXPECT_EQ(output->Trace(), (std::vector<std::string>{"stop", "level 12345678"}));
    EXPECT_EQ(TToneGen::InstanceCount(), 0u);
}

TEST_F(ToneGenTest, LevelWithoutSeparateChannelsIsCopiedToBothHalves) {
    output->SetInitialLevel(0x00004000, false);
    { TToneGen gen(nullptr); }
    EXPECT_EQ(TToneGen::SavedDeviceVolume(), 0x40004000u);
    EXPECT_EQ(output->Level(), 0x40004000u);
}

TEST_F(ToneGenTest, FailedLevelReadIsNotGivenBackAsSilence) {
    output->SetReadFails(true);
    {
        TToneGen gen(nullptr);
        gen.SetLeftVolume(50);
        EXPECT_EQ(TToneGen::SavedDeviceVolume(), 0u);
    }
    // The program's last level stays instead of a level of 0.
    EXPECT_EQ(output->Level(), 0xFFFF7FFFu);
}

TEST_F(ToneGenTest, DestroyStopsTheLoopingSound) {
    auto* gen = new TToneGen(nullptr);
    gen->SetLoop(true);
    gen->Play();
    EXPECT_TRUE(output->Playing());
    delete gen;
    EXPECT_FALSE(output->Playing());
}

class FailingAllocation : public TToneGen {
public:
    using TToneGen::TToneGen;
    bool fail = true;

protected:
    std::unique_ptr<std::uint8_t[]> AllocateImage(std::size_t size) override {
        return fail ? nullptr : TToneGen::AllocateImage(size);
    }
};

TEST_F(ToneGenTest, BuildWithoutMemoryLeavesNoImageAndStartsNothing) {
    FailingAllocation gen(nullptr);
    gen.fail = false;
    ASSERT_TRUE(gen.Prepare());
    gen.SetFrequency(1000);
    gen.fail = true;
    EXPECT_FALSE(gen.Prepare());
    EXPECT_EQ(gen.GetDataBuffer(), nullptr);
    EXPECT_TRUE(gen.ImageStale()); // flags as they were
    output->Clear();
    gen.Play();
    EXPECT_EQ(output->PlayCount(), 0);
    gen.fail = false;
    gen.Play(); // tries again
    EXPECT_EQ(output->PlayCount(), 1);
    EXPECT_NE(gen.GetDataBuffer(), nullptr);
}

TEST_F(ToneGenTest, AMPropertiesMirrorTheSelectedLevel) {
    TToneGen gen(nullptr);
    gen.SetAMLevel(TTGAMLevel::tgAMLevel4);
    EXPECT_EQ(gen.AMFrequency(), 2.0f);
    gen.SetAMAmplitude(30);
    gen.SetAMWaveform(TTGWave::tgSquare);
    gen.SetAMFrequency(2.25f);
    EXPECT_EQ(gen.AMArrays().amplitudes[3], 30);
    EXPECT_EQ(gen.AMArrays().waveforms[3], TTGWave::tgSquare);
    EXPECT_EQ(gen.AMArrays().frequencies[3], 2.25f);
    gen.ResetAM();
    EXPECT_EQ(gen.AMArrays().amplitudes[3], 0);
    EXPECT_EQ(gen.AMAmplitude(), 30); // the mirror is not kept in step
    // An out-of-range entry is limited on its way to the mirror and written back.
    gen.SetAMParameter(TTGAMLevel::tgAMLevel2, 250, 7.0f, TTGWave::tgNoise);
    gen.SetAMLevel(TTGAMLevel::tgAMLevel2);
    EXPECT_EQ(gen.AMAmplitude(), 100);
    EXPECT_EQ(gen.AMArrays().amplitudes[1], 100);
    EXPECT_EQ(gen.AMWaveform(), TTGWave::tgNoise);
    EXPECT_EQ(gen.AMFrequency(), 7.0f);
}

TEST_F(ToneGenTest, AMArrayRoundTripsBitForBit) {
    TToneGen a(nullptr), b(nullptr);
    a.SetAMParameter(TTGAMLevel::tgAMLevel1, -5, std::bit_cast<float>(0x7FC00001u),
                     static_cast<TTGWave>(9));
    a.SetAMParameter(TTGAMLevel::tgAMLevel8, 77, -0.0f, TTGWave::tgTriangle);
    TMemoryStream s;
    a.WriteAMArray(s);
    ASSERT_EQ(s.Size(), 100u);
    EXPECT_EQ(s.Bytes()[0], 7);
    s.Seek(0);
    b.ReadAMArray(s);
    EXPECT_EQ(std::memcmp(&a.AMArrays(), &b.AMArrays(), sizeof(AMLevels)), 0);
}

TEST_F(ToneGenTest, AMArrayReadEdgeCases) {
    AMLevels start;
    start.Reset();
    auto read = [&](std::vector<std::uint8_t> bytes) {
        AMLevels levels = start;
        TMemoryStream s(std::move(bytes));
        levels.Read(s);
        return levels;
    };
    auto record = [](std::vector<std::uint8_t>& v, std::uint32_t a, std::uint32_t w, float f) {
        TMemoryStream s(v);
        s.Seek(v.size());
        s.WriteU32(a);
        s.WriteU32(w);
        s.WriteFloat(f);
        v = s.Bytes();
    };
    // Highest index -1: nothing else read, nothing changed.
    EXPECT_EQ(std::memcmp(&start, &(const AMLevels&)read({0xFF, 0xFF, 0xFF, 0xFF}), sizeof start),
              0);
    // Highest index 1: two records; high bits beyond the fields are dropped.
    std::vector<std::uint8_t> two{1, 0, 0, 0};
    record(two, 0x00010014, 0x00000102, 3.0f);
    record(two, 0xFFFFFFFF, 4, 5.0f);
    AMLevels r = read(two);
    EXPECT_EQ(r.amplitudes[0], 20);
    EXPECT_EQ(static_cast<int>(r.waveforms[0]), 2);
    EXPECT_EQ(r.frequencies[0], 3.0f);
    EXPECT_EQ(r.amplitudes[1], -1);
    EXPECT_EQ(r.frequencies[2], 1.5f); // untouched
    // Highest index 9: records beyond the eighth are read and dropped.
    std::vector<std::uint8_t> ten{9, 0, 0, 0};
    for (int i = 0; i < 10; ++i)
        record(ten, 10 + i, 1, float(i));
    TMemoryStream s(ten);
    AMLevels levels = start;
    levels.Read(s);
    EXPECT_EQ(s.Remaining(), 0u);
    EXPECT_EQ(levels.amplitudes[7], 17);
    // A stream that ends early fails and changes nothing.
    std::vector<std::uint8_t> shortStream{7, 0, 0, 0};
    record(shortStream, 50, 0, 1.0f);
    TMemoryStream t(shortStream);
    AMLevels untouched = start;
    EXPECT_THROW(untouched.Read(t), EReadError);
    EXPECT_EQ(untouched.amplitudes[0], 0);
    // A huge announced count fails at once instead of looping.
    TMemoryStream huge(std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0x7F});
    EXPECT_THROW(untouched.Read(huge), EReadError);
}

TEST_F(ToneGenTest, StoredPropertiesInDeclarationOrderWithDefaults) {
    TToneGen gen(nullptr);
    const PropertyList props = gen.StoredProperties();
    std::vector<std::string> names;
    for (const auto& p : props.Items())
        names.push_back(p.name);
    EXPECT_EQ(
        names,
        (std::vector<std::string>{
            "Frequency",   "Duration",        "Waveform", "Attack",  "Hold",        "Decay",
            "Sustain",     "Release",         "Async",    "Loop",    "Resolution",  "Quality",
            "LeftVolume",  "RightVolume",     "Stereo",   "AMLevel", "AMAmplitude", "AMWaveform",
            "AMFrequency", "AMUseMultiplier", "Precise"}));
    for (const auto& p : props.Items()) {
        const bool noDefault =
            p.name == "AMAmplitude" || p.name == "AMWaveform" || p.name == "AMFrequency";
        EXPECT_EQ(p.defaultValue.has_value(), !noDefault) << p.name;
        if (p.defaultValue) { // a fresh generator holds every default
            EXPECT_EQ(p.get(gen), *p.defaultValue) << p.name;
        }
    }
    const RawPropertyList raw = gen.RawProperties();
    ASSERT_EQ(raw.Items().size(), 1u);
    EXPECT_EQ(raw.Items()[0].name, "AMArrayData");
    EXPECT_TRUE(raw.Items()[0].hasData);
}

// The front panel's generator as its layout stores it.
const char* const kPanelLayout = R"(Form1: TComponent {
  ToneGen1: TToneGen {
    Frequency = 1000
    Attack = 50
    Decay = 50
    Sustain = 0
    Loop = true
    LeftVolume = 50
    RightVolume = 50
    AMUseMultiplier = false
    AMAmplitude = 0
    AMWaveform = tgSine
    AMFrequency = 0.5
    AMArrayData = bytes {
      07000000
      00000000 00000000 00000000
      00000000 00000000 0000803F
      00000000 00000000 0000C03F
      00000000 00000000 00000040
      00000000 00000000 00002040
      00000000 00000000 00004040
      00000000 00000000 00006040
      00000000 00000000 00008040
    }
  }
}
)";

TEST_F(ToneGenTest, PanelGeneratorLoadsFromItsLayout) {
    RegisterToneGenClass();
    ClassRegistry::Instance().Register<TComponent>("TComponent");
    output->SetInitialLevel(0x11112222);
    TComponent form(nullptr);
    form.SetName("Form1");
    ReadLayoutInto(form, kPanelLayout);
    auto* gen = dynamic_cast<TToneGen*>(form.FindComponent("ToneGen1"));
    ASSERT_NE(gen, nullptr);
    EXPECT_FALSE(gen->IsLoading());
    EXPECT_EQ(gen->Frequency(), 1000);
    EXPECT_EQ(gen->Attack(), 50);
    EXPECT_EQ(gen->Decay(), 50);
    EXPECT_EQ(gen->Sustain(), 0);
    EXPECT_TRUE(gen->Loop());
    EXPECT_TRUE(gen->Async());
    EXPECT_FALSE(gen->AMUseMultiplier());
    EXPECT_EQ(gen->AMFrequency(), 0.5f);             // the stored mirror value
    EXPECT_EQ(gen->AMArrays().frequencies[0], 0.0f); // the stored table
    EXPECT_EQ(gen->AMArrays().frequencies[7], 4.0f);
    // Saved before anything was set, full level, then 50 and 50; nothing plays.
    EXPECT_EQ(TToneGen::SavedDeviceVolume(), 0x11112222u);
    EXPECT_EQ(output->Trace(), (std::vector<std::string>{"read", "level ffffffff", "level ffff7fff",
                                                         "level 7fff7fff"}));
    EXPECT_EQ(output->PlayCount(), 0);
    EXPECT_TRUE(gen->Idle());

    // It plays a 100 ms mono 16-bit 96000 Hz loop without envelope.
    gen->Play();
    const auto img = Image(*gen);
    ASSERT_EQ(img.size(), 19276u);
    EXPECT_EQ(output->Calls().back().flags, 13u);
    EXPECT_EQ(Sample16(img, 24), 32767);

    // And saving writes back the same settings.
    const std::string saved = WriteLayout(form);
    EXPECT_NE(saved.find("Frequency = 1000"), std::string::npos);
    EXPECT_NE(saved.find("AMFrequency = 0.5"), std::string::npos);
    EXPECT_EQ(saved.find("Duration"), std::string::npos);
}

} // namespace
