// SPDX-License-Identifier: GPL-3.0-or-later
// Thousands of random pointer, key and wheel events on the panel: nothing
// crashes, the generator's settings stay in range after every event, and
// once the timer has run the displays agree with the dials.

#include "PanelFixture.h"
#include "engine/LoopLength.h"
#include "instrument/FrequencyDials.h"

#include <random>

namespace {
constexpr int kEvents = 3000;
constexpr unsigned kSeed = 20261208;
} // namespace

class RandomInput : public PanelTest {
protected:
    void CheckRanges(int event) {
        ASSERT_GE(Gen().Frequency(), instrument::kMinFrequency) << "event " << event;
        ASSERT_LE(Gen().Frequency(), instrument::kMaxFrequency) << "event " << event;
        ASSERT_GE(Gen().LeftVolume(), 0);
        ASSERT_LE(Gen().LeftVolume(), 100);
        ASSERT_GE(Gen().RightVolume(), 0);
        ASSERT_LE(Gen().RightVolume(), 100);
        // The loop length always fits the waveform and frequency.
        ASSERT_EQ(Gen().Duration(), loop_length::ToneLoopDurationMs(
                                        Gen().Waveform(), Gen().Frequency(), Gen().Precise()))
            << "event " << event;
        // Exactly one of Start and Stop is enabled, and the sound agrees.
        ASSERT_NE(form->AbColBitBtn1->Enabled(), form->AbColBitBtn2->Enabled());
        ASSERT_EQ(sound->Playing(), !form->AbColBitBtn1->Enabled()) << "event " << event;
    }

    void CheckDisplaysAfterTick(int event) {
        Tick();
        if (form->RadioButton5->Checked())
            return;
        const auto& d1 = form->AbGearDial1->ValueText();
        const auto& d2 = form->AbGearDial2->ValueText();
        const auto& d3 = form->AbGearDial3->ValueText();
        const auto& d4 = form->AbGearDial4->ValueText();
        const bool left = form->RadioButton6->Checked() || form->RadioButton8->Checked();
        const bool right = form->RadioButton7->Checked() || form->RadioButton8->Checked();
        if (left) {
            ASSERT_EQ(Text(form->Label1), d1) << "event " << event;
            ASSERT_EQ(Text(form->Label2), d2) << "event " << event;
            ASSERT_EQ(Text(form->Label3), d3) << "event " << event;
            ASSERT_EQ(Text(form->Label10), d4) << "event " << event;
        }
        if (right) {
            ASSERT_EQ(Text(form->Label5), d1) << "event " << event;
            ASSERT_EQ(Text(form->Label6), d2) << "event " << event;
            ASSERT_EQ(Text(form->Label7), d3) << "event " << event;
            ASSERT_EQ(Text(form->Label12), d4) << "event " << event;
        }
        // After the corrections no display shows a carry or more than 20 kHz.
        ASSERT_NE(d3, "100");
        if (d1 == "20") {
            ASSERT_EQ(d2, "0");
            ASSERT_EQ(d3, "00");
        }
    }
};

TEST_F(RandomInput, PanelStaysConsistentUnderRandomUse) {
    // Exit only counts here; closing is a separate test.
    std::mt19937 rng(kSeed);
    auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    auto anywhere = [&] { return QPoint(uniform(0, 632), uniform(0, 402)); };
    // Half of the pointer events aim at a control, so the dials and
    // switches are hit often.
    std::vector<QWidget*> targets;
    for (TComponent* c : form->Components())
        if (auto* w = dynamic_cast<QWidget*>(c);
            w && w != form->Image1 && w->width() > 0 && w->height() > 0)
            targets.push_back(w);
    auto somewhere = [&] {
        if (uniform(0, 1) == 0)
            return anywhere();
        QWidget* w = targets[std::size_t(uniform(0, int(targets.size()) - 1))];
        return w->mapTo(form.get(),
                        QPoint(uniform(0, w->width() - 1), uniform(0, w->height() - 1)));
    };
    const Qt::Key keys[] = {Qt::Key_Up,     Qt::Key_Down,     Qt::Key_Left,    Qt::Key_Right,
                            Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home,    Qt::Key_End,
                            Qt::Key_Tab,    Qt::Key_Space,    Qt::Key_Backtab, Qt::Key_A};
    for (int event = 0; event < kEvents; ++event) {
        switch (uniform(0, 5)) {
        case 0:
            Move(somewhere());
            break;
        case 1:
            Click(somewhere());
            break;
        case 2:
            window_input::Drag(*form, somewhere(), somewhere(), uniform(1, 6));
            break;
        case 3:
            Key(keys[uniform(0, int(std::size(keys)) - 1)]);
            break;
        case 4:
            window_input::Wheel(*form, somewhere(), uniform(0, 1) ? 120 : -120);
            break;
        case 5:
            // Right-button clicks and presses released elsewhere.
            window_input::Press(*form, somewhere(), Qt::RightButton);
            window_input::Release(*form, somewhere(), Qt::RightButton);
            // The context menu the right button opens (its entries have
            // tests of their own) is closed again, as by Escape.
            if (QWidget* popup = QApplication::activePopupWidget())
                popup->close();
            break;
        }
        ASSERT_NO_FATAL_FAILURE(CheckRanges(event));
        if (event % 7 == 0) {
            ASSERT_NO_FATAL_FAILURE(CheckDisplaysAfterTick(event));
        }
    }
    form.reset();
    EXPECT_FALSE(sound->Playing());
    EXPECT_EQ(sound->Level(), kDeviceLevelBefore);
}
