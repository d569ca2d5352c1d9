// SPDX-License-Identifier: GPL-3.0-or-later
// The panel speaks the locale's language: Russian as designed, English
// under an English locale. CTest runs these under both.

#include "PanelFixture.h"
#include "panel/Hints.h"
#include "platform/language/LocaleLanguage.h"

#include <QtTest/QtTest>

#include <thread>

using namespace panel;

namespace {

std::string InPanelLanguage(const char* russian, const char* english) {
    return locale_language::PanelLanguage() == "en" ? english : russian;
}

} // namespace

TEST_F(PanelTest, TitleCaptionsHintsAndNoticesFollowTheLocale) {
    EXPECT_EQ(
        form->windowTitle().toStdString(),
        InPanelLanguage("Генератор сигналов звуковой частоты", "Audio-Frequency Signal Generator"));
    EXPECT_EQ(form->RadioButton5->Caption(), InPanelLanguage("Белый шум", "White noise"));
    EXPECT_EQ(form->AbColBitBtn3->TextOff(), InPanelLanguage("Выход", "Exit"));
    EXPECT_EQ(form->Image1->Picture(),
              InPanelLanguage(":/assets/background.png", ":/assets/background-en.png"));

    Move(At(form->AbGearDial1));
    EXPECT_EQ(Text(form->Label9),
              InPanelLanguage(hints::kThousandsDial, "Changes the frequency in steps of 1 kHz"));

    Click(At(form->AbColBitBtn1));
    testing::internal::CaptureStderr();
    std::thread([&] { sound->SetSoundLost(true); }).join();
    const std::string notice =
        InPanelLanguage(hints::kNoSoundOutput, "No sound output: the sound server does not answer");
    EXPECT_TRUE(QTest::qWaitFor([&] { return Text(form->Label9) == notice; }))
        << Text(form->Label9);
    std::thread([&] { sound->SetSoundLost(false); }).join();
    EXPECT_TRUE(QTest::qWaitFor([&] { return Text(form->Label9) != notice; }));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              InPanelLanguage("orbel: нет вывода звука: звуковой сервер не отвечает\n"
                              "orbel: вывод звука восстановлен\n",
                              "orbel: no sound output: the sound server does not answer\n"
                              "orbel: sound output is back\n"));
}
