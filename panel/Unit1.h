// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The front panel: the main window, created from its stored layout, with
// every handler its controls' events name. It is a view of the instrument
// (instrument/Instrument.h): each handler is a command of the instrument,
// and every change of the instrument's state is painted on the controls.
// What each numbered control is on the faceplate is written once, in the
// form's binding table (ControlRoles).

#include "controls/base/Events.h"
#include "controls/std/StdForm.h"
#include "instrument/Instrument.h"
#include "panel/Hints.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class TAbAnalogCControl;
class TAbColBitBtn;
class TImage;
class TLabel;
class TOvcLabel;
class TPanel;
class TRadioButton;
class TTimer;
class TToneGen;
class CalibrationFollower;
class MultitoneWorker;
class OutputWatch;
class PanelMenu;
class SoundLossNotice;

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

    // Handlers of the switches, dials, buttons and timer: each is a command
    // of the instrument.
    void FormCreate(TPersistent* sender);
    void RadioButton1Click(TPersistent*) { instrument_->SelectWaveform(TTGWave::tgSine); }
    void RadioButton2Click(TPersistent*) { instrument_->SelectWaveform(TTGWave::tgSquare); }
    void RadioButton3Click(TPersistent*) { instrument_->SelectWaveform(TTGWave::tgTriangle); }
    void RadioButton4Click(TPersistent*) { instrument_->SelectWaveform(TTGWave::tgSawtooth); }
    void RadioButton5Click(TPersistent*) { instrument_->SelectWaveform(TTGWave::tgNoise); }
    void RadioButton6Click(TPersistent*) { instrument_->SelectChannel(instrument::Channel::Left); }
    void RadioButton7Click(TPersistent*) { instrument_->SelectChannel(instrument::Channel::Right); }
    void RadioButton8Click(TPersistent*) { instrument_->SelectChannel(instrument::Channel::Both); }
    void RadioButton9Click(TPersistent*) { instrument_->SetStep(instrument::Step::OneHz); }
    void RadioButton10Click(TPersistent*) { instrument_->SetStep(instrument::Step::TenHz); }
    void AbGearDial1ValueChanged(TPersistent*) { instrument_->SetDials(Dials()); }
    void AbGearDial2ValueChanged(TPersistent*) { instrument_->SetDials(Dials()); }
    void AbGearDial3ValueChanged(TPersistent*) { instrument_->SetDials(Dials()); }
    void AbGearDial4ValueChanged(TPersistent*) { instrument_->SetDials(Dials()); }
    void AbColBitBtn1Click(TPersistent*) { instrument_->Start(); }
    void AbColBitBtn2Click(TPersistent*) { instrument_->Stop(); }
    void AbColBitBtn3Click(TPersistent* sender);
    void Timer1Timer(TPersistent* sender);

    // Pointer-move handlers: the status line explains the control under the
    // pointer; the credit line shows over the model name.
    void AbGearDial1MouseMove(TPersistent*, TShiftState, int, int) {
        ShowHint(panel::hints::kThousandsDial);
    }
    void AbGearDial2MouseMove(TPersistent*, TShiftState, int, int) {
        ShowHint(panel::hints::kHundredsDial);
    }
    void AbGearDial3MouseMove(TPersistent*, TShiftState, int, int) {
        ShowHint(panel::hints::kUnitsDial);
    }
    void AbGearDial4MouseMove(TPersistent*, TShiftState, int, int) {
        ShowHint(panel::hints::kAmplitudeDial);
    }
    void AbColBitBtn1MouseMove(TPersistent*, TShiftState, int, int) {
        ShowHint(panel::hints::kStart);
    }
    void AbColBitBtn2MouseMove(TPersistent*, TShiftState, int, int) {
        ShowHint(panel::hints::kStop);
    }
    void AbColBitBtn3MouseMove(TPersistent*, TShiftState, int, int) {
        ShowHint(panel::hints::kExit);
    }
    void Label1MouseMove(TPersistent*, TShiftState, int, int) {
        ShowHint(panel::hints::kLeftFrequency);
    }
    void Label5MouseMove(TPersistent*, TShiftState, int, int) {
        ShowHint(panel::hints::kRightFrequency);
    }
    void Label10MouseMove(TPersistent*, TShiftState, int, int) {
        ShowHint(panel::hints::kLeftAmplitude);
    }
    void Label12MouseMove(TPersistent*, TShiftState, int, int) {
        ShowHint(panel::hints::kRightAmplitude);
    }
    void RadioButton1MouseMove(TPersistent*, TShiftState, int, int) {
        ShowHint(panel::hints::kWaveform);
    }
    void RadioButton6MouseMove(TPersistent*, TShiftState, int, int) {
        ShowHint(panel::hints::kLeftOnly);
    }
    void RadioButton7MouseMove(TPersistent*, TShiftState, int, int) {
        ShowHint(panel::hints::kRightOnly);
    }
    void RadioButton8MouseMove(TPersistent*, TShiftState, int, int) {
        ShowHint(panel::hints::kBothChannels);
    }
    void RadioButton9MouseMove(TPersistent*, TShiftState, int, int) {
        ShowHint(panel::hints::kStep1Hz);
    }
    void RadioButton10MouseMove(TPersistent*, TShiftState, int, int) {
        ShowHint(panel::hints::kStep10Hz);
    }
    void Image1MouseMove(TPersistent* sender, TShiftState shift, int x, int y);
    void OvcLabel1MouseMove(TPersistent* sender, TShiftState shift, int x, int y);

    // The instrument the panel shows and drives.
    instrument::Instrument& Model() { return *instrument_; }
    const instrument::Instrument& Model() const { return *instrument_; }
    // Whether the generator plays: Start is disabled while it does.
    bool Running() const { return instrument_->State().running; }

    // While the generator's sound reaches no server the status line says so
    // in place of the hints, and shows the last hint again once it does.
    void ShowSoundLost(bool lost);

    // The context menu (device, format, signal, sweep, save, about).
    PanelMenu& Menu() { return *menu_; }
    // The chosen output's level calibration, read again after one is saved.
    CalibrationFollower& Calibrations() { return *calibrations_; }
    // Puts the menu's kept choices on the generator: once the synthesis is
    // set, before the window is shown.
    void UseRememberedChoices();

    // Every control of the stored layout by name, with what it is on the
    // faceplate (its handlers are registered under the names it gives).
    static std::vector<std::pair<std::string, std::string>> ControlRoles();

    // What Exit does: ends the application's message loop unless replaced.
    void SetTerminate(std::function<void()> terminate) { terminate_ = std::move(terminate); }

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void RegisterHandlers();
    void FindControls();
    void ShowTextsInPanelLanguage();
    void NameControlsForScreenReaders();
    // The dials as they stand, in the instrument's words.
    instrument::DialPositions Dials() const;
    void ShowHint(const char* text);
    // Paints the instrument's display state on the controls.
    void ShowState();

    // Declared first: the instrument hands it work until it goes.
    std::unique_ptr<MultitoneWorker> multitones_;
    std::unique_ptr<instrument::Instrument> instrument_;
    std::unique_ptr<SoundLossNotice> soundLossNotice_;
    std::unique_ptr<PanelMenu> menu_;
    std::unique_ptr<CalibrationFollower> calibrations_;
    std::unique_ptr<OutputWatch> outputWatch_;
    std::function<void()> terminate_;
};
