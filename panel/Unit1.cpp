// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/Unit1.h"

#include "controls/AbCBitBt.h"
#include "controls/analog/AbAnalogCControl.h"
#include "controls/ovclabel.h"
#include "controls/std/StdImage.h"
#include "controls/std/StdLabel.h"
#include "controls/std/StdPanel.h"
#include "controls/std/StdRadioButton.h"
#include "controls/std/StdTimer.h"
#include "engine/LoopLength.h"
#include "engine/ToneGen.h"
#include "panel/FrequencyDials.h"
#include "panel/Hints.h"
#include "panel/PanelLook.h"
#include "panel/PanelMenu.h"
#include "panel/PanelText.h"
#include "panel/SoundLossNotice.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFile>

#include <array>
#include <stdexcept>
#include <utility>

using namespace panel;

namespace {
constexpr const char* kLayoutResource = ":/panel/Unit1.layout";

template <class T> T* Find(TComponent& form, const char* name) {
    auto* c = dynamic_cast<T*>(form.FindComponent(name));
    if (!c)
        throw std::runtime_error(std::string("the panel's layout has no control ") + name);
    return c;
}

std::string Text(std::string_view s) {
    return std::string(s);
}
} // namespace

std::string_view TForm1::StoredLayout() {
    static const std::string text = [] {
        QFile file(QString::fromLatin1(kLayoutResource));
        if (!file.open(QIODevice::ReadOnly))
            throw std::runtime_error("the panel's layout is missing from the program");
        return file.readAll().toStdString();
    }();
    return text;
}

TForm1::TForm1(TComponent* owner) : TForm1(StoredLayout(), owner) {}

TForm1::TForm1(std::string_view layout, TComponent* owner)
    : TForm(owner), terminate_([] { QCoreApplication::quit(); }) {
    RegisterHandlers();
    LoadLayout(layout);
    // The generator's output tells from its own thread whether its sound
    // reaches a server; the status line follows on the window thread.
    soundLossNotice_ = std::make_unique<SoundLossNotice>(
        ToneGen1->Output(), [this](bool lost) { ShowSoundLost(lost); });
    menu_ = std::make_unique<PanelMenu>(*this);
}

TForm1::~TForm1() {
    // The menu's dialogs and sweep go before the controls they use.
    menu_.reset();
}

void TForm1::contextMenuEvent(QContextMenuEvent* event) {
    // Every control leaves the right button to the window: the menu opens
    // anywhere on it.
    if (event->reason() == QContextMenuEvent::Mouse)
        menu_->Popup(event->globalPos());
    else
        menu_->PopupAtFocus();
    event->accept();
}

void TForm1::UseRememberedChoices() {
    menu_->UseRememberedChoices();
}

void TForm1::Loaded() {
    TForm::Loaded();
    FindControls();
    ShowTextsInPanelLanguage();
    NameControlsForScreenReaders();
}

void TForm1::ShowTextsInPanelLanguage() {
    // The layout's texts are the designed Russian ones; each is shown in the
    // panel's language (unchanged when that is Russian).
    SetCaption(PanelString(Caption()));
    for (TComponent* component : Components()) {
        if (auto* label = dynamic_cast<TLabel*>(component))
            label->SetCaption(PanelString(label->Caption()));
        else if (auto* o = dynamic_cast<TOvcLabel*>(component))
            o->SetCaption(PanelString(o->Caption()));
        else if (auto* radio = dynamic_cast<TRadioButton*>(component))
            radio->SetCaption(PanelString(radio->Caption()));
        else if (auto* button = dynamic_cast<TAbColBitBtn*>(component)) {
            button->SetTextOff(PanelString(button->TextOff()));
            button->SetTextOn(PanelString(button->TextOn()));
        } else if (auto* image = dynamic_cast<TImage*>(component)) {
            // The background carries the frames' captions and the dials'
            // scale legends, drawn once per language.
            image->SetPicture(PanelString(image->Picture()));
        }
    }
}

void TForm1::NameControlsForScreenReaders() {
    // A dial's position says nothing without what it sets.
    AbGearDial1->setAccessibleName(PanelText("Тысячи герц"));
    AbGearDial2->setAccessibleName(PanelText("Сотни герц"));
    AbGearDial3->setAccessibleName(PanelText("Десятки и единицы герц"));
    AbGearDial4->setAccessibleName(PanelText("Амплитуда"));
    const std::pair<TLabel*, const char*> displays[] = {
        {Label1, "Частота левого канала, тысячи герц"},
        {Label2, "Частота левого канала, сотни герц"},
        {Label3, "Частота левого канала, десятки и единицы герц"},
        {Label5, "Частота правого канала, тысячи герц"},
        {Label6, "Частота правого канала, сотни герц"},
        {Label7, "Частота правого канала, десятки и единицы герц"},
        {Label10, "Амплитуда левого канала, мВ"},
        {Label12, "Амплитуда правого канала, мВ"},
    };
    for (const auto& [label, name] : displays)
        label->setAccessibleName(PanelText(name));
    // The switch groups, by the captions the background draws under them.
    Panel1->setAccessibleName(PanelText("Вид сигнала"));
    Panel2->setAccessibleName(PanelText("Канал"));
    Panel3->setAccessibleName(PanelText("Дискретность"));
    AbGearDial1->setAccessibleDescription(PanelText(hints::kThousandsDial));
    AbGearDial2->setAccessibleDescription(PanelText(hints::kHundredsDial));
    AbGearDial3->setAccessibleDescription(PanelText(hints::kUnitsDial));
    AbGearDial4->setAccessibleDescription(PanelText(hints::kAmplitudeDial));
}

void TForm1::RegisterHandlers() {
    auto notify = [this](const char* name, void (TForm1::*handler)(TPersistent*)) {
        RegisterMethod(name,
                       TNotifyEvent([this, handler](TPersistent* s) { (this->*handler)(s); }));
    };
    auto move = [this](const char* name,
                       void (TForm1::*handler)(TPersistent*, TShiftState, int, int)) {
        RegisterMethod(name,
                       TMouseMoveEvent([this, handler](TPersistent* s, TShiftState sh, int x,
                                                       int y) { (this->*handler)(s, sh, x, y); }));
    };
    notify("FormCreate", &TForm1::FormCreate);
    notify("RadioButton1Click", &TForm1::RadioButton1Click);
    notify("RadioButton2Click", &TForm1::RadioButton2Click);
    notify("RadioButton3Click", &TForm1::RadioButton3Click);
    notify("RadioButton4Click", &TForm1::RadioButton4Click);
    notify("RadioButton5Click", &TForm1::RadioButton5Click);
    notify("RadioButton6Click", &TForm1::RadioButton6Click);
    notify("RadioButton7Click", &TForm1::RadioButton7Click);
    notify("RadioButton8Click", &TForm1::RadioButton8Click);
    notify("RadioButton9Click", &TForm1::RadioButton9Click);
    notify("RadioButton10Click", &TForm1::RadioButton10Click);
    notify("AbGearDial1ValueChanged", &TForm1::AbGearDial1ValueChanged);
    notify("AbGearDial2ValueChanged", &TForm1::AbGearDial2ValueChanged);
    notify("AbGearDial3ValueChanged", &TForm1::AbGearDial3ValueChanged);
    notify("AbGearDial4ValueChanged", &TForm1::AbGearDial4ValueChanged);
    notify("AbColBitBtn1Click", &TForm1::AbColBitBtn1Click);
    notify("AbColBitBtn2Click", &TForm1::AbColBitBtn2Click);
    notify("AbColBitBtn3Click", &TForm1::AbColBitBtn3Click);
    notify("Timer1Timer", &TForm1::Timer1Timer);
    move("AbGearDial1MouseMove", &TForm1::AbGearDial1MouseMove);
    move("AbGearDial2MouseMove", &TForm1::AbGearDial2MouseMove);
    move("AbGearDial3MouseMove", &TForm1::AbGearDial3MouseMove);
    move("AbGearDial4MouseMove", &TForm1::AbGearDial4MouseMove);
    move("AbColBitBtn1MouseMove", &TForm1::AbColBitBtn1MouseMove);
    move("AbColBitBtn2MouseMove", &TForm1::AbColBitBtn2MouseMove);
    move("AbColBitBtn3MouseMove", &TForm1::AbColBitBtn3MouseMove);
    move("Label1MouseMove", &TForm1::Label1MouseMove);
    move("Label5MouseMove", &TForm1::Label5MouseMove);
    move("Label10MouseMove", &TForm1::Label10MouseMove);
    move("Label12MouseMove", &TForm1::Label12MouseMove);
    move("RadioButton1MouseMove", &TForm1::RadioButton1MouseMove);
    move("RadioButton6MouseMove", &TForm1::RadioButton6MouseMove);
    move("RadioButton7MouseMove", &TForm1::RadioButton7MouseMove);
    move("RadioButton8MouseMove", &TForm1::RadioButton8MouseMove);
    move("RadioButton9MouseMove", &TForm1::RadioButton9MouseMove);
    move("RadioButton10MouseMove", &TForm1::RadioButton10MouseMove);
    move("Image1MouseMove", &TForm1::Image1MouseMove);
    move("OvcLabel1MouseMove", &TForm1::OvcLabel1MouseMove);
}

void TForm1::FindControls() {
    TComponent& f = *this;
    Image1 = Find<TImage>(f, "Image1");
    Label1 = Find<TLabel>(f, "Label1");
    Label2 = Find<TLabel>(f, "Label2");
    Label3 = Find<TLabel>(f, "Label3");
    Label4 = Find<TLabel>(f, "Label4");
    Label5 = Find<TLabel>(f, "Label5");
    Label6 = Find<TLabel>(f, "Label6");
    Label7 = Find<TLabel>(f, "Label7");
    Label8 = Find<TLabel>(f, "Label8");
    Label9 = Find<TLabel>(f, "Label9");
    AbColBitBtn1 = Find<TAbColBitBtn>(f, "AbColBitBtn1");
    OvcLabel1 = Find<TOvcLabel>(f, "OvcLabel1");
    OvcLabel2 = Find<TOvcLabel>(f, "OvcLabel2");
    Label10 = Find<TLabel>(f, "Label10");
    Label11 = Find<TLabel>(f, "Label11");
    Label12 = Find<TLabel>(f, "Label12");
    Label13 = Find<TLabel>(f, "Label13");
    AbColBitBtn2 = Find<TAbColBitBtn>(f, "AbColBitBtn2");
    AbColBitBtn3 = Find<TAbColBitBtn>(f, "AbColBitBtn3");
    Panel1 = Find<TPanel>(f, "Panel1");
    RadioButton1 = Find<TRadioButton>(f, "RadioButton1");
    RadioButton2 = Find<TRadioButton>(f, "RadioButton2");
    RadioButton3 = Find<TRadioButton>(f, "RadioButton3");
    RadioButton4 = Find<TRadioButton>(f, "RadioButton4");
    RadioButton5 = Find<TRadioButton>(f, "RadioButton5");
    AbGearDial1 = Find<TAbAnalogCControl>(f, "AbGearDial1");
    AbGearDial2 = Find<TAbAnalogCControl>(f, "AbGearDial2");
    AbGearDial3 = Find<TAbAnalogCControl>(f, "AbGearDial3");
    AbGearDial4 = Find<TAbAnalogCControl>(f, "AbGearDial4");
    Panel2 = Find<TPanel>(f, "Panel2");
    RadioButton6 = Find<TRadioButton>(f, "RadioButton6");
    RadioButton7 = Find<TRadioButton>(f, "RadioButton7");
    RadioButton8 = Find<TRadioButton>(f, "RadioButton8");
    Panel3 = Find<TPanel>(f, "Panel3");
    RadioButton9 = Find<TRadioButton>(f, "RadioButton9");
    RadioButton10 = Find<TRadioButton>(f, "RadioButton10");
    ToneGen1 = Find<TToneGen>(f, "ToneGen1");
    Timer1 = Find<TTimer>(f, "Timer1");
}

// --- shared operations -------------------------------------------------------

bool TForm1::Running() const {
    return !AbColBitBtn1->Enabled();
}

void TForm1::RestartIfRunning() {
    if (Running())
        PlayGenerator();
}

void TForm1::PlayGenerator() {
    ToneGen1->Play();
    // A sweep starts again from its beginning with every Play: what follows
    // it on the displays must start again too.
    if (menu_)
        menu_->GeneratorStarted();
}

std::array<std::pair<TRadioButton*, TChannel>, 3> TForm1::ChannelSwitches() const {
    return {{{RadioButton6, TChannel::Left},
             {RadioButton7, TChannel::Right},
             {RadioButton8, TChannel::Both}}};
}

void TForm1::SaveChannelMemory() {
    const TDialPositions dials{AbGearDial1->Value(), AbGearDial2->Value(), AbGearDial3->Value(),
                               AbGearDial4->Value()};
    for (const auto& [button, channel] : ChannelSwitches())
        if (button->Checked())
            memory_.Save(channel, dials);
}

int TForm1::Amplitude() const {
    return DialNumber(AbGearDial4->ValueText());
}

void TForm1::ApplyFrequency() {
    ToneGen1->SetFrequency(static_cast<std::int16_t>(ComposeFrequency(
        AbGearDial1->ValueText(), AbGearDial2->ValueText(), AbGearDial3->ValueText())));
    ApplyLoopDuration();
}

void TForm1::ApplyLoopDuration() {
    // A measurement signal has a loop of its own (a sweep sets its length).
    const MeasurementSignal& signal = ToneGen1->Signal();
    const int ms = PlaysMeasurementSignal() && signal.kind != SignalKind::Sweep
                       ? SignalLoopDurationMs(signal, ToneGen1->Frequency())
                       : loop_length::ToneLoopDurationMs(
                             ToneGen1->Waveform(), ToneGen1->Frequency(), ToneGen1->Precise());
    ToneGen1->SetDuration(static_cast<std::int16_t>(ms));
}

bool TForm1::PlaysMeasurementSignal() const {
    return ToneGen1->Precise() && ToneGen1->Signal().kind != SignalKind::Tone;
}

void TForm1::PlaySignal(const MeasurementSignal& signal) {
    ToneGen1->SetSignal(signal);
    if (PlaysMeasurementSignal() && signal.kind != SignalKind::Sweep)
        ShowNoFrequency();
    ApplyLoopDuration();
    RestartIfRunning();
}

void TForm1::ShowFrequency(int hz) {
    // As the dials show it: two digits of thousands, one of hundreds, two
    // of tens and units.
    const auto digit = [](int d) { return static_cast<char>('0' + d); };
    const std::string thousands{digit(hz / 10000 % 10), digit(hz / 1000 % 10)};
    const std::string hundreds{digit(hz / 100 % 10)};
    const std::string units{digit(hz / 10 % 10), digit(hz % 10)};
    const bool left = !RadioButton7->Checked(), right = !RadioButton6->Checked();
    if (left) {
        Label1->SetCaption(thousands);
        Label2->SetCaption(hundreds);
        Label3->SetCaption(units);
    }
    if (right) {
        Label5->SetCaption(thousands);
        Label6->SetCaption(hundreds);
        Label7->SetCaption(units);
    }
}

void TForm1::ShowNoFrequency() {
    for (TLabel* l : {Label1, Label5})
        l->SetCaption(Text(kNoiseThousands));
    for (TLabel* l : {Label2, Label6})
        l->SetCaption(Text(kNoiseHundreds));
    for (TLabel* l : {Label3, Label7})
        l->SetCaption(Text(kNoiseUnits));
}

void TForm1::SetVolumes(int left, int right) {
    // The right level first, as the channel handlers always did.
    ToneGen1->SetRightVolume(static_cast<std::int16_t>(right));
    ToneGen1->SetLeftVolume(static_cast<std::int16_t>(left));
}

void TForm1::RestoreDials(const TDialPositions& positions) {
    AbGearDial1->SetValue(positions[0]);
    AbGearDial2->SetValue(positions[1]);
    AbGearDial3->SetValue(positions[2]);
    AbGearDial4->SetValue(positions[3]);
}

void TForm1::SetWaveformCaptions(int selected) {
    TRadioButton* buttons[] = {RadioButton1, RadioButton2, RadioButton3, RadioButton4,
                               RadioButton5};
    for (int i = 0; i < 5; ++i)
        buttons[i]->Font()->SetColor(SwitchCaptionColor(i == selected));
}

void TForm1::SetFrequencyDisplayColors(TColor left, TColor right) {
    for (TLabel* l : {Label1, Label2, Label3, Label4})
        l->Font()->SetColor(left);
    for (TLabel* l : {Label5, Label6, Label7, Label8})
        l->Font()->SetColor(right);
}

void TForm1::SetAmplitudeDisplayColors(TColor left, TColor right) {
    for (TLabel* l : {Label10, Label11})
        l->Font()->SetColor(left);
    for (TLabel* l : {Label12, Label13})
        l->Font()->SetColor(right);
}

// --- switches -------------------------------------------------------------------

void TForm1::FormCreate(TPersistent*) {
    memory_.Reset();
}

void TForm1::SelectWaveform(int index) {
    static constexpr TTGWave kWaves[] = {TTGWave::tgSine, TTGWave::tgSquare, TTGWave::tgTriangle,
                                         TTGWave::tgSawtooth};
    // The switch takes over from a signal the menu chose.
    menu_->WaveformChosen();
    SetWaveformCaptions(index);
    ToneGen1->SetWaveform(kWaves[index]);
    ApplyLoopDuration();
    RestartIfRunning();
}

void TForm1::RadioButton1Click(TPersistent*) {
    SelectWaveform(0);
}
void TForm1::RadioButton2Click(TPersistent*) {
    SelectWaveform(1);
}
void TForm1::RadioButton3Click(TPersistent*) {
    SelectWaveform(2);
}
void TForm1::RadioButton4Click(TPersistent*) {
    SelectWaveform(3);
}

void TForm1::RadioButton5Click(TPersistent*) {
    menu_->WaveformChosen();
    // Noise has no frequency: both frequency displays show dashes.
    ShowNoFrequency();
    SetWaveformCaptions(4);
    ToneGen1->SetWaveform(TTGWave::tgNoise);
    ApplyLoopDuration();
    RestartIfRunning();
}

void TForm1::ShowChannelSelected(TChannel selected) {
    for (const auto& [button, channel] : ChannelSwitches())
        button->Font()->SetColor(SwitchCaptionColor(channel == selected));
    const TDisplayLighting lit = DisplayLighting(selected);
    SetFrequencyDisplayColors(lit.left, lit.right);
    SetAmplitudeDisplayColors(lit.left, lit.right);
}

void TForm1::RadioButton6Click(TPersistent*) {
    ShowChannelSelected(TChannel::Left);
    RestoreDials(memory_.Left());
    SetVolumes(Amplitude(), 0);
    ApplyFrequency();
    RestartIfRunning();
}

void TForm1::RadioButton7Click(TPersistent*) {
    ShowChannelSelected(TChannel::Right);
    RestoreDials(memory_.Right());
    SetVolumes(0, Amplitude());
    ApplyFrequency();
    RestartIfRunning();
}

void TForm1::RadioButton8Click(TPersistent*) {
    // Both channels share one amplitude memory; the frequency dials stay.
    ShowChannelSelected(TChannel::Both);
    AbGearDial4->SetValue(memory_.BothAmplitude());
    SetVolumes(Amplitude(), Amplitude());
    RestartIfRunning();
}

void TForm1::RadioButton9Click(TPersistent*) {
    RadioButton9->Font()->SetColor(kSelectedCaption);
    RadioButton10->Font()->SetColor(kUnselectedCaption);
    AbGearDial3->SignalSettings()->SetDigitalTo(kUnitsDigits1Hz);
    AbGearDial3->SignalSettings()->SetValueTo(kUnitsValueTo1Hz);
}

void TForm1::RadioButton10Click(TPersistent*) {
    RadioButton10->Font()->SetColor(kSelectedCaption);
    RadioButton9->Font()->SetColor(kUnselectedCaption);
    AbGearDial3->SignalSettings()->SetDigitalTo(kUnitsDigits10Hz);
    AbGearDial3->SignalSettings()->SetValueTo(kUnitsValueTo10Hz);
}

// --- dials ----------------------------------------------------------------------

void TForm1::AbGearDial1ValueChanged(TPersistent*) {
    SaveChannelMemory();
    ApplyFrequency();
    RestartIfRunning();
}

void TForm1::AbGearDial2ValueChanged(TPersistent* sender) {
    AbGearDial1ValueChanged(sender);
}
void TForm1::AbGearDial3ValueChanged(TPersistent* sender) {
    AbGearDial1ValueChanged(sender);
}

void TForm1::AbGearDial4ValueChanged(TPersistent*) {
    SaveChannelMemory();
    const int a = Amplitude();
    if (RadioButton6->Checked()) {
        SetVolumes(a, 0);
        RestartIfRunning();
    }
    if (RadioButton7->Checked()) {
        SetVolumes(0, a);
        RestartIfRunning();
    }
    if (RadioButton8->Checked()) {
        SetVolumes(a, a);
        RestartIfRunning();
    }
}

// --- buttons and timer --------------------------------------------------------

void TForm1::AbColBitBtn1Click(TPersistent*) {
    AbColBitBtn1->SetEnabled(false);
    AbColBitBtn2->SetEnabled(true);
    PlayGenerator();
}

void TForm1::AbColBitBtn2Click(TPersistent*) {
    AbColBitBtn2->SetEnabled(false);
    AbColBitBtn1->SetEnabled(true);
    ToneGen1->Stop();
    menu_->Stopped();
}

void TForm1::AbColBitBtn3Click(TPersistent*) {
    if (terminate_)
        terminate_();
}

void TForm1::CorrectDials() {
    // 20 kHz is the top: the lower dials have nothing to add to it.
    if (AbGearDial1->ValueText() == kTopThousandsText) {
        AbGearDial2->SetValue(0.0f);
        AbGearDial3->SetValue(0.0f);
    }
    // The 10 Hz step's last position would carry into the hundreds.
    if (AbGearDial3->Value() == kUnitsOverflowValue)
        AbGearDial3->SetValue(kUnitsLastValue);
}

void TForm1::Timer1Timer(TPersistent*) {
    // Noise has no frequency to show; the displays keep their dashes.
    if (RadioButton5->Checked())
        return;
    // A measurement signal's displays are its own; the amplitude still
    // follows its dial.
    if (PlaysMeasurementSignal()) {
        ShowAmplitudes();
        return;
    }
    if (RadioButton6->Checked()) {
        Label1->SetCaption(AbGearDial1->ValueText());
        CorrectDials();
        Label2->SetCaption(AbGearDial2->ValueText());
        Label3->SetCaption(AbGearDial3->ValueText());
        Label10->SetCaption(AbGearDial4->ValueText());
    }
    if (RadioButton7->Checked()) {
        Label5->SetCaption(AbGearDial1->ValueText());
        CorrectDials();
        Label6->SetCaption(AbGearDial2->ValueText());
        Label7->SetCaption(AbGearDial3->ValueText());
        Label12->SetCaption(AbGearDial4->ValueText());
    }
    if (RadioButton8->Checked()) {
        Label1->SetCaption(AbGearDial1->ValueText());
        Label5->SetCaption(AbGearDial1->ValueText());
        CorrectDials();
        Label2->SetCaption(AbGearDial2->ValueText());
        Label3->SetCaption(AbGearDial3->ValueText());
        Label6->SetCaption(AbGearDial2->ValueText());
        Label7->SetCaption(AbGearDial3->ValueText());
        Label10->SetCaption(AbGearDial4->ValueText());
        Label12->SetCaption(AbGearDial4->ValueText());
    }
}

void TForm1::ShowAmplitudes() {
    if (!RadioButton7->Checked())
        Label10->SetCaption(AbGearDial4->ValueText());
    if (!RadioButton6->Checked())
        Label12->SetCaption(AbGearDial4->ValueText());
}

// --- hints ----------------------------------------------------------------------

void TForm1::ShowHint(const char* text) {
    hint_ = PanelString(text);
    ShowStatusLine();
}

void TForm1::ShowSoundLost(bool lost) {
    soundLost_ = lost;
    ShowStatusLine();
}

void TForm1::ShowStatusLine() {
    Label9->SetCaption(soundLost_ ? PanelString(hints::kNoSoundOutput) : hint_);
}

void TForm1::AbGearDial1MouseMove(TPersistent*, TShiftState, int, int) {
    ShowHint(hints::kThousandsDial);
}
void TForm1::AbGearDial2MouseMove(TPersistent*, TShiftState, int, int) {
    ShowHint(hints::kHundredsDial);
}
void TForm1::AbGearDial3MouseMove(TPersistent*, TShiftState, int, int) {
    ShowHint(hints::kUnitsDial);
}
void TForm1::AbGearDial4MouseMove(TPersistent*, TShiftState, int, int) {
    ShowHint(hints::kAmplitudeDial);
}
void TForm1::AbColBitBtn1MouseMove(TPersistent*, TShiftState, int, int) {
    ShowHint(hints::kStart);
}
void TForm1::AbColBitBtn2MouseMove(TPersistent*, TShiftState, int, int) {
    ShowHint(hints::kStop);
}
void TForm1::AbColBitBtn3MouseMove(TPersistent*, TShiftState, int, int) {
    ShowHint(hints::kExit);
}
void TForm1::Label1MouseMove(TPersistent*, TShiftState, int, int) {
    ShowHint(hints::kLeftFrequency);
}
void TForm1::Label5MouseMove(TPersistent*, TShiftState, int, int) {
    ShowHint(hints::kRightFrequency);
}
void TForm1::Label10MouseMove(TPersistent*, TShiftState, int, int) {
    ShowHint(hints::kLeftAmplitude);
}
void TForm1::Label12MouseMove(TPersistent*, TShiftState, int, int) {
    ShowHint(hints::kRightAmplitude);
}
void TForm1::RadioButton1MouseMove(TPersistent*, TShiftState, int, int) {
    ShowHint(hints::kWaveform);
}
void TForm1::RadioButton6MouseMove(TPersistent*, TShiftState, int, int) {
    ShowHint(hints::kLeftOnly);
}
void TForm1::RadioButton7MouseMove(TPersistent*, TShiftState, int, int) {
    ShowHint(hints::kRightOnly);
}
void TForm1::RadioButton8MouseMove(TPersistent*, TShiftState, int, int) {
    ShowHint(hints::kBothChannels);
}
void TForm1::RadioButton9MouseMove(TPersistent*, TShiftState, int, int) {
    ShowHint(hints::kStep1Hz);
}
void TForm1::RadioButton10MouseMove(TPersistent*, TShiftState, int, int) {
    ShowHint(hints::kStep10Hz);
}

void TForm1::Image1MouseMove(TPersistent*, TShiftState, int, int) {
    // The bare background has no control to explain: it tells where the
    // menu is.
    hint_ = PanelString(hints::kMenu);
    ShowStatusLine();
    OvcLabel2->SetCaption(std::string());
}

void TForm1::OvcLabel1MouseMove(TPersistent*, TShiftState, int, int) {
    OvcLabel2->SetCaption(PanelString(hints::kCredit));
}
