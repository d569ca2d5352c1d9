// SPDX-License-Identifier: GPL-3.0-or-later
// The multitone's settings: the dialog's fields read or refused by name,
// kept in the settings file between runs, and the dialog on the panel
// refusing two tones on one bin (both named) and a level that would clip
// (with the largest that fits), then playing and keeping what it played.
#include "PanelFixture.h"
#include "engine/LevelWord.h"
#include "engine/multitone/MultitoneSource.h"
#include "panel/MultitoneDialog.h"
#include "panel/MultitoneInput.h"
#include "panel/PanelMenu.h"
#include "panel/PanelSettings.h"
#include "panel/PanelText.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QTemporaryDir>

using instrument::MultitoneChoice;

namespace {

struct FieldsRow {
    const char* from;
    const char* to;
    const char* count;
    bool linear;
    const char* level;
    int refusals; // 0: accepted
};

class MultitoneFieldsRows : public ::testing::TestWithParam<FieldsRow> {};

TEST_P(MultitoneFieldsRows, AreReadOrRefusedByName) {
    const FieldsRow& row = GetParam();
    MultitoneFields fields;
    fields.from = row.from;
    fields.to = row.to;
    fields.count = row.count;
    fields.linear = row.linear;
    fields.level = row.level;
    const MultitoneInput input = ReadMultitoneInput(fields);
    EXPECT_EQ(input.refusals.size(), row.refusals) << input.refusals.join(" | ").toStdString();
    EXPECT_EQ(input.choice.has_value(), row.refusals == 0);
}

INSTANTIATE_TEST_SUITE_P(Rows, MultitoneFieldsRows,
                         ::testing::Values(FieldsRow{"20", "20000", "3", false, "-10dBFS", 0},
                                           FieldsRow{"20,5", " 1000.25 ", "1000", false, "0,775V",
                                                     0},
                                           FieldsRow{"20", "20000", "5000", true, "-3 dBu", 0},
                                           FieldsRow{"20", "20000", "1001", false, "-10", 1},
                                           FieldsRow{"0", "1e7", "3", false, "-10", 2},
                                           FieldsRow{"1000", "100", "3", false, "-10", 1},
                                           FieldsRow{"20", "20000", "0", false, "loud", 2},
                                           FieldsRow{"abc", "20000", "3,5", false, "x", 3}),
                         [](const auto& info) { return "Row" + std::to_string(info.index); });

TEST(MultitoneSettings, AreKeptAsTheDialogShowsThemAndDamagedOnesGiveTheDefaults) {
    QTemporaryDir config;
    ASSERT_TRUE(config.isValid());
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    EXPECT_EQ(panel_settings::LoadMultitone(), MultitoneChoice{});
    MultitoneChoice kept;
    kept.f1 = 31.5;
    kept.f2 = 16000.25;
    kept.tones = 12;
    kept.linear = true;
    kept.fftLength = 1 << 20;
    kept.level = WrittenLevel{-12.5, LevelUnit::DbU};
    ASSERT_EQ(panel_settings::SaveMultitone(kept), panel_settings::SaveOutcome::Saved);
    EXPECT_EQ(panel_settings::LoadMultitone(), kept);
    EXPECT_EQ(ReadMultitoneInput(FieldsOf(kept)).choice, kept);
    kept.tonesFile = "/tmp/a list.txt";
    ASSERT_EQ(panel_settings::SaveMultitone(kept), panel_settings::SaveOutcome::Saved);
    EXPECT_EQ(panel_settings::LoadMultitone(), kept);
    kept.fftLength = 1000; // not a length the dialog offers
    ASSERT_EQ(panel_settings::SaveMultitone(kept), panel_settings::SaveOutcome::Saved);
    EXPECT_EQ(panel_settings::LoadMultitone(), MultitoneChoice{});
}

class MultitoneDialogTest : public PanelTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(config.isValid());
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
        PanelTest::SetUp();
        Gen().SetPrecise(true);
    }
    MultitoneDialog* Open() {
        form->Menu().Popup(form->mapToGlobal(QPoint(5, 200)));
        QMenu* menu = form->Menu().OpenMenu();
        for (QAction* a : menu ? menu->actions() : QList<QAction*>{})
            if (a->text() == PanelText("Сигнал"))
                for (QAction* b : a->menu()->actions())
                    if (b->text() == PanelText("Параметры мультитона…"))
                        b->trigger();
        if (menu)
            menu->close();
        QApplication::processEvents();
        return form->findChild<MultitoneDialog*>();
    }
    // Starts the dialog's multitone and waits until its plan is shown.
    static void Start(MultitoneDialog& dialog) {
        dialog.Start();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog.Busy(); }, 120000));
    }
    QTemporaryDir config;
};

TEST_F(MultitoneDialogTest, RefusesTonesOnOneBinAndAClippingLevelThenPlaysAndKeepsIt) {
    MultitoneDialog* dialog = Open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->From()->text(), "20");
    dialog->To()->setText("1000");
    dialog->Fft()->setCurrentIndex(dialog->Fft()->findData(8192));
    // Two tones on one bin of a short transform, both named.
    Start(*dialog);
    EXPECT_TRUE(dialog->Refusals()->text().contains(
        QStringLiteral("25") + PanelLocale().decimalPoint() + QStringLiteral("1785")))
        << dialog->Refusals()->text().toStdString();
    dialog->From()->setText("200");
    dialog->Level()->setText("-1");
    Start(*dialog);
    EXPECT_FALSE(form->Running());
    EXPECT_EQ(sound->Streaming(), nullptr);
    const QString refusal = dialog->Refusals()->text();
    EXPECT_TRUE(refusal.contains(PanelText("наибольший уровень").section(' ', 0, 0)))
        << refusal.toStdString();
    dialog->Level()->setText("-20");
    Start(*dialog);
    EXPECT_TRUE(dialog->Refusals()->text().isEmpty()) << dialog->Refusals()->text().toStdString();
    EXPECT_TRUE(dialog->Summary()->text().contains(
        PanelText("Пик-фактор %1 дБ, тонов: %2, период %3 отсчётов").section(' ', 0, 0)));
    EXPECT_TRUE(form->Running());
    EXPECT_NE(dynamic_cast<MultitoneSource*>(sound->Streaming()), nullptr);
    EXPECT_EQ(sound->Level(), kFullLevel) << "the amplitude dial does not scale its RMS level";
    const MultitoneChoice kept = panel_settings::LoadMultitone();
    EXPECT_EQ(kept.f1, 200);
    EXPECT_EQ(kept.f2, 1000);
    EXPECT_EQ(kept.fftLength, 8192);
    EXPECT_EQ(kept.level, (WrittenLevel{-20, LevelUnit::DbFs}));
}

} // namespace
