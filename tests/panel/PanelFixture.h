// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The real front panel, built from the layout compiled into the program,
// shown offscreen, with a recording sound output in place of the device.

#include "WindowInput.h"
#include "controls/AbCBitBt.h"
#include "controls/analog/AbAnalogCControl.h"
#include "controls/ovclabel.h"
#include "controls/std/StdImage.h"
#include "controls/std/StdLabel.h"
#include "controls/std/StdPanel.h"
#include "controls/std/StdRadioButton.h"
#include "controls/std/StdTimer.h"
#include "engine/DefaultSoundOutput.h"
#include "engine/ToneGen.h"
#include "panel/PanelClasses.h"
#include "panel/Unit1.h"
#include "tests/support/RecordingSoundOutput.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

// The device level the recording output starts with: what the program must
// give back at its end.
inline constexpr std::uint32_t kDeviceLevelBefore = 0x40004000u;

class PanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitPanelResources();
        RegisterPanelClasses();
        sound = MakeSound();
        sound->SetInitialLevel(kDeviceLevelBefore);
        previous = SetDefaultSoundOutput(sound);
        form = std::make_unique<TForm1>();
        form->SetTerminate([this] { ++terminations; });
        // The timer is driven by the tests, tick by tick.
        form->Timer1->SetEnabled(false);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    // The output the panel plays through (a recording one).
    virtual std::shared_ptr<RecordingSoundOutput> MakeSound() {
        return std::make_shared<RecordingSoundOutput>();
    }

    void TearDown() override {
        form.reset();
        SetDefaultSoundOutput(previous);
    }

    // Centre of a control of the panel, in the window's coordinates.
    QPoint At(QWidget* control) const {
        return control->mapTo(form.get(), control->rect().center());
    }
    template <class T> QPoint At(T* control) const { return At(static_cast<QWidget*>(control)); }

    void Tick() { form->Timer1Timer(form->Timer1); }

    void Move(QPoint p) { window_input::Move(*form, p); }
    void Click(QPoint p) { window_input::Click(*form, p); }
    void Key(Qt::Key k) { window_input::Key(*form, k); }

    void FocusDial(TAbAnalogCControl* dial) {
        dial->setFocus();
        QApplication::processEvents();
    }

    TToneGen& Gen() { return *form->ToneGen1; }
    std::string Text(TLabel* l) const { return l->Caption(); }
    TColor FontColor(TLabel* l) const { return l->Font()->Color(); }
    TColor FontColor(TRadioButton* r) const { return r->Font()->Color(); }

    // The device level word for left and right levels in percent.
    static std::uint32_t LevelWord(int left, int right) {
        return (std::uint32_t(right) * 65535 / 100) << 16 | (std::uint32_t(left) * 65535 / 100);
    }

    // Turns a dial with the keyboard: focus, then press and release.
    void TurnDial(TAbAnalogCControl* dial, Qt::Key key, int times = 1) {
        FocusDial(dial);
        for (int i = 0; i < times; ++i)
            Key(key);
    }

    // The samples of the image played last (the panel plays 16-bit mono):
    // 44 bytes of header before them and 32 of padding after.
    std::vector<std::int16_t> PlayedSamples() const {
        const auto calls = sound->Calls();
        for (auto c = calls.rbegin(); c != calls.rend(); ++c) {
            if (c->kind != RecordingSoundOutput::Call::Play)
                continue;
            if (c->image.size() < 44u + 32u)
                break;
            std::vector<std::int16_t> samples((c->image.size() - 44 - 32) / 2);
            std::memcpy(samples.data(), c->image.data() + 44, samples.size() * 2);
            return samples;
        }
        ADD_FAILURE() << "nothing was played";
        return {};
    }

    std::shared_ptr<RecordingSoundOutput> sound;
    std::shared_ptr<SoundOutput> previous;
    std::unique_ptr<TForm1> form;
    int terminations = 0;
};
