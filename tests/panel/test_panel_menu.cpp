// SPDX-License-Identifier: GPL-3.0-or-later
// The panel's context menu, driven as a user drives it: it opens by the
// right button, the Menu key and Shift+F10; each entry acts on the
// generator and the output (a recording one that lists two outputs); the
// sweep dialog refuses what it cannot play and says so; the choices are
// kept in a private configuration folder and survive a restart; a broken
// settings file gives the defaults; a saved file is the command line's.

#include "PanelFixture.h"
#include "cli/CommandLine.h"
#include "cli/CommandRunner.h"
#include "core/CalibrationStore.h"
#include "engine/LevelWord.h"
#include "engine/signals/SweepSignal.h"
#include "engine/steps/SteppedSweepSource.h"
#include "panel/Hints.h"
#include "panel/LevelCalibrationDialog.h"
#include "panel/PanelMenu.h"
#include "panel/PanelRemoteControl.h"
#include "panel/PanelSettings.h"
#include "panel/PanelText.h"
#include "panel/SweepDialog.h"
#include "panel/SweepInput.h"
#include "panel/SweepRun.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <arpa/inet.h>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace panel;

namespace {

// Two outputs, the first the server's default; remembers the last choice.
class TwoOutputs : public RecordingSoundOutput {
public:
    std::optional<std::vector<OutputDevice>> ListDevices() override {
        return std::vector<OutputDevice>{{"sink.one", "Первый выход", true},
                                         {"sink.two", "Второй выход", false}};
    }
    void ChooseDevice(const std::string& name) override { chosen.push_back(name); }
    std::optional<OutputVolume> ReadOutputVolume(const std::string&) override {
        return OutputVolume{40000, 30000};
    }
    std::vector<std::string> chosen;
};

std::vector<std::uint8_t> Bytes(const QString& path) {
    std::ifstream in(QFile::encodeName(path).toStdString(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

QMenu* OpenPopup() {
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

QAction* Entry(QMenu* menu, const char* russian) {
    if (!menu)
        return nullptr;
    for (QAction* a : menu->actions())
        if (a->text() == PanelText(russian))
            return a;
    return nullptr;
}

} // namespace

class PanelMenuTest : public PanelTest {
public:
    // For the data rows that set the panel up.
    using PanelTest::At;
    using PanelTest::Click;
    using PanelTest::form;

protected:
    void SetUp() override {
        ASSERT_TRUE(config.isValid());
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
        PanelTest::SetUp();
        Start(true);
    }
    void TearDown() override {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
        PanelTest::TearDown();
    }
    std::shared_ptr<RecordingSoundOutput> MakeSound() override {
        outputs = std::make_shared<TwoOutputs>();
        return outputs;
    }
    // As the program starts: the synthesis first, then the kept choices.
    void Start(bool precise) {
        Gen().SetPrecise(precise);
        form->UseRememberedChoices();
    }
    // A new panel on the same configuration folder, as at the next run.
    void Restart(bool precise = true) {
        form.reset();
        outputs->chosen.clear();
        form = std::make_unique<TForm1>();
        form->Timer1->SetEnabled(false);
        Start(precise);
    }

public:
    QMenu* OpenMenu() {
        window_input::Press(*form, QPoint(5, 200), Qt::RightButton);
        window_input::Release(*form, QPoint(5, 200), Qt::RightButton);
        return OpenPopup();
    }
    // Opens the menu and triggers the entry under `sub`.
    void Choose(const char* sub, const char* entry) {
        QMenu* menu = OpenMenu();
        ASSERT_NE(menu, nullptr);
        QAction* subEntry = Entry(menu, sub);
        ASSERT_NE(subEntry, nullptr) << sub;
        QAction* item = Entry(subEntry->menu(), entry);
        ASSERT_NE(item, nullptr) << entry;
        ASSERT_TRUE(item->isEnabled()) << entry;
        item->trigger();
        menu->close();
        QApplication::processEvents();
    }
    // The checked entries' texts under `sub`.
    QString Checked(const char* sub) {
        QMenu* menu = OpenMenu();
        if (!menu)
            return QStringLiteral("(no menu)");
        QAction* subEntry = Entry(menu, sub);
        QStringList found;
        for (QAction* a : subEntry ? subEntry->menu()->actions() : QList<QAction*>{})
            if (a->isChecked())
                found << a->text();
        menu->close();
        return found.join(QLatin1Char('|'));
    }
    SweepDialog* OpenSweep() {
        QMenu* menu = OpenMenu();
        Entry(menu, "Качание частоты…")->trigger();
        menu->close();
        QApplication::processEvents();
        return form->Menu().Dialog();
    }

protected:
    QTemporaryDir config;
    std::shared_ptr<TwoOutputs> outputs;
};

// --- opening -------------------------------------------------------------------

class MenuOpens : public PanelMenuTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(MenuOpens, ByEveryWayWithItsEntriesAndEscapeClosesIt) {
    const std::string way = GetParam();
    if (way == "menu key") {
        Key(Qt::Key_Menu);
    } else if (way == "shift f10") {
        QTest::keyClick(window_input::WindowOf(*form), Qt::Key_F10, Qt::ShiftModifier);
        QApplication::processEvents();
    } else {
        // Anywhere: a control, a label, a button, the bare picture.
        QWidget* on = way == "dial"     ? static_cast<QWidget*>(form->AbGearDial2)
                      : way == "button" ? static_cast<QWidget*>(form->AbColBitBtn1)
                      : way == "switch" ? static_cast<QWidget*>(form->RadioButton3)
                                        : static_cast<QWidget*>(form->Image1);
        window_input::Press(*form, At(on), Qt::RightButton);
        window_input::Release(*form, At(on), Qt::RightButton);
    }
    QMenu* menu = OpenPopup();
    ASSERT_NE(menu, nullptr);
    QStringList texts;
    for (QAction* a : menu->actions())
        texts << a->text();
    const QStringList expected{PanelText("Устройство вывода"),
                               PanelText("Формат"),
                               PanelText("Сигнал"),
                               PanelText("Частота…"),
                               PanelText("Уровень…"),
                               PanelText("Качание частоты…"),
                               PanelText("Наборы"),
                               PanelText("Сохранить в файл WAV…"),
                               PanelText("Калибровка уровня…"),
                               PanelText("Удалённое управление"),
                               PanelText("О программе")};
    EXPECT_EQ(texts, expected);
    if (way == "menu key" || way == "shift f10") {
        EXPECT_EQ(menu->activeAction(), menu->actions().front()) << "the keyboard starts on it";
    }
    QTest::keyClick(menu, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_EQ(OpenPopup(), nullptr);
    EXPECT_EQ(Gen().Frequency(), 1000) << "nothing on the panel changed";
}

INSTANTIATE_TEST_SUITE_P(Ways, MenuOpens,
                         ::testing::Values("menu key", "shift f10", "dial", "button", "switch",
                                           "picture"),
                         [](const auto& info) {
                             std::string n = info.param;
                             std::replace(n.begin(), n.end(), ' ', '_');
                             return n;
                         });

TEST_F(PanelMenuTest, TheBackgroundsHintNamesTheMenu) {
    Move(At(form->AbGearDial1));
    Move(QPoint(5, 200));
    EXPECT_EQ(form->Label9->Caption(), PanelString(hints::kMenu));
}

TEST_F(PanelMenuTest, TheKeyboardAloneReachesAFormat) {
    Key(Qt::Key_Menu);
    QMenu* menu = OpenPopup();
    ASSERT_NE(menu, nullptr);
    // From the first entry down to "Формат", into it, down to "24 бита".
    for (Qt::Key k : {Qt::Key_Down, Qt::Key_Right, Qt::Key_Down, Qt::Key_Return}) {
        QTest::keyClick(QApplication::activePopupWidget(), k);
        QApplication::processEvents();
    }
    EXPECT_EQ(Gen().Resolution(), TTGResolution::tg24Bit);
    EXPECT_EQ(OpenPopup(), nullptr);
}

// --- the entries ----------------------------------------------------------------

TEST_F(PanelMenuTest, TheOutputsAreListedAndChoosingOneMovesTheSound) {
    Click(At(form->AbColBitBtn1));
    EXPECT_EQ(Checked("Устройство вывода"), "Первый выход") << "the default in use";
    const int plays = sound->PlayCount();
    Choose("Устройство вывода", "Второй выход");
    EXPECT_EQ(outputs->chosen, std::vector<std::string>{"sink.two"});
    EXPECT_EQ(sound->PlayCount(), plays) << "the output moves what plays; nothing restarts";
    EXPECT_EQ(Checked("Устройство вывода"), "Второй выход");
}

struct FormatCase {
    const char* entry;
    TTGResolution resolution;
    TTGQuality quality;
    std::uint16_t formatTag; // of the image played next
    std::uint16_t bits;
    std::uint32_t rate;
};

class FormatEntries : public PanelMenuTest, public ::testing::WithParamInterface<FormatCase> {};

TEST_P(FormatEntries, AreHeardAtOnce) {
    Click(At(form->AbColBitBtn1));
    Choose("Формат", GetParam().entry);
    EXPECT_EQ(Gen().Resolution(), GetParam().resolution);
    EXPECT_EQ(Gen().Quality(), GetParam().quality);
    const auto image = sound->Calls().back().image;
    ASSERT_GE(image.size(), 44u);
    std::uint16_t tag = 0, bits = 0;
    std::uint32_t rate = 0;
    std::memcpy(&tag, image.data() + 20, 2);
    std::memcpy(&rate, image.data() + 24, 4);
    std::memcpy(&bits, image.data() + 34, 2);
    EXPECT_EQ(tag, GetParam().formatTag);
    EXPECT_EQ(bits, GetParam().bits);
    EXPECT_EQ(rate, GetParam().rate);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, FormatEntries,
    ::testing::Values(
        FormatCase{"24 бита", TTGResolution::tg24Bit, TTGQuality::tgHiQ, 1, 24, 96000},
        FormatCase{"32 бита (плавающая точка)", TTGResolution::tgFloat, TTGQuality::tgHiQ, 3, 32,
                   96000},
        FormatCase{"44,1 кГц", TTGResolution::tg16Bit, TTGQuality::tgLoQ, 1, 16, 44100},
        FormatCase{"192 кГц", TTGResolution::tg16Bit, TTGQuality::tgHiQ, 1, 16, 192000}));

TEST_F(PanelMenuTest, ClassicOffersOnlyItsFormatsAndNoSignals) {
    Restart(false);
    QMenu* menu = OpenMenu();
    QStringList formats;
    for (QAction* a : Entry(menu, "Формат")->menu()->actions())
        if (!a->isSeparator())
            formats << a->text();
    EXPECT_EQ(formats,
              (QStringList{PanelText("16 бит"), PanelText("44,1 кГц"), PanelText("96 кГц")}));
    EXPECT_FALSE(Entry(menu, "Сигнал")->isEnabled());
    EXPECT_FALSE(Entry(menu, "Качание частоты…")->isEnabled());
    menu->close();
}

TEST_F(PanelMenuTest, ASignalShowsDashesUntilTheWaveformSwitchTakesOver) {
    Click(At(form->AbColBitBtn1));
    for (const char* entry : {"Розовый шум", "Двухтональный SMPTE (60 Гц + 7 кГц)",
                              "Двухтональный CCIF (19 + 20 кГц)"}) {
        SCOPED_TRACE(entry);
        const int plays = sound->PlayCount();
        Choose("Сигнал", entry);
        EXPECT_NE(Gen().Signal().kind, SignalKind::Tone);
        EXPECT_GT(sound->PlayCount(), plays) << "heard at once";
        Tick();
        EXPECT_EQ(Text(form->Label1), "--");
        EXPECT_EQ(Text(form->Label7), "--");
        EXPECT_EQ(Checked("Сигнал"), PanelText(entry));
    }
    Click(At(form->RadioButton2));
    EXPECT_EQ(Gen().Signal().kind, SignalKind::Tone);
    EXPECT_EQ(Gen().Waveform(), TTGWave::tgSquare);
    EXPECT_EQ(Checked("Сигнал"), PanelText("Как на панели"));
    Tick();
    EXPECT_EQ(Text(form->Label1), "01");
}

TEST_F(PanelMenuTest, TheSweepPlaysFollowsOnTheDisplaysAndStopsByEitherStop) {
    SweepDialog* dialog = OpenSweep();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    dialog->From()->setText("100");
    dialog->To()->setText("10000");
    dialog->Seconds()->setText("2,5");
    dialog->Repeat()->setChecked(true);
    QTest::keyClick(dialog->Seconds(), Qt::Key_Return); // the default button: Start
    EXPECT_TRUE(form->Running());
    EXPECT_EQ(Gen().Signal().kind, SignalKind::Sweep);
    EXPECT_EQ(Gen().Signal().sweep.startHz, 100);
    EXPECT_EQ(Gen().Signal().sweep.durationMs, 2500);
    EXPECT_TRUE(Gen().Signal().sweep.joinLoop);
    EXPECT_EQ(Text(form->Label1), "00");
    EXPECT_EQ(Text(form->Label2), "1");
    Tick(); // the panel's own timer leaves the sweep's displays alone
    EXPECT_EQ(Text(form->Label1), "00");
    // The panel's Stop ends it; the generator goes back to the tone.
    Click(At(form->AbColBitBtn2));
    EXPECT_FALSE(form->Menu().Sweeping());
    EXPECT_EQ(Gen().Signal().kind, SignalKind::Tone);
    EXPECT_TRUE(Gen().Loop());
    // Again, ended by the dialog's Stop.
    dialog->Start();
    EXPECT_TRUE(form->Menu().Sweeping());
    dialog->StopButton()->click();
    EXPECT_FALSE(form->Menu().Sweeping());
    EXPECT_FALSE(form->Running());
    QTest::keyClick(dialog, Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->Menu().Dialog() == nullptr; }));
}

// In steps, the dialog streams a stepped sweep whose displays show each
// step once the output has played it; the menu's multitone takes the
// tone's place.
TEST_F(PanelMenuTest, StepsAndTheMultitoneReachTheInstrument) {
    SweepDialog* dialog = OpenSweep();
    ASSERT_NE(dialog, nullptr);
    dialog->From()->setText("2000");
    dialog->To()->setText("1000");
    dialog->Stepped()->setChecked(true);
    EXPECT_FALSE(dialog->Seconds()->isEnabled());
    dialog->Steps()->setText("2");
    dialog->Dwell()->setText("5");
    dialog->Start();
    EXPECT_TRUE(dialog->Refusals()->text().contains(PanelText("Выдержка, мс")));
    EXPECT_FALSE(form->Menu().Sweeping());
    dialog->Dwell()->setText("10");
    double now = 0;
    form->Menu().Sweep().SetClock([&now] { return now; });
    dialog->Start();
    ASSERT_TRUE(form->Menu().Sweeping());
    auto* source = dynamic_cast<SteppedSweepSource*>(sound->Streaming());
    ASSERT_NE(source, nullptr);
    sound->SetStreamFramesHeard(source->Schedule().steps[1].startFrame + 1);
    now = 1; // heard no faster than the clock
    form->Menu().Sweep().Follow();
    form->Menu().Sweep().SetClock(instrument::Instrument::SteadySeconds);
    EXPECT_EQ(Text(form->Label1) + Text(form->Label2) + Text(form->Label3), "01000");
    dialog->StopButton()->click();
    EXPECT_FALSE(form->Running());
    EXPECT_EQ(sound->Streaming(), nullptr);

    // Its period is made away from the window, which says so meanwhile.
    Choose("Сигнал", "Мультитон");
    EXPECT_EQ(Checked("Сигнал"), PanelText("Мультитон"));
    EXPECT_EQ(Text(form->Label9), PanelString(instrument::kMakingMultitone));
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->Model().State().multitone.chosen; }, 120000));
    QMenu* menu = OpenMenu();
    EXPECT_FALSE(Entry(menu, "Сохранить в файл WAV…")->isEnabled()) << "it would write the tone";
    menu->close();
    Click(At(form->AbColBitBtn1));
    EXPECT_NE(sound->Streaming(), nullptr);
    Choose("Сигнал", "Как на панели");
    EXPECT_EQ(sound->Streaming(), nullptr);
    EXPECT_EQ(Checked("Сигнал"), PanelText("Как на панели"));
}

// A dial turned while a sweep plays starts the sweep's sound again from its
// beginning; the displays (and the end of a sweep played once) must start
// again with it. The sweep's clock is the test's.
class SweepAndDial : public PanelMenuTest, public ::testing::WithParamInterface<bool> {
protected:
    std::string Shown() const {
        return Text(form->Label1) + Text(form->Label2) + Text(form->Label3);
    }
    static std::string Digits(double hz) {
        char text[8];
        std::snprintf(text, sizeof text, "%05ld", std::lround(hz));
        return text;
    }
};

TEST_P(SweepAndDial, TheDisplaysFollowTheSoundThatStartedAgain) {
    const bool repeat = GetParam();
    double now = 100;
    SweepRun& run = form->Menu().Sweep();
    run.SetClock([&now] { return now; });
    SweepDialog* dialog = OpenSweep();
    dialog->From()->setText("100");
    dialog->To()->setText("10000");
    dialog->Seconds()->setText("2");
    dialog->Repeat()->setChecked(repeat);
    dialog->Start();
    ASSERT_TRUE(form->Menu().Sweeping());
    const SweepLaw law(Gen().Signal().sweep);

    now += 1.5;
    run.Follow();
    EXPECT_EQ(Shown(), Digits(law.FrequencyAt(1.5)));
    const int plays = sound->PlayCount();
    FocusDial(form->AbGearDial4);
    Key(Qt::Key_Up);
    ASSERT_GT(sound->PlayCount(), plays) << "the turn is heard: the sweep plays again";
    EXPECT_EQ(Shown(), Digits(100));

    now += 1.0; // 2.5 s after the first start, 1 s into the sweep heard
    run.Follow();
    EXPECT_TRUE(form->Running());
    EXPECT_EQ(Shown(), Digits(law.FrequencyAt(1.0)));
    now += 1.5;
    run.Follow();
    EXPECT_EQ(form->Running(), repeat) << "a sweep played once ends when it has been heard";
}

INSTANTIATE_TEST_SUITE_P(OnceOrRepeated, SweepAndDial, ::testing::Bool());

struct SweepFieldsCase {
    const char* from;
    const char* to;
    const char* seconds;
    int refusals; // 0: accepted
    int durationMs;
};

class SweepFields : public ::testing::TestWithParam<SweepFieldsCase> {};

TEST_P(SweepFields, AreReadOrRefusedByName) {
    const SweepFieldsCase& c = GetParam();
    const SweepInput input = ReadSweepInput(c.from, c.to, c.seconds, false);
    EXPECT_EQ(input.refusals.size(), c.refusals) << input.refusals.join(" | ").toStdString();
    EXPECT_EQ(input.settings.has_value(), c.refusals == 0);
    if (input.settings) {
        EXPECT_EQ(input.settings->durationMs, c.durationMs);
    }
    // Each refusal quotes what was typed (nothing silently clamped).
    for (const QString& refusal : input.refusals)
        EXPECT_TRUE(refusal.contains(QString::fromUtf8(c.from)) ||
                    refusal.contains(QString::fromUtf8(c.to)) ||
                    refusal.contains(QString::fromUtf8(c.seconds)) ||
                    refusal.contains(PanelText("«От» и «До» должны различаться")))
            << refusal.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Rows, SweepFields,
                         ::testing::Values(SweepFieldsCase{"20", "20000", "10", 0, 10000},
                                           SweepFieldsCase{" 1000 ", "20", "0.1", 0, 100},
                                           SweepFieldsCase{"20", "20000", "60,000", 0, 60000},
                                           SweepFieldsCase{"20", "20000", "1,234", 0, 1234},
                                           SweepFieldsCase{"19", "20000", "10", 1, 0},
                                           SweepFieldsCase{"20", "20001", "10", 1, 0},
                                           SweepFieldsCase{"500", "500", "10", 1, 0},
                                           SweepFieldsCase{"20", "20000", "0,09", 1, 0},
                                           SweepFieldsCase{"20", "20000", "61", 1, 0},
                                           SweepFieldsCase{"20", "20000", "1.2345", 1, 0},
                                           SweepFieldsCase{"-20", "2e4", "", 3, 0},
                                           SweepFieldsCase{"abc", "1000", "10", 1, 0}));

TEST_F(PanelMenuTest, TheDialogNamesRefusedValuesAndPlaysNothing) {
    SweepDialog* dialog = OpenSweep();
    ASSERT_NE(dialog, nullptr);
    dialog->From()->setText("5");
    dialog->Seconds()->setText("90");
    dialog->StartButton()->click();
    EXPECT_FALSE(form->Running());
    EXPECT_EQ(Gen().Signal().kind, SignalKind::Tone);
    EXPECT_TRUE(dialog->Refusals()->text().contains("«5»"));
    EXPECT_TRUE(dialog->Refusals()->text().contains("«90»"));
    EXPECT_EQ(dialog->From()->text(), "5") << "the value stays as typed";
}

// --- saving ---------------------------------------------------------------------

struct SaveCase {
    const char* name;
    std::function<void(PanelMenuTest&)> set; // what the panel is made to play
    QStringList options;                     // the same for `orbel export`
};

class SaveAsWav : public PanelMenuTest, public ::testing::WithParamInterface<SaveCase> {};

TEST_P(SaveAsWav, WritesTheCommandLinesFile) {
    GetParam().set(*this);
    const QString saved = config.filePath("saved.wav"), exported = config.filePath("cli.wav");
    ASSERT_EQ(form->Menu().SaveTo(saved), 0);
    CommandLineParser parser;
    const CommandLine line =
        parser.Parse(QStringList{"orbel", "export", exported} + GetParam().options);
    ASSERT_EQ(line.action, CommandLine::Action::Export) << line.error;
    testing::internal::CaptureStdout();
    ASSERT_EQ(RunExport(line.tone, exported.toStdString()), 0);
    testing::internal::GetCapturedStdout();
    const auto bytes = Bytes(saved);
    ASSERT_GT(bytes.size(), 44u);
    EXPECT_TRUE(bytes == Bytes(exported));
}

INSTANTIATE_TEST_SUITE_P(
    Signals, SaveAsWav,
    ::testing::Values(SaveCase{"Tone", [](PanelMenuTest&) {}, {"--frequency", "1000"}},
                      SaveCase{"Square24At44k",
                               [](PanelMenuTest& t) {
                                   t.Choose("Формат", "24 бита");
                                   t.Choose("Формат", "44,1 кГц");
                                   t.Click(t.At(t.form->RadioButton2));
                               },
                               {"--frequency", "1000", "--waveform", "square", "--bits", "24",
                                "--rate", "44100"}},
                      SaveCase{"Sine24At48k",
                               [](PanelMenuTest& t) {
                                   t.Choose("Формат", "24 бита");
                                   t.Choose("Формат", "48 кГц");
                               },
                               {"--frequency", "1000", "--bits", "24", "--rate", "48000"}},
                      SaveCase{"WhiteNoise",
                               [](PanelMenuTest& t) { t.Click(t.At(t.form->RadioButton5)); },
                               {"--frequency", "1000", "--waveform", "noise"}},
                      SaveCase{"PinkNoise",
                               [](PanelMenuTest& t) { t.Choose("Сигнал", "Розовый шум"); },
                               {"--waveform", "pink"}},
                      SaveCase{"SmpteFloat",
                               [](PanelMenuTest& t) {
                                   t.Choose("Формат", "32 бита (плавающая точка)");
                                   t.Choose("Сигнал", "Двухтональный SMPTE (60 Гц + 7 кГц)");
                               },
                               {"--waveform", "smpte", "--bits", "float"}},
                      SaveCase{"LinearSweepOnce",
                               [](PanelMenuTest& t) {
                                   SweepDialog* d = t.OpenSweep();
                                   d->From()->setText("20000");
                                   d->To()->setText("20");
                                   d->Seconds()->setText("0,5");
                                   d->Linear()->setChecked(true);
                                   d->Repeat()->setChecked(true);
                                   d->Start();
                               },
                               {"--sweep", "20000:20", "--linear", "--duration", "500"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PanelMenuTest, TheSavedToneIsWhatPlays) {
    Click(At(form->AbColBitBtn1));
    const QString saved = config.filePath("playing.wav");
    ASSERT_EQ(form->Menu().SaveTo(saved), 0);
    EXPECT_TRUE(Bytes(saved) == sound->Calls().back().image);
}

TEST_F(PanelMenuTest, TheFileDialogWritesTheChosenFileAndAFailureIsShown) {
    QMenu* menu = OpenMenu();
    Entry(menu, "Сохранить в файл WAV…")->trigger();
    menu->close();
    auto* dialog = form->findChild<QFileDialog*>();
    ASSERT_NE(dialog, nullptr);
    const QString file = config.filePath("chosen.wav");
    dialog->selectFile(file);
    QMetaObject::invokeMethod(dialog, "accept");
    QApplication::processEvents();
    EXPECT_TRUE(QFile::exists(file));
    // Into a folder that does not exist: a message, no file.
    EXPECT_NE(form->Menu().SaveTo(config.filePath("missing/x.wav")), 0);
}

TEST_F(PanelMenuTest, AboutNamesTheVersionLicenceAndManual) {
    QMenu* menu = OpenMenu();
    Entry(menu, "О программе")->trigger();
    menu->close();
    auto* box = form->findChild<QMessageBox*>();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->text().contains("orbel"));
    EXPECT_TRUE(box->text().contains("GPL-3.0-or-later"));
    EXPECT_TRUE(box->text().contains("man orbel"));
    QTest::keyClick(box, Qt::Key_Escape);
}

// --- kept between runs -------------------------------------------------------

TEST_F(PanelMenuTest, ChoicesSurviveARestartAndNothingElseIsWritten) {
    EXPECT_FALSE(QFile::exists(panel_settings::FilePath())) << "nothing written until a choice";
    Choose("Устройство вывода", "Второй выход");
    Choose("Формат", "24 бита");
    Choose("Формат", "44,1 кГц");
    Choose("Сигнал", "Розовый шум");
    TurnDial(form->AbGearDial1, Qt::Key_Up);
    Restart();
    EXPECT_EQ(outputs->chosen, std::vector<std::string>{"sink.two"});
    EXPECT_EQ(Gen().Resolution(), TTGResolution::tg24Bit);
    EXPECT_EQ(Gen().Quality(), TTGQuality::tgLoQ);
    EXPECT_EQ(Gen().Signal().kind, SignalKind::PinkNoise);
    EXPECT_EQ(Text(form->Label1), "--");
    EXPECT_EQ(Gen().Frequency(), 1000) << "the dials start as designed";
    const QStringList written =
        QDir(config.path()).entryList(QDir::Files | QDir::NoDotAndDotDot) +
        QDir(config.filePath("orbel")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    EXPECT_EQ(written, QStringList{"orbel.conf"});
    Choose("Формат", "176,4 кГц");
    Restart();
    EXPECT_EQ(Gen().Format().SamplesPerSecond(), 176400) << "a rate of the precise synthesis's own";
    // Under the classic synthesis the wide format and the signal give way,
    // and the file keeps them for the next precise run, also when a choice
    // the classic synthesis shows is made.
    Restart(false);
    EXPECT_EQ(Gen().Resolution(), TTGResolution::tg16Bit);
    EXPECT_FALSE(Gen().Signal().Active());
    Choose("Формат", "96 кГц");
    const PanelChoices kept = panel_settings::Load();
    EXPECT_EQ(kept.resolution, TTGResolution::tg24Bit);
    EXPECT_EQ(kept.signal, SignalKind::PinkNoise);
    EXPECT_EQ(kept.quality, TTGQuality::tgHiQ);
}

TEST_F(PanelMenuTest, RemoteControlIsOffUntilChosenAndItsCommandsMoveThePanel) {
    PanelRemoteControl& remote = PanelRemoteControl::Of(*form, form->Model());
    QMenu* menu = OpenMenu();
    QAction* entry = Entry(menu, "Удалённое управление");
    ASSERT_NE(entry, nullptr);
    EXPECT_TRUE(entry->isCheckable());
    EXPECT_FALSE(entry->isChecked());
    menu->close();
    Choose("Формат", "24 бита");
    remote.UsePort(0);
    ASSERT_TRUE(remote.Switch(true));
    EXPECT_TRUE(panel_settings::LoadRemoteControl());
    EXPECT_EQ(panel_settings::Load().resolution, TTGResolution::tg24Bit) << "the choices stay";

    // A client's lines are done on the window thread: served while it runs.
    const int client = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(std::uint16_t(remote.Port()));
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::connect(client, reinterpret_cast<sockaddr*>(&to), sizeof to);
    // Levels in volts through the panel's calibration of its output.
    OutputCalibration calibration;
    calibration.left = calibration.right = ChannelCalibration{2.0, "2026-12-09T17:46:00Z", 65536};
    form->Model().UseCalibration(calibration);
    // The reply to `ask`, while the window thread runs; `meanwhile` on each
    // turn of the loop.
    const auto exchange = [&](const std::string& ask, const std::function<void()>& meanwhile) {
        std::string reply;
        for (int i = 0; i < 500 && reply.find('\n') == std::string::npos; ++i) {
            if (i == 5)
                ::send(client, ask.data(), ask.size(), MSG_NOSIGNAL);
            char buffer[256];
            const ssize_t got = ::recv(client, buffer, sizeof buffer, 0);
            if (got > 0)
                reply.append(buffer, std::size_t(got));
            if (i > 5)
                meanwhile();
            QApplication::processEvents();
            QThread::msleep(10);
        }
        return reply;
    };
    const std::string reply =
        exchange("FREQ 440;:VOLT:UNIT VRMS;:VOLT 0.5;:FREQ?;:VOLT?;:SYST:SHUT;:SYST:ERR?\n", [] {});
    EXPECT_EQ(reply.substr(0, 8), "440;0.5;") << reply;
    EXPECT_EQ(reply.find(";0,"), std::string::npos) << "a client cannot end the panel: " << reply;
    EXPECT_EQ(Gen().Frequency(), 440);
    EXPECT_EQ(form->Model().State().dials[1].reading, 4) << "the dials follow";
    // *OPC? waits for a stepped sweep, which the panel follows to its end.
    int turns = 0;
    const std::string waited = exchange(
        "SWE:STEP:STAR 100;STOP 200;COUN 2;DWEL 0.01;:SWE:STEP ON;:OUTP1 ON;*OPC?;:SWE:STEP?\n",
        [&] {
            auto* source = dynamic_cast<SteppedSweepSource*>(sound->Streaming());
            if (++turns == 10 && source)
                sound->SetStreamFramesHeard(source->Schedule().endFrame);
        });
    EXPECT_EQ(waited, "1;0\n");
    EXPECT_GE(turns, 10) << "answered once the sweep had ended";
    ::close(client);
    ASSERT_TRUE(remote.Switch(false));
    EXPECT_FALSE(panel_settings::LoadRemoteControl());
}

struct BrokenFile {
    const char* name;
    QByteArray content;
};

class BrokenSettings : public PanelMenuTest, public ::testing::WithParamInterface<BrokenFile> {};

TEST_P(BrokenSettings, GiveTheDefaultsSilently) {
    QDir().mkpath(config.filePath("orbel"));
    QFile file(panel_settings::FilePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(GetParam().content);
    file.close();
    testing::internal::CaptureStderr();
    Restart();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(form->Menu().Choices(), PanelChoices{});
    EXPECT_TRUE(outputs->chosen.empty());
    EXPECT_EQ(Gen().Resolution(), TTGResolution::tg16Bit);
    EXPECT_EQ(Gen().Quality(), TTGQuality::tgHiQ);
    EXPECT_FALSE(Gen().Signal().Active());
    // A choice then writes a good file in its place.
    Choose("Формат", "24 бита");
    EXPECT_EQ(panel_settings::Load().resolution, TTGResolution::tg24Bit);
}

INSTANTIATE_TEST_SUITE_P(
    Files, BrokenSettings,
    ::testing::Values(BrokenFile{"Binary", QByteArray("\x00\xff\xfe[[[\x01=\n\x80", 10)},
                      BrokenFile{"WrongValues",
                                 "[output]\ndevice=sink.gone\n[format]\nbits=12\nrate=8000\n"
                                 "[signal]\nkind=square\n"},
                      BrokenFile{"Empty", ""},
                      // A syntax error after a good value: the whole file is doubtful.
                      BrokenFile{"SyntaxErrorInAKnownGroup", "[format]\nbits=24\n[[[\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// The words in users' files are read as they always were, and written the same.
struct KeptFile {
    const char* name;
    const char* content;
    PanelChoices choices;
};

class KeptSettings : public PanelMenuTest, public ::testing::WithParamInterface<KeptFile> {};

TEST_P(KeptSettings, ReadAndWriteTheSameWords) {
    QDir().mkpath(config.filePath("orbel"));
    QFile file(panel_settings::FilePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(GetParam().content);
    file.close();
    EXPECT_EQ(panel_settings::Load(), GetParam().choices);
    ASSERT_EQ(panel_settings::Save(GetParam().choices), panel_settings::SaveOutcome::Saved);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    for (const QByteArray& line : QByteArray(GetParam().content).split('\n'))
        EXPECT_TRUE(written.contains(line)) << line.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Words, KeptSettings,
    ::testing::Values(
        KeptFile{"FloatLowRateCcif",
                 "[format]\nbits=float\nrate=44100\n[signal]\nkind=ccif",
                 {"", TTGResolution::tgFloat, TTGQuality::tgLoQ, SignalKind::Ccif, 0, true}},
        KeptFile{"WideSmpte",
                 "[format]\nbits=24\nrate=96000\n[signal]\nkind=smpte",
                 {"", TTGResolution::tg24Bit, TTGQuality::tgHiQ, SignalKind::Smpte, 0, true}},
        KeptFile{"PlainPink",
                 "[format]\nbits=16\nrate=96000\n[signal]\nkind=pink",
                 {"", TTGResolution::tg16Bit, TTGQuality::tgHiQ, SignalKind::PinkNoise, 0, true}},
        KeptFile{"Panel",
                 "[format]\nbits=16\nrate=44100\n[signal]\nkind=panel",
                 {"", TTGResolution::tg16Bit, TTGQuality::tgLoQ, SignalKind::Tone, 0, true}},
        // No rate chosen: the output's own.
        KeptFile{"OutputsOwnRate",
                 "[format]\nbits=16\nrate=output\n[signal]\nkind=panel",
                 {"", TTGResolution::tg16Bit, TTGQuality::tgHiQ, SignalKind::Tone}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PanelMenuTest, AFileThatCannotBeReadGivesTheDefaults) {
    // A folder where the file should be: unreadable as settings, for root
    // too; the panel starts with the defaults and says nothing.
    ASSERT_TRUE(QDir().mkpath(panel_settings::FilePath()));
    testing::internal::CaptureStderr();
    Restart();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(form->Menu().Choices(), PanelChoices{});
    EXPECT_EQ(Gen().Resolution(), TTGResolution::tg16Bit);
}

TEST_F(PanelMenuTest, AFileOverAMegabyteGivesTheDefaultsWithOneLine) {
    QDir().mkpath(config.filePath("orbel"));
    QFile file(panel_settings::FilePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[format]\nbits=24\n" + QByteArray(1 << 20, ';'));
    file.close();
    testing::internal::CaptureStderr();
    Restart();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find("orbel.conf"), std::string::npos) << said;
    EXPECT_EQ(Gen().Resolution(), TTGResolution::tg16Bit);
}

// A FIFO where the file should be (or a link to one, to a device, to a
// file that is no settings file): the panel neither waits nor writes, keeps
// the choice for this run, and says once that it is not saved.
TEST_F(PanelMenuTest, WhatIsNoSettingsFileIsNeitherReadNorReplaced) {
    QDir().mkpath(config.filePath("orbel"));
    const QByteArray fifo = QFile::encodeName(panel_settings::FilePath());
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    Restart(); // would wait for a writer for good
    EXPECT_EQ(form->Menu().Choices(), PanelChoices{});
    Choose("Формат", "24 бита"); // would wait for a reader for good
    EXPECT_EQ(Gen().Resolution(), TTGResolution::tg24Bit);
    auto boxes = form->findChildren<QMessageBox*>();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes.front()->text().contains(panel_settings::FilePath()));
    boxes.front()->close();
    QApplication::processEvents();
    Choose("Формат", "44,1 кГц");
    EXPECT_TRUE(form->findChildren<QMessageBox*>().empty() ||
                !form->findChildren<QMessageBox*>().front()->isVisible())
        << "said once";
    struct stat info {};
    ASSERT_EQ(::lstat(fifo.constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    // A link to a file that is no settings file: the file stays as it was.
    ASSERT_EQ(::unlink(fifo.constData()), 0);
    const QString script = config.filePath("script.sh");
    QFile other(script);
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write("#!/bin/sh\necho hi\n");
    other.close();
    ASSERT_TRUE(QFile::link(script, panel_settings::FilePath()));
    EXPECT_EQ(panel_settings::Save(PanelChoices{}), panel_settings::SaveOutcome::Refused);
    const std::string kept = "#!/bin/sh\necho hi\n";
    EXPECT_EQ(Bytes(script), std::vector<std::uint8_t>(kept.begin(), kept.end()));
}

// --- texts fit ----------------------------------------------------------------

TEST_F(PanelMenuTest, EveryCaptionOfTheSweepDialogFits) {
    SweepDialog* dialog = OpenSweep();
    ASSERT_NE(dialog, nullptr);
    dialog->Seconds()->setText("0");
    dialog->Start(); // with a refusal shown
    QApplication::processEvents();
    for (QLabel* label : dialog->findChildren<QLabel*>()) {
        if (!label->wordWrap()) {
            EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()),
                      label->contentsRect().width())
                << label->text().toStdString();
        }
    }
    for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
        EXPECT_GE(button->width(), button->sizeHint().width()) << button->text().toStdString();
    EXPECT_GE(dialog->width(), dialog->sizeHint().width());
}

// --- level calibration ----------------------------------------------------------

TEST(LevelCalibrationReading, TakesVoltsInEitherScriptAndTheLocalesDecimalSeparator) {
    struct Row {
        const char* typed;
        bool decimalComma;
        std::optional<double> volts;
    };
    for (const Row& r :
         {Row{"0.245", false, 0.245}, Row{" 245mV ", false, 0.245}, Row{"0,245", true, 0.245},
          Row{"245 мВ", true, 0.245}, Row{"1,5 В", true, 1.5}, Row{"0.5", true, 0.5},
          // An English "1,000mV" is a thousand, never one.
          Row{"1,000mV", false, std::nullopt}, Row{"0", true, std::nullopt},
          Row{"-0,3", true, std::nullopt}, Row{"0,2 dBu", true, std::nullopt},
          Row{"", true, std::nullopt}, Row{"В", true, std::nullopt}}) {
        const std::optional<double> got =
            LevelCalibrationDialog::ReadingOf(QString::fromUtf8(r.typed), r.decimalComma);
        ASSERT_EQ(got.has_value(), r.volts.has_value()) << r.typed;
        if (got) {
            EXPECT_DOUBLE_EQ(*got, *r.volts) << r.typed;
        }
    }
}

class LevelCalibrationTest : public PanelMenuTest {
protected:
    LevelCalibrationDialog* OpenCalibration() {
        QMenu* menu = OpenMenu();
        QAction* entry = Entry(menu, "Калибровка уровня…");
        if (!entry)
            return nullptr;
        entry->trigger();
        menu->close();
        QApplication::processEvents();
        return form->findChild<LevelCalibrationDialog*>();
    }
    std::optional<ChannelCalibration> Stored(OutputChannel channel) {
        return CalibrationStore(CalibrationStore::DefaultPath())
            .Load()
            .table.Find("sink.one", channel);
    }
};

TEST_F(LevelCalibrationTest, EachChannelPlaysAloneAndBothReadingsAreStoredWithTheirVolumes) {
    Click(At(form->AbColBitBtn1)); // the panel plays: calibrating stops it
    LevelCalibrationDialog* dialog = OpenCalibration();
    ASSERT_NE(dialog, nullptr);
    dialog->Next();
    EXPECT_TRUE(outputs->Playing());
    EXPECT_EQ(outputs->Level(), LevelWordFromPercent(100, 0));
    dialog->Reading()->setText("abc");
    dialog->Next(); // refused: the left still plays
    EXPECT_EQ(outputs->Level(), LevelWordFromPercent(100, 0));
    dialog->Reading()->setText(PanelInRussian() ? "0,5" : "0.5");
    dialog->Next();
    EXPECT_EQ(outputs->Level(), LevelWordFromPercent(0, 100));
    dialog->Reading()->setText("300mV");
    dialog->Next();
    EXPECT_FALSE(outputs->Playing());
    const auto left = Stored(OutputChannel::Left), right = Stored(OutputChannel::Right);
    ASSERT_TRUE(left && right) << dialog->Says()->text().toStdString();
    // At -10 dBFS a full-scale sine gives the reading times sqrt(10).
    EXPECT_NEAR(left->fullScaleVolts, 0.5 * std::sqrt(10.0), 1e-12);
    EXPECT_NEAR(right->fullScaleVolts, 0.3 * std::sqrt(10.0), 1e-12);
    EXPECT_EQ(left->volume, 40000u);
    EXPECT_EQ(right->volume, 30000u);
}

TEST_F(LevelCalibrationTest, CancelStopsTheToneAndStoresNothing) {
    LevelCalibrationDialog* dialog = OpenCalibration();
    ASSERT_NE(dialog, nullptr);
    dialog->Next();
    dialog->Reading()->setText("0.5");
    dialog->Next();
    ASSERT_TRUE(outputs->Playing());
    QTest::keyClick(dialog, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_FALSE(outputs->Playing());
    EXPECT_FALSE(Stored(OutputChannel::Left));
}

// --- presets -------------------------------------------------------------------

// The name dialog an entry of "Наборы" opened, answered with `text`.
void Answer(TForm1& form, const QString& text) {
    QApplication::processEvents();
    auto* dialog = form.findChild<QInputDialog*>();
    ASSERT_NE(dialog, nullptr);
    dialog->setTextValue(text);
    dialog->accept();
    QApplication::processEvents();
}

TEST_F(PanelMenuTest, APresetSavedIsRecalledWhilePlayingAfterARestartAndDeleted) {
    Choose("Формат", "24 бита");
    Choose("Сигнал", "Розовый шум");
    TurnDial(form->AbGearDial1, Qt::Key_Up);
    const int hertz = Gen().Frequency();
    Choose("Наборы", "Сохранить как…");
    Answer(*form, "Шум & 24");
    Restart();
    Choose("Формат", "16 бит");
    Choose("Сигнал", "Как на панели");
    Click(At(form->AbColBitBtn1));
    const int plays = sound->PlayCount();
    Choose("Наборы", "Шум && 24");
    EXPECT_EQ(sound->PlayCount(), plays + 1) << "recalled at once, heard once";
    EXPECT_EQ(Gen().Resolution(), TTGResolution::tg24Bit);
    EXPECT_EQ(Gen().Signal().kind, SignalKind::PinkNoise);
    EXPECT_EQ(Gen().Frequency(), hertz);
    Choose("Наборы", "Удалить…");
    Answer(*form, "Шум & 24");
    QMenu* menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(Entry(Entry(menu, "Наборы")->menu(), "Шум && 24"), nullptr);
    EXPECT_FALSE(Entry(Entry(menu, "Наборы")->menu(), "Удалить…")->isEnabled());
    menu->close();
}

TEST_F(PanelMenuTest, APresetThePanelCannotPlayIsRefusedWithItsReason) {
    const QString folder = config.filePath("orbel/presets");
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile file(folder + "/fine.preset");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("orbel preset 1\nname = fine\nchannel = both\nright-frequency = 1001\n");
    file.close();
    Click(At(form->AbColBitBtn1));
    const int plays = sound->PlayCount();
    Choose("Наборы", "fine");
    auto* box = form->findChild<QMessageBox*>();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->text().contains("right-frequency")) << box->text().toStdString();
    EXPECT_EQ(sound->PlayCount(), plays);
    EXPECT_EQ(Gen().Frequency(), 1000);
    box->close();
}
