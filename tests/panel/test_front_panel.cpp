// SPDX-License-Identifier: GPL-3.0-or-later
// The front panel driven through its window with real pointer and key
// events at the controls' places.

#include "PanelFixture.h"
#include "engine/LoopLength.h"
#include "instrument/FrequencyDials.h"
#include "panel/Hints.h"
#include "platform/Fonts.h"
#include "tests/engine/SignalAnalysis.h"

#include <QScreen>

#include "core/Layout.h"

#include <cmath>
#include <regex>
#include <set>
#include <sstream>
#include <thread>

using namespace panel;
using instrument::ComposeFrequency;

TEST_F(PanelTest, OpensFixedCentredWithTheStoredStartState) {
    EXPECT_EQ(form->size(), QSize(633, 403));
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
    EXPECT_FALSE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(form->windowTitle(), QString::fromUtf8("Генератор сигналов звуковой частоты"));
    EXPECT_FALSE(form->windowIcon().isNull());
    const QPoint centre = form->screen()->availableGeometry().center();
    EXPECT_LE((form->frameGeometry().center() - centre).manhattanLength(), 2);

    EXPECT_TRUE(form->AbColBitBtn1->Enabled());
    EXPECT_FALSE(form->AbColBitBtn2->Enabled());
    EXPECT_TRUE(form->RadioButton1->Checked());
    EXPECT_TRUE(form->RadioButton8->Checked());
    EXPECT_TRUE(form->RadioButton10->Checked());
    for (TRadioButton* r : {form->RadioButton1, form->RadioButton8, form->RadioButton10})
        EXPECT_EQ(FontColor(r), clYellow);
    const std::pair<TLabel*, const char*> texts[] = {
        {form->Label1, "01"},  {form->Label2, "0"},    {form->Label3, "00"},
        {form->Label4, "Гц"},  {form->Label5, "01"},   {form->Label6, "0"},
        {form->Label7, "00"},  {form->Label8, "Гц"},   {form->Label10, "050"},
        {form->Label11, "мВ"}, {form->Label12, "050"}, {form->Label13, "мВ"}};
    for (const auto& [label, text] : texts) {
        EXPECT_EQ(Text(label), text) << label->Name();
        EXPECT_EQ(FontColor(label), clLime) << label->Name();
    }
    EXPECT_EQ(form->AbGearDial1->ValueText(), "01");
    EXPECT_EQ(form->AbGearDial2->ValueText(), "0");
    EXPECT_EQ(form->AbGearDial3->ValueText(), "00");
    EXPECT_EQ(form->AbGearDial4->ValueText(), "050");
    EXPECT_EQ(Gen().Frequency(), 1000);
    EXPECT_EQ(Gen().Duration(), 100);
    EXPECT_EQ(Gen().LeftVolume(), 50);
    EXPECT_EQ(Gen().RightVolume(), 50);
    EXPECT_FALSE(sound->Playing());
    EXPECT_EQ(sound->PlayCount(), 0);
    EXPECT_EQ(sound->Level(), LevelWord(50, 50));
    // The first dial has the keyboard focus.
    EXPECT_EQ(form->focusWidget(), form->AbGearDial1);
    // A picture of the panel as it opens, for a look by eye.
    if (const QByteArray path = qgetenv("ORBEL_PANEL_SHOT"); !path.isEmpty()) {
        EXPECT_TRUE(form->grab().save(QString::fromLocal8Bit(path)));
    }
}

TEST_F(PanelTest, StartPlaysStopSilencesAndTheButtonsSwapEnabling) {
    Click(At(form->AbColBitBtn1));
    EXPECT_FALSE(form->AbColBitBtn1->Enabled());
    EXPECT_TRUE(form->AbColBitBtn2->Enabled());
    EXPECT_TRUE(sound->Playing());
    EXPECT_EQ(sound->PlayCount(), 1);
    EXPECT_EQ(sound->Level(), LevelWord(50, 50));
    // A click on the disabled Start reaches the picture beneath: nothing.
    Click(At(form->AbColBitBtn1));
    EXPECT_EQ(sound->PlayCount(), 1);
    Click(At(form->AbColBitBtn2));
    EXPECT_TRUE(form->AbColBitBtn1->Enabled());
    EXPECT_FALSE(form->AbColBitBtn2->Enabled());
    EXPECT_FALSE(sound->Playing());
}

TEST_F(PanelTest, TurningAFrequencyDialWhilePlayingIsHeardAtOnce) {
    Click(At(form->AbColBitBtn1));
    TurnDial(form->AbGearDial1, Qt::Key_Up);
    EXPECT_EQ(form->AbGearDial1->ValueText(), "02");
    EXPECT_EQ(Gen().Frequency(), 2000);
    EXPECT_EQ(sound->PlayCount(), 2);
    // The display follows at the next tick.
    EXPECT_EQ(Text(form->Label1), "01");
    Tick();
    EXPECT_EQ(Text(form->Label1), "02");
    EXPECT_EQ(Text(form->Label5), "02");
    TurnDial(form->AbGearDial2, Qt::Key_Up, 3);
    EXPECT_EQ(Gen().Frequency(), 2300);
    TurnDial(form->AbGearDial3, Qt::Key_Up, 2);
    EXPECT_EQ(Gen().Frequency(), 2320);
    // The amplitude dial changes the levels, not the frequency.
    TurnDial(form->AbGearDial4, Qt::Key_Down, 10);
    EXPECT_EQ(form->AbGearDial4->ValueText(), "040");
    EXPECT_EQ(Gen().LeftVolume(), 40);
    EXPECT_EQ(Gen().RightVolume(), 40);
    EXPECT_EQ(Gen().Frequency(), 2320);
    EXPECT_EQ(sound->Level(), LevelWord(40, 40));
}

TEST_F(PanelTest, SettingsChangeSilentlyWhileStopped) {
    TurnDial(form->AbGearDial1, Qt::Key_Up);
    Click(At(form->RadioButton2));
    EXPECT_EQ(Gen().Frequency(), 2000);
    EXPECT_EQ(Gen().Waveform(), TTGWave::tgSquare);
    EXPECT_EQ(sound->PlayCount(), 0);
}

TEST_F(PanelTest, WaveformSwitchSetsTheWaveAndTheCaptionColours) {
    Click(At(form->AbColBitBtn1));
    const std::pair<TRadioButton*, TTGWave> waves[] = {{form->RadioButton2, TTGWave::tgSquare},
                                                       {form->RadioButton3, TTGWave::tgTriangle},
                                                       {form->RadioButton4, TTGWave::tgSawtooth},
                                                       {form->RadioButton1, TTGWave::tgSine}};
    TRadioButton* all[] = {form->RadioButton1, form->RadioButton2, form->RadioButton3,
                           form->RadioButton4, form->RadioButton5};
    int plays = sound->PlayCount();
    for (const auto& [button, wave] : waves) {
        Click(At(button));
        EXPECT_EQ(Gen().Waveform(), wave);
        EXPECT_EQ(sound->PlayCount(), ++plays);
        for (TRadioButton* r : all)
            EXPECT_EQ(FontColor(r), r == button ? clYellow : clGray) << r->Name();
    }
    // The selected one again: no handler runs, nothing restarts.
    Click(At(form->RadioButton1));
    EXPECT_EQ(sound->PlayCount(), plays);
}

TEST_F(PanelTest, NoiseShowsDashesAndTheTimerLeavesThem) {
    Click(At(form->RadioButton5));
    EXPECT_EQ(Gen().Waveform(), TTGWave::tgNoise);
    for (TLabel* l : {form->Label1, form->Label3, form->Label5, form->Label7})
        EXPECT_EQ(Text(l), "--");
    EXPECT_EQ(Text(form->Label2), "-");
    EXPECT_EQ(Text(form->Label6), "-");
    // The amplitude still drives the levels, but no display changes.
    TurnDial(form->AbGearDial4, Qt::Key_Up, 5);
    Tick();
    EXPECT_EQ(Gen().LeftVolume(), 55);
    EXPECT_EQ(Text(form->Label10), "050");
    EXPECT_EQ(Text(form->Label1), "--");
}

TEST_F(PanelTest, LeavingNoiseOnOneChannelRefreshesOnlyThatChannel) {
    Click(At(form->RadioButton6));
    Click(At(form->RadioButton5));
    Click(At(form->RadioButton3));
    Tick();
    EXPECT_EQ(Text(form->Label1), "01");
    EXPECT_EQ(Text(form->Label3), "00");
    EXPECT_EQ(Text(form->Label5), "--");
    EXPECT_EQ(Text(form->Label7), "--");
    EXPECT_EQ(FontColor(form->Label5), clGray);
    Click(At(form->RadioButton8));
    Tick();
    EXPECT_EQ(Text(form->Label5), "01");
    EXPECT_EQ(FontColor(form->Label5), clLime);
}

TEST_F(PanelTest, PreciseNoiseLoopsLongUntilAPeriodicWaveTakesItsLoopBack) {
    Gen().SetPrecise(true); // as the program plays
    Click(At(form->RadioButton9));
    TurnDial(form->AbGearDial3, Qt::Key_Up);
    ASSERT_EQ(Gen().Duration(), 1000); // 1001 Hz
    Click(At(form->AbColBitBtn1));
    Click(At(form->RadioButton5));
    EXPECT_GE(loop_length::kNoiseLoopMs, 10000);
    EXPECT_EQ(Gen().Duration(), loop_length::kNoiseLoopMs);
    EXPECT_EQ(PlayedSamples().size(), 96000u * loop_length::kNoiseLoopMs / 1000);
    // Channels, frequency and amplitude dials keep the long loop.
    Click(At(form->RadioButton6));
    EXPECT_EQ(Gen().Duration(), loop_length::kNoiseLoopMs);
    TurnDial(form->AbGearDial3, Qt::Key_Up, 2);
    EXPECT_EQ(Gen().Frequency(), 1002);
    EXPECT_EQ(Gen().Duration(), loop_length::kNoiseLoopMs);
    TurnDial(form->AbGearDial4, Qt::Key_Up);
    Click(At(form->RadioButton8));
    EXPECT_EQ(Gen().Duration(), loop_length::kNoiseLoopMs);
    EXPECT_EQ(Text(form->Label1), "--");
    // A periodic wave loops whole periods of the frequency again.
    const int plays = sound->PlayCount();
    Click(At(form->RadioButton3));
    EXPECT_EQ(Gen().Duration(), 500);
    EXPECT_EQ(sound->PlayCount(), plays + 1);
    EXPECT_EQ(PlayedSamples().size(), 48000u);
    Tick();
    EXPECT_EQ(Text(form->Label3), "02");
}

namespace {
// Pearson correlation of `length` samples from `a` and from `b` of a loop
// played over and over (indices wrap at its end).
double LoopCorrelation(const std::vector<std::int16_t>& loop, std::size_t a, std::size_t b,
                       std::size_t length) {
    double sa = 0, sb = 0, saa = 0, sbb = 0, sab = 0;
    for (std::size_t i = 0; i < length; ++i) {
        const double x = loop[(a + i) % loop.size()], y = loop[(b + i) % loop.size()];
        sa += x, sb += y, saa += x * x, sbb += y * y, sab += x * y;
    }
    const double n = double(length);
    return (sab - sa * sb / n) / std::sqrt((saa - sa * sa / n) * (sbb - sb * sb / n));
}

double MeanSquare(const std::vector<std::int16_t>& s) {
    double sum = 0;
    for (double v : s)
        sum += v * v;
    return sum / double(s.size());
}
} // namespace

TEST_F(PanelTest, PlayedNoiseDoesNotRepeatAndStaysWhiteAtItsFormerLevel) {
    constexpr std::size_t kPerMs = 96;
    constexpr std::size_t kLoopMs = loop_length::kNoiseLoopMs;
    Click(At(form->AbColBitBtn1));
    // The stored (classic) generator loops noise for whole periods.
    Click(At(form->RadioButton5));
    ASSERT_EQ(Gen().Duration(), 100);
    const std::vector<std::int16_t> shortLoop = PlayedSamples();
    EXPECT_GT(LoopCorrelation(shortLoop, 0, 100 * kPerMs, 200 * kPerMs), 0.99);

    Gen().SetPrecise(true);
    Click(At(form->RadioButton1));
    Click(At(form->RadioButton5));
    const std::vector<std::int16_t> loop = PlayedSamples();
    ASSERT_EQ(loop.size(), kLoopMs * kPerMs);
    // A stretch at the start and one whose later copies cross the join.
    for (std::size_t startMs : {std::size_t(0), kLoopMs - 600})
        for (std::size_t lagMs : {100u, 200u, 500u, 1000u})
            EXPECT_LT(std::fabs(LoopCorrelation(loop, startMs * kPerMs, (startMs + lagMs) * kPerMs,
                                                200 * kPerMs)),
                      0.1)
                << startMs << " ms + " << lagMs << " ms";
    EXPECT_NEAR(Db(MeanSquare(loop) / MeanSquare(shortLoop)), 0, 0.5);
    // One loop holds whole cycles of everything in it: a plain transform.
    const std::vector<double> energy = BinEnergies(std::vector<double>(loop.begin(), loop.end()));
    const auto bands = ThirdOctaveLevels(energy, 1000.0 / loop_length::kNoiseLoopMs, 20, 20000);
    EXPECT_EQ(bands.size(), 31u);
    for (const BandLevel& band : bands)
        EXPECT_NEAR(band.db, 0, 1.0) << band.centreHz << " Hz";
}

TEST_F(PanelTest, LeftAndRightChannelsKeepTheirOwnDialPositions) {
    // Both channels: the thousands dial to 5 kHz.
    TurnDial(form->AbGearDial1, Qt::Key_Up, 4);
    EXPECT_EQ(Gen().Frequency(), 5000);
    // Left on a fresh start brings back 1, 0, 0, 50 whatever the dials show.
    Click(At(form->RadioButton6));
    EXPECT_EQ(form->AbGearDial1->ValueText(), "01");
    EXPECT_EQ(form->AbGearDial4->ValueText(), "050");
    EXPECT_EQ(Gen().Frequency(), 1000);
    EXPECT_EQ(Gen().LeftVolume(), 50);
    EXPECT_EQ(Gen().RightVolume(), 0);
    EXPECT_EQ(sound->Level(), LevelWord(50, 0));
    EXPECT_EQ(FontColor(form->RadioButton6), clYellow);
    EXPECT_EQ(FontColor(form->RadioButton8), clGray);
    for (TLabel* l : {form->Label1, form->Label4, form->Label10, form->Label11})
        EXPECT_EQ(FontColor(l), clLime);
    for (TLabel* l : {form->Label5, form->Label8, form->Label12, form->Label13})
        EXPECT_EQ(FontColor(l), clGray);

    // Left: 3 kHz at amplitude 30.
    TurnDial(form->AbGearDial1, Qt::Key_Up, 2);
    TurnDial(form->AbGearDial4, Qt::Key_PageDown, 2);
    EXPECT_EQ(Gen().Frequency(), 3000);
    EXPECT_EQ(Gen().LeftVolume(), 30);
    EXPECT_EQ(Gen().RightVolume(), 0);

    // Right starts from its own memory.
    Click(At(form->RadioButton7));
    EXPECT_EQ(form->AbGearDial1->ValueText(), "01");
    EXPECT_EQ(Gen().Frequency(), 1000);
    EXPECT_EQ(Gen().LeftVolume(), 0);
    EXPECT_EQ(Gen().RightVolume(), 50);
    // Eleven digits over 0..9: the seventh step shows 6.
    TurnDial(form->AbGearDial2, Qt::Key_Up, 7);
    EXPECT_EQ(Gen().Frequency(), 1600);

    // Back to left: 3 kHz and 30 again.
    Click(At(form->RadioButton6));
    EXPECT_EQ(form->AbGearDial1->ValueText(), "03");
    EXPECT_EQ(form->AbGearDial2->ValueText(), "0");
    EXPECT_EQ(form->AbGearDial4->ValueText(), "030");
    EXPECT_EQ(Gen().Frequency(), 3000);
    EXPECT_EQ(Gen().LeftVolume(), 30);
    EXPECT_EQ(Gen().RightVolume(), 0);

    // Both: the amplitude of the both memory, the frequency stays.
    Click(At(form->RadioButton8));
    EXPECT_EQ(form->AbGearDial4->ValueText(), "050");
    EXPECT_EQ(Gen().LeftVolume(), 50);
    EXPECT_EQ(Gen().RightVolume(), 50);
    EXPECT_EQ(Gen().Frequency(), 3000);
    for (TLabel* l : {form->Label1, form->Label5, form->Label10, form->Label12})
        EXPECT_EQ(FontColor(l), clLime);
    const auto& m = form->Model().State().memory;
    // A channel switch stores nothing; the memories hold the last turns.
    EXPECT_EQ(form->AbGearDial2->ValueText(), "0");
    EXPECT_NEAR(m.left[0].value, 3.0f, 1e-4);
    EXPECT_NEAR(m.left[3].value, 30.0f, 1e-4);
    EXPECT_NEAR(m.right[0].value, 1.0f, 1e-4);
    EXPECT_NEAR(m.bothAmplitude.value, 50.0f, 1e-4);
}

TEST_F(PanelTest, ThousandsAtTwentyPullsTheLowerDialsBackAtTheNextTick) {
    TurnDial(form->AbGearDial2, Qt::Key_Up, 5);
    TurnDial(form->AbGearDial1, Qt::Key_End);
    EXPECT_EQ(form->AbGearDial1->ValueText(), "20");
    // The composition is limited to the generator's top at once.
    EXPECT_EQ(Gen().Frequency(), 20000);
    Tick();
    EXPECT_EQ(form->AbGearDial2->ValueText(), "0");
    EXPECT_EQ(form->AbGearDial3->ValueText(), "00");
    EXPECT_EQ(Text(form->Label1), "20");
    EXPECT_EQ(Text(form->Label2), "0");
    EXPECT_EQ(Text(form->Label3), "00");
    // Moving the hundreds dial again is undone within a tick.
    TurnDial(form->AbGearDial2, Qt::Key_Up, 2);
    EXPECT_EQ(Gen().Frequency(), 20000);
    Tick();
    EXPECT_EQ(Text(form->Label2), "0");
}

TEST_F(PanelTest, UnitsAtTheEndOfTheTenHertzStepReadAsNinety) {
    TurnDial(form->AbGearDial3, Qt::Key_End);
    EXPECT_EQ(form->AbGearDial3->ValueText(), "100");
    // Not 10100 (heard as 1090 Hz only after the next change) but 1090 now.
    EXPECT_EQ(Gen().Frequency(), 1090);
    Tick();
    EXPECT_EQ(form->AbGearDial3->ValueText(), "90");
    EXPECT_EQ(Text(form->Label3), "90");
    EXPECT_EQ(Gen().Frequency(), 1090);
}

TEST_F(PanelTest, OneHertzStepGivesExactFrequenciesWithAWholePeriodLoop) {
    Click(At(form->RadioButton9));
    EXPECT_EQ(FontColor(form->RadioButton9), clYellow);
    EXPECT_EQ(FontColor(form->RadioButton10), clGray);
    // The step switch alone touches neither the generator nor the displays.
    EXPECT_EQ(Gen().Frequency(), 1000);
    EXPECT_EQ(Gen().Duration(), 100);
    Click(At(form->AbColBitBtn1));
    TurnDial(form->AbGearDial3, Qt::Key_Up);
    EXPECT_EQ(form->AbGearDial3->ValueText(), "01");
    EXPECT_EQ(Gen().Frequency(), 1001);
    EXPECT_EQ(Gen().Duration(), 1000);

    // The played loop holds exactly 1001 periods: count the rising zero
    // crossings of the 16-bit mono samples, the join included.
    const std::vector<std::int16_t> samples = PlayedSamples();
    EXPECT_EQ(samples.size(), 96000u);
    int rising = 0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const std::int16_t before = samples[(i + samples.size() - 1) % samples.size()];
        rising += before < 0 && samples[i] >= 0;
    }
    EXPECT_EQ(rising, 1001);

    TurnDial(form->AbGearDial3, Qt::Key_Up, 4);
    EXPECT_EQ(Gen().Frequency(), 1005);
    EXPECT_EQ(Gen().Duration(), 200);
    // Back to the 10 Hz step: nothing changes until the dial is moved.
    Click(At(form->RadioButton10));
    EXPECT_EQ(Gen().Frequency(), 1005);
    TurnDial(form->AbGearDial3, Qt::Key_Up);
    EXPECT_EQ(form->AbGearDial3->ValueText(), "10");
    EXPECT_EQ(Gen().Frequency(), 1010);
    EXPECT_EQ(Gen().Duration(), 100);
}

TEST_F(PanelTest, ExitEndsTheLoopAndTheEndGivesTheDeviceItsLevelBack) {
    Click(At(form->AbColBitBtn1));
    Click(At(form->AbColBitBtn3));
    EXPECT_EQ(terminations, 1);
    form.reset();
    EXPECT_FALSE(sound->Playing());
    EXPECT_EQ(sound->Level(), kDeviceLevelBefore);
}

TEST_F(PanelTest, ClosingTheWindowEndsTheProgramLikeExit) {
    EXPECT_TRUE(QApplication::quitOnLastWindowClosed());
    EXPECT_TRUE(form->close());
}

// --- hints ----------------------------------------------------------------

struct HintCase {
    const char* control;
    const char* text;
};

class PanelHints : public PanelTest, public ::testing::WithParamInterface<HintCase> {};

TEST_P(PanelHints, ThePointerOverAControlExplainsIt) {
    auto* control = dynamic_cast<QWidget*>(form->FindComponent(GetParam().control));
    ASSERT_NE(control, nullptr);
    Move(At(control) + QPoint(1, 1));
    Move(At(control));
    EXPECT_EQ(form->Label9->Caption(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Controls, PanelHints,
    ::testing::Values(
        HintCase{"AbGearDial1", hints::kThousandsDial},
        HintCase{"AbGearDial2", hints::kHundredsDial}, HintCase{"AbGearDial3", hints::kUnitsDial},
        HintCase{"AbGearDial4", hints::kAmplitudeDial}, HintCase{"AbColBitBtn1", hints::kStart},
        HintCase{"AbColBitBtn3", hints::kExit}, HintCase{"Label1", hints::kLeftFrequency},
        HintCase{"Label4", hints::kLeftFrequency}, HintCase{"Label6", hints::kRightFrequency},
        HintCase{"Label11", hints::kLeftAmplitude}, HintCase{"Label12", hints::kRightAmplitude},
        HintCase{"RadioButton1", hints::kWaveform}, HintCase{"RadioButton5", hints::kWaveform},
        HintCase{"RadioButton6", hints::kLeftOnly}, HintCase{"RadioButton7", hints::kRightOnly},
        HintCase{"RadioButton8", hints::kBothChannels}, HintCase{"RadioButton9", hints::kStep1Hz},
        HintCase{"RadioButton10", hints::kStep10Hz}),
    [](const auto& info) { return std::string(info.param.control); });

TEST_F(PanelTest, TheBackgroundNamesTheMenuAndThePanelsLeaveTheHint) {
    Move(At(form->AbGearDial1));
    // The waveform panel's own background between two switch buttons.
    const QPoint panelGap = form->Panel1->mapTo(form.get(), QPoint(form->Panel1->width() - 3, 2));
    Move(panelGap);
    EXPECT_EQ(form->Label9->Caption(), hints::kThousandsDial);
    // Bare background: where the menu is.
    Move(QPoint(5, 200));
    EXPECT_EQ(form->Label9->Caption(), hints::kMenu);
}

TEST_F(PanelTest, TheStatusLineSaysSoWhileNoSoundReachesAServer) {
    Click(At(form->AbColBitBtn1));
    Move(At(form->AbGearDial1));
    // The status line grows with its text, as with every hint, but stays
    // where it is.
    const QPoint where = form->Label9->pos();
    const int height = form->Label9->height();
    testing::internal::CaptureStderr();
    // The output reports from a thread of its own.
    std::thread([&] { sound->SetSoundLost(true); }).join();
    EXPECT_TRUE(QTest::qWaitFor([&] { return Text(form->Label9) == hints::kNoSoundOutput; }));
    // The pointer's hints wait while the notice stands.
    Move(At(form->AbGearDial4));
    EXPECT_EQ(Text(form->Label9), hints::kNoSoundOutput);
    EXPECT_EQ(form->Label9->pos(), where);
    EXPECT_EQ(form->Label9->height(), height);
    // Stop and Start while no server answers show and clear the notice
    // without a line: the lines follow the server.
    std::thread([&] { sound->SetSoundLost(false, false); }).join();
    EXPECT_TRUE(QTest::qWaitFor([&] { return Text(form->Label9) == hints::kAmplitudeDial; }));
    std::thread([&] { sound->SetSoundLost(true, false); }).join();
    EXPECT_TRUE(QTest::qWaitFor([&] { return Text(form->Label9) == hints::kNoSoundOutput; }));
    std::thread([&] { sound->SetSoundLost(false); }).join();
    EXPECT_TRUE(QTest::qWaitFor([&] { return Text(form->Label9) == hints::kAmplitudeDial; }));
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "orbel: нет вывода звука: звуковой сервер не отвечает\n"
                   "orbel: вывод звука восстановлен\n");
}

TEST_F(PanelTest, DisabledButtonsPassThePointerToThePicture) {
    Move(At(form->AbGearDial1));
    Move(At(form->AbColBitBtn2));
    EXPECT_EQ(form->Label9->Caption(), hints::kMenu) << "Stop is disabled while stopped";
    Click(At(form->AbColBitBtn1));
    Move(At(form->AbColBitBtn2) + QPoint(1, 0));
    EXPECT_EQ(form->Label9->Caption(), hints::kStop);
    Move(At(form->AbColBitBtn1));
    EXPECT_EQ(form->Label9->Caption(), hints::kMenu) << "Start is disabled while playing";
}

TEST_F(PanelTest, TheModelNameAndTheStripBesideItShowTheCreditLine) {
    Move(At(form->AbGearDial4));
    Move(At(form->OvcLabel1));
    EXPECT_EQ(form->OvcLabel2->Caption(), hints::kCredit);
    EXPECT_EQ(form->Label9->Caption(), hints::kAmplitudeDial) << "the status line keeps its text";
    Move(QPoint(5, 200));
    EXPECT_EQ(form->OvcLabel2->Caption(), "");
    // The credit strip lies over the status line and answers like the name.
    Move(form->OvcLabel2->mapTo(form.get(), QPoint(300, 12)));
    EXPECT_EQ(form->OvcLabel2->Caption(), hints::kCredit);
}

TEST_F(PanelTest, ADragOnADialShowsItsHintAndTurnsIt) {
    // Drag from the left of the thousands dial over the top to the right.
    const QRect r = form->AbGearDial1->geometry();
    window_input::Drag(*form, QPoint(r.left() + 10, r.center().y()),
                       QPoint(r.right() - 10, r.center().y()));
    EXPECT_EQ(form->Label9->Caption(), hints::kThousandsDial);
    EXPECT_NE(form->AbGearDial1->ValueText(), "01");
    EXPECT_EQ(Gen().Frequency(), ComposeFrequency(form->AbGearDial1->ValueText(), "0", "00"));
}

TEST_F(PanelTest, LayoutHoldsEveryControlInCreationOrderInsideItsPanel) {
    const std::vector<std::string> expected{
        "Image1",        "Label1",       "Label2",       "Label3",       "Label4",
        "Label5",        "Label6",       "Label7",       "Label8",       "Label9",
        "AbColBitBtn1",  "OvcLabel1",    "OvcLabel2",    "Label10",      "Label11",
        "Label12",       "Label13",      "AbColBitBtn2", "AbColBitBtn3", "Panel1",
        "RadioButton1",  "RadioButton2", "RadioButton3", "RadioButton4", "RadioButton5",
        "AbGearDial1",   "AbGearDial2",  "AbGearDial3",  "AbGearDial4",  "Panel2",
        "RadioButton6",  "RadioButton7", "RadioButton8", "Panel3",       "RadioButton9",
        "RadioButton10", "ToneGen1",     "Timer1"};
    std::vector<std::string> names;
    for (TComponent* c : form->Components())
        names.push_back(c->Name());
    EXPECT_EQ(names, expected);
    for (TRadioButton* r : {form->RadioButton1, form->RadioButton5})
        EXPECT_EQ(r->parentWidget(), form->Panel1);
    EXPECT_EQ(form->RadioButton7->parentWidget(), form->Panel2);
    EXPECT_EQ(form->RadioButton9->parentWidget(), form->Panel3);
    // The generator's stored AM table: eight silent sine levels.
    EXPECT_FALSE(Gen().AMUseMultiplier());
    EXPECT_FLOAT_EQ(Gen().AMFrequency(), 0.5f);
    EXPECT_TRUE(Gen().Loop());

    // What the panel writes out reads back into a working panel.
    const std::string text = WriteLayout(*form);
    TForm1 copy(text, nullptr);
    EXPECT_EQ(copy.ComponentCount(), form->ComponentCount());
    EXPECT_EQ(copy.AbGearDial4->ValueText(), "050");
}

TEST_F(PanelTest, TabTakesTheFocusThroughTheStoredOrder) {
    std::vector<QWidget*> order{form->AbGearDial1};
    for (int i = 0; i < 8; ++i) {
        Key(Qt::Key_Tab);
        order.push_back(form->focusWidget());
    }
    // Dial 1, the waveform panel's selected button, dials 2 to 4, the
    // channel panel's and the step panel's selected buttons, then round.
    const std::vector<QWidget*> expected{
        form->AbGearDial1,   form->RadioButton1, form->AbGearDial2,
        form->AbGearDial3,   form->AbGearDial4,  form->RadioButton8,
        form->RadioButton10, form->AbGearDial1,  form->RadioButton1};
    EXPECT_EQ(order, expected);
}

namespace {
// The rightmost column where two renderings of a control differ, or -1.
int LastDifferingColumn(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    for (int col = x.width() - 1; col >= 0; --col)
        for (int row = 0; row < x.height(); ++row)
            if (x.pixel(col, row) != y.pixel(col, row))
                return col;
    return -1;
}

QImage Rendered(QWidget* w) {
    QApplication::processEvents();
    return w->grab().toImage();
}

// The caption's last inked column, found by rendering the control with and
// without it: a whole caption leaves the control's last column blank.
template <class Control, class SetText>
void ExpectCaptionInside(Control* c, const std::string& text, SetText setText) {
    const QImage with = Rendered(c);
    setText("");
    const QImage without = Rendered(c);
    setText(text);
    const int last = LastDifferingColumn(with, without);
    EXPECT_GE(last, 0) << text;
    EXPECT_LT(last, c->width() - 1) << text << " reaches the right edge";
}
} // namespace

// Every caption of the panel is whole at the stored bounds, in whatever face
// and size it is drawn.
TEST_F(PanelTest, EveryCaptionFitsItsControl) {
    int captions = 0;
    for (TComponent* component : form->Components()) {
        if (auto* r = dynamic_cast<TRadioButton*>(component)) {
            const std::string text = r->Caption();
            EXPECT_LE(CoveredTextWidth(r->font(), r->text()), r->CaptionAreaWidth()) << text;
            ExpectCaptionInside(r, text, [r](const std::string& t) { r->SetCaption(t); });
            ++captions;
        } else if (auto* l = dynamic_cast<TLabel*>(component); l && !l->Caption().empty()) {
            EXPECT_LE(CoveredTextWidth(l->font(), QString::fromStdString(l->Caption())), l->width())
                << l->Caption();
            ++captions;
        } else if (auto* o = dynamic_cast<TOvcLabel*>(component); o && !o->Caption().empty()) {
            const std::string text = o->Caption();
            ExpectCaptionInside(o, text, [o](const std::string& t) { o->SetCaption(t); });
            ++captions;
        } else if (auto* b = dynamic_cast<TAbColBitBtn*>(component)) {
            const std::string text = b->TextOff();
            TFont font;
            font.Assign(*b->Font());
            FitFontToWidth(font, text, b->TextAreaWidth());
            EXPECT_LE(CoveredTextWidth(ToQFont(font), QString::fromStdString(text)),
                      b->TextAreaWidth())
                << text;
            ExpectCaptionInside(b, text, [b](const std::string& t) {
                b->SetTextOff(t);
                b->SetTextOn(t);
            });
            ++captions;
        }
    }
    EXPECT_EQ(captions, 10 + 12 + 1 + 3);
}

// Every control the stored layout creates has its role in the form's binding
// table, and every handler it names is registered: a control added to or
// renamed in the layout cannot go unbound.
TEST_F(PanelTest, EveryControlAndHandlerOfTheLayoutIsBound) {
    const std::string layout(TForm1::StoredLayout());
    std::set<std::string> bound;
    for (const auto& [name, role] : TForm1::ControlRoles()) {
        EXPECT_FALSE(role.empty()) << name;
        EXPECT_TRUE(bound.insert(name).second) << name << " is bound twice";
    }
    const std::regex control(R"(^\s*(\w+): T\w+ \{)"), handler(R"(^\s*On\w+ = (\w+)\s*$)");
    std::istringstream lines(layout);
    int controls = 0, handlers = 0;
    for (std::string line; std::getline(lines, line);) {
        std::smatch m;
        if (std::regex_search(line, m, control) && m[1] != "Form1") {
            ++controls;
            EXPECT_TRUE(bound.count(m[1])) << m[1] << " has no role in the binding table";
        } else if (std::regex_search(line, m, handler)) {
            ++handlers;
            EXPECT_NE(form->FindMethod(m[1]), nullptr) << m[1] << " is not registered";
        }
    }
    EXPECT_EQ(controls, static_cast<int>(bound.size())) << "the table binds only the layout's";
    EXPECT_GT(handlers, 30);
}
