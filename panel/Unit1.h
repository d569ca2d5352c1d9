// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The front panel: the main window, created from its stored layout, with
// every handler its controls' events name. The handlers turn the switches
// and dials into the tone generator's settings and the digit displays'
// texts and colours, and explain the control under the pointer in the
// status line.

#include "controls/base/Events.h"
#include "controls/std/StdForm.h"
#include "panel/ChannelMemory.h"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

class TAbAnalogCControl;
class TAbColBitBtn;
class TImage;
class TLabel;
class TOvcLabel;
class TPanel;
class TRadioButton;
class TTimer;
class TToneGen;
class PanelMenu;
class SoundLossNotice;
struct MeasurementSignal;

class TForm1 : public TForm {
public:
    // Built from the layout compiled into the program.
    explicit TForm1(TComponent* owner = nullptr);
    // Built from the given layout text (tests).
    TForm1(std::string_view layout, TComponent* owner);
    ~TForm1() override;

    std::string ClassName() const override { return "TForm1"; }
    void Loaded() override;

    // The layout compiled into the program.
    static std::string_view StoredLayout();

    // Controls, found by name once the layout is loaded.
    TImage* Image1 = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TLabel* Label4 = nullptr;
    TLabel* Label5 = nullptr;
    TLabel* Label6 = nullptr;
    TLabel* Label7 = nullptr;
    TLabel* Label8 = nullptr;
    TLabel* Label9 = nullptr;
    TAbColBitBtn* AbColBitBtn1 = nullptr;
    TOvcLabel* OvcLabel1 = nullptr;
    TOvcLabel* OvcLabel2 = nullptr;
    TLabel* Label10 = nullptr;
    TLabel* Label11 = nullptr;
    TLabel* Label12 = nullptr;
    TLabel* Label13 = nullptr;
    TAbColBitBtn* AbColBitBtn2 = nullptr;
    TAbColBitBtn* AbColBitBtn3 = nullptr;
    TPanel* Panel1 = nullptr;
    TRadioButton* RadioButton1 = nullptr;
    TRadioButton* RadioButton2 = nullptr;
    TRadioButton* RadioButton3 = nullptr;
    TRadioButton* RadioButton4 = nullptr;
    TRadioButton* RadioButton5 = nullptr;
    TAbAnalogCControl* AbGearDial1 = nullptr;
    TAbAnalogCControl* AbGearDial2 = nullptr;
    TAbAnalogCControl* AbGearDial3 = nullptr;
    TAbAnalogCControl* AbGearDial4 = nullptr;
    TPanel* Panel2 = nullptr;
    TRadioButton* RadioButton6 = nullptr;
    TRadioButton* RadioButton7 = nullptr;
    TRadioButton* RadioButton8 = nullptr;
    TPanel* Panel3 = nullptr;
    TRadioButton* RadioButton9 = nullptr;
    TRadioButton* RadioButton10 = nullptr;
    TToneGen* ToneGen1 = nullptr;
    TTimer* Timer1 = nullptr;

    // Handlers of the switches, dials, buttons and timer.
    void FormCreate(TPersistent* sender);
    void RadioButton1Click(TPersistent* sender);
    void RadioButton2Click(TPersistent* sender);
    void RadioButton3Click(TPersistent* sender);
    void RadioButton4Click(TPersistent* sender);
    void RadioButton5Click(TPersistent* sender);
    void RadioButton6Click(TPersistent* sender);
    void RadioButton7Click(TPersistent* sender);
    void RadioButton8Click(TPersistent* sender);
    void RadioButton9Click(TPersistent* sender);
    void RadioButton10Click(TPersistent* sender);
    void AbGearDial1ValueChanged(TPersistent* sender);
    void AbGearDial2ValueChanged(TPersistent* sender);
    void AbGearDial3ValueChanged(TPersistent* sender);
    void AbGearDial4ValueChanged(TPersistent* sender);
    void AbColBitBtn1Click(TPersistent* sender);
    void AbColBitBtn2Click(TPersistent* sender);
    void AbColBitBtn3Click(TPersistent* sender);
    void Timer1Timer(TPersistent* sender);

    // Pointer-move handlers: the status line and the credit line.
    void AbGearDial1MouseMove(TPersistent* sender, TShiftState shift, int x, int y);
    void AbGearDial2MouseMove(TPersistent* sender, TShiftState shift, int x, int y);
    void AbGearDial3MouseMove(TPersistent* sender, TShiftState shift, int x, int y);
    void AbGearDial4MouseMove(TPersistent* sender, TShiftState shift, int x, int y);
    void AbColBitBtn1MouseMove(TPersistent* sender, TShiftState shift, int x, int y);
    void AbColBitBtn2MouseMove(TPersistent* sender, TShiftState shift, int x, int y);
    void AbColBitBtn3MouseMove(TPersistent* sender, TShiftState shift, int x, int y);
    void Label1MouseMove(TPersistent* sender, TShiftState shift, int x, int y);
    void Label5MouseMove(TPersistent* sender, TShiftState shift, int x, int y);
    void Label10MouseMove(TPersistent* sender, TShiftState shift, int x, int y);
    void Label12MouseMove(TPersistent* sender, TShiftState shift, int x, int y);
    void RadioButton1MouseMove(TPersistent* sender, TShiftState shift, int x, int y);
    void RadioButton6MouseMove(TPersistent* sender, TShiftState shift, int x, int y);
    void RadioButton7MouseMove(TPersistent* sender, TShiftState shift, int x, int y);
    void RadioButton8MouseMove(TPersistent* sender, TShiftState shift, int x, int y);
    void RadioButton9MouseMove(TPersistent* sender, TShiftState shift, int x, int y);
    void RadioButton10MouseMove(TPersistent* sender, TShiftState shift, int x, int y);
    void Image1MouseMove(TPersistent* sender, TShiftState shift, int x, int y);
    void OvcLabel1MouseMove(TPersistent* sender, TShiftState shift, int x, int y);

    // Keeps the dials' positions for the selected channel.
    void SaveChannelMemory();
    // The channel switch's buttons with the channel each selects.
    std::array<std::pair<TRadioButton*, panel::TChannel>, 3> ChannelSwitches() const;
    // Captions of the channel switch and the displays' lighting for a channel.
    void ShowChannelSelected(panel::TChannel selected);
    // Makes a changed setting heard at once while the generator plays.
    void RestartIfRunning();
    const panel::TChannelMemory& ChannelMemory() const { return memory_; }
    // Whether the generator plays: Start is disabled while it does.
    bool Running() const;

    // While the generator's sound reaches no server the status line says so
    // in place of the hints, and shows the last hint again once it does.
    void ShowSoundLost(bool lost);

    // The context menu (device, format, signal, sweep, save, about).
    PanelMenu& Menu() { return *menu_; }
    // Puts the menu's kept choices on the generator: once the synthesis is
    // set, before the window is shown.
    void UseRememberedChoices();
    // Gives the generator a measurement signal (or the tone back, for the
    // default one), with the loop length that plays it exactly; heard at
    // once while playing. Pink noise and the two-tone signals have no one
    // frequency: the frequency displays show dashes, as for white noise.
    void PlaySignal(const MeasurementSignal& signal);
    // True while the generator plays a measurement signal in place of the
    // panel's tone: the frequency displays are not the dials' then.
    bool PlaysMeasurementSignal() const;
    // The frequency displays of the selected channel show `hz` (a sweep).
    void ShowFrequency(int hz);

    // What Exit does: ends the application's message loop unless replaced.
    void SetTerminate(std::function<void()> terminate) { terminate_ = std::move(terminate); }

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void RegisterHandlers();
    // Every start of the generator goes through here.
    void PlayGenerator();
    void ShowNoFrequency();
    void ShowAmplitudes();
    void FindControls();
    void ShowTextsInPanelLanguage();
    void NameControlsForScreenReaders();
    void SelectWaveform(int index);
    void SetWaveformCaptions(int selected);
    void SetFrequencyDisplayColors(TColor left, TColor right);
    void SetAmplitudeDisplayColors(TColor left, TColor right);
    void RestoreDials(const panel::TDialPositions& positions);
    void SetVolumes(int left, int right);
    // Composes the frequency from the dials and gives it to the generator,
    // with the loop length that keeps it exact.
    void ApplyFrequency();
    // The loop length for the generator's waveform and frequency: whole
    // periods of a periodic wave, or the long loop of noise.
    void ApplyLoopDuration();
    int Amplitude() const;
    void ShowHint(const char* text);
    void ShowStatusLine();
    void CorrectDials();

    panel::TChannelMemory memory_;
    std::string hint_; // what the status line explains when sound flows
    bool soundLost_ = false;
    std::unique_ptr<SoundLossNotice> soundLossNotice_;
    std::unique_ptr<PanelMenu> menu_;
    std::function<void()> terminate_;
};
