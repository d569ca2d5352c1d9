// SPDX-License-Identifier: GPL-3.0-or-later
// The menu's "Частота…" and "Уровень…" on the real panel: a typed frequency
// and each digit step reach the instrument at once and the status line
// shows the exact value in the panel's numbers; a level the output cannot
// play is refused with its reason, one it can moves the amplitude dial.
#include "PanelFixture.h"
#include "instrument/FrequencyDials.h"
#include "panel/ChannelReadingText.h"
#include "panel/DigitStepField.h"
#include "panel/FrequencyDialog.h"
#include "panel/LevelDialog.h"
#include "panel/OutputWatch.h"
#include "panel/PanelMenu.h"
#include "panel/PanelText.h"
#include "platform/Fonts.h"
#include "platform/WindowThread.h"
#include "tests/support/RecordingSoundOutput.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <chrono>
#include <memory>
#include <vector>

namespace {

class FineEntriesTest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        form->ToneGen1->SetPrecise(true);
    }
    void Open(const char* entry) {
        form->Menu().Popup(form->mapToGlobal(QPoint(5, 200)));
        QMenu* menu = form->Menu().OpenMenu();
        ASSERT_NE(menu, nullptr);
        for (QAction* a : menu->actions())
            if (a->text() == PanelText(entry))
                a->trigger();
        menu->close();
        QApplication::processEvents();
    }
    QString Numbers(const char* withPoint) {
        return QString::fromLatin1(withPoint).replace(QLatin1Char('.'),
                                                      PanelLocale().decimalPoint());
    }
};

TEST_F(FineEntriesTest, FrequencyAndLevelFollowTheLocale) {
    Open("Частота…");
    auto* frequency = form->findChild<FrequencyDialog*>();
    ASSERT_NE(frequency, nullptr);
    EXPECT_EQ(frequency->Field()->text(), Numbers("1000.000"));
    frequency->Field()->setText(Numbers("997.123"));
    frequency->Apply();
    const QString both = PanelText("Оба канала: %1 Гц");
    EXPECT_EQ(QString::fromStdString(form->Label9->Caption()), both.arg(Numbers("997.123")));
    // Up on the units (the cursor just right of them), then on the last decimal.
    frequency->Field()->setCursorPosition(3);
    QTest::keyClick(frequency->Field(), Qt::Key_Up);
    EXPECT_EQ(QString::fromStdString(form->Label9->Caption()), both.arg(Numbers("998.123")));
    frequency->Field()->end(false);
    QTest::keyClick(frequency->Field(), Qt::Key_Down);
    EXPECT_EQ(frequency->Field()->text(), Numbers("998.122"));
    EXPECT_EQ(QString::fromStdString(form->Label9->Caption()), both.arg(Numbers("998.122")));
    // Saved as what plays: a second of the stream, as no loop holds it.
    QTemporaryDir folder;
    const QString saved = folder.filePath(QStringLiteral("fine.wav"));
    ASSERT_EQ(form->Menu().SaveTo(saved), 0);
    const WaveFormat format = form->ToneGen1->Format();
    const qint64 header =
        QFileInfo(saved).size() - qint64(format.SamplesPerSecond()) * format.BytesPerFrame();
    EXPECT_TRUE(header >= 44 && header < 128) << header;
    frequency->Field()->setText(QStringLiteral("0"));
    frequency->Apply();
    EXPECT_FALSE(frequency->Refusal()->text().isEmpty());
    EXPECT_EQ(QString::fromStdString(form->Label9->Caption()), both.arg(Numbers("998.122")));

    Open("Уровень…");
    auto* level = form->findChild<LevelDialog*>();
    ASSERT_NE(level, nullptr);
    level->Field()->setText(QStringLiteral("0dBu"));
    level->Apply();
    EXPECT_EQ(level->Refusal()->text(),
              PanelText("Выход не откалиброван: задайте уровень в dBFS или откалибруйте выход"));
    level->Field()->setText(Numbers("-20.0dBFS"));
    level->Apply();
    EXPECT_TRUE(level->Refusal()->text().isEmpty());
    EXPECT_EQ(instrument::DialNumber(form->AbGearDial4->ValueText()), 10);
}

// What takes the status line: the hint, then volts no longer valid (each
// figure marked), then the server's resampling, then the reading; the
// longest of them stays inside the status frame.
TEST_F(FineEntriesTest, StatusLineSaysWhatMattersMostAndFits) {
    instrument::DisplayState shown;
    instrument::ChannelReading reading;
    reading.channel = instrument::Channel::Right;
    reading.frequency = MilliHertz{19999999};
    reading.rmsVolts = 0.0123;
    reading.dbu = -36;
    shown.reading = reading;
    shown.resampling = instrument::DisplayState::Resampling{176400, 44100};
    const QString resampled = ResamplingText(*shown.resampling);
    EXPECT_TRUE(resampled.contains(Numbers("176.4")) && resampled.contains(Numbers("44.1")))
        << resampled.toStdString();
    EXPECT_EQ(StatusLineText(shown), resampled);
    shown.reading->voltsValid = false;
    const QString doubted = StatusLineText(shown);
    EXPECT_EQ(doubted.count(QLatin1Char('?')), 2) << doubted.toStdString();
    // The background's status frame ends at x = 604.
    const int room = 604 - 2 - form->Label9->Left();
    for (const QString& text : {resampled, doubted, ChannelReadingText(reading)})
        EXPECT_LE(CoveredTextWidth(form->Label9->font(), text), room) << text.toStdString();
    shown.status = "Пуск";
    EXPECT_EQ(StatusLineText(shown), PanelText("Пуск"));
    shown = {};
    shown.reading = reading;
    EXPECT_EQ(StatusLineText(shown), ChannelReadingText(reading));
}

// An output whose volume the test turns, reading its rate as a server would.
class VolumeKnob : public RecordingSoundOutput {
public:
    std::optional<OutputVolume> ReadOutputVolume(const std::string&) override {
        return OutputVolume{left.load(), 65536};
    }
    std::optional<int> ReadOutputRate(const std::string&) override {
        ++rateReads;
        return 48000;
    }
    std::atomic<std::uint32_t> left{65536};
    std::atomic<int> rateReads{0};
};

// Each change of what the server says reaches the window thread once, the
// volume only while it matters, and nothing after the watch is gone.
TEST(OutputWatchTest, TellsEachChangeOnTheWindowThread) {
    using namespace std::chrono_literals;
    using instrument::OutputReport;
    auto output = std::make_shared<VolumeKnob>();
    std::vector<OutputReport> told;
    {
        OutputWatch watch(
            output,
            [&told](const OutputReport& r) {
                EXPECT_TRUE(IsWindowThread());
                told.push_back(r);
            },
            5ms);
        watch.Follow("sink", true);
        // (The server's default output, followed from the start, may have
        // been told first.)
        ASSERT_TRUE(QTest::qWaitFor([&] { return !told.empty() && told.back().leftVolume; }));
        EXPECT_EQ(told.back(), (OutputReport{65536, 65536, 48000}));
        const int rateReads = output->rateReads;
        output->left = 30000;
        ASSERT_TRUE(QTest::qWaitFor([&] { return told.back().leftVolume == 30000u; }));
        const std::size_t reports = told.size();
        QTest::qWait(50);
        EXPECT_EQ(told.size(), reports) << "the same volume again is no news";
        watch.Follow("sink", false);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !told.back().leftVolume; }));
        EXPECT_EQ(told.back().rate, 48000);
        EXPECT_EQ(output->rateReads, rateReads) << "the rate of the same output is read once";
        output->left = 20000;
        watch.Follow("sink", true);
        QTest::qWait(20); // a report may be on its way as the watch goes
    }
    const std::size_t reports = told.size();
    QApplication::processEvents();
    EXPECT_EQ(told.size(), reports);
}

} // namespace
