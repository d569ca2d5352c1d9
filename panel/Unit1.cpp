// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/Unit1.h"

#include "panel/MultitoneWorker.h"

#include "controls/AbCBitBt.h"
#include "controls/analog/AbAnalogCControl.h"
#include "controls/ovclabel.h"
#include "controls/std/StdImage.h"
#include "controls/std/StdLabel.h"
#include "controls/std/StdPanel.h"
#include "controls/std/StdRadioButton.h"
#include "controls/std/StdTimer.h"
#include "engine/ToneGen.h"
#include "instrument/FrequencyDials.h"
#include "panel/CalibrationFollower.h"
#include "panel/ChannelReadingText.h"
#include "panel/Hints.h"
#include "panel/OutputWatch.h"
#include "panel/PanelLook.h"
#include "panel/PanelMenu.h"
#include "panel/PanelText.h"
#include "panel/SoundLossNotice.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFile>

#include <stdexcept>
#include <utility>
#include <variant>

using namespace panel;
using instrument::Channel;
using instrument::Step;

namespace {
constexpr const char* kLayoutResource = ":/panel/Unit1.layout";

template <class T> T* Find(TComponent& form, const char* name) {
    auto* c = dynamic_cast<T*>(form.FindComponent(name));
    if (!c)
        throw std::runtime_error(std::string("the panel's layout has no control ") + name);
    return c;
}

// The form's field that holds a control, by the control's class.
using ControlField =
    std::variant<TImage * TForm1::*, TLabel * TForm1::*, TOvcLabel * TForm1::*,
                 TAbColBitBtn * TForm1::*, TPanel * TForm1::*, TRadioButton * TForm1::*,
                 TAbAnalogCControl * TForm1::*, TToneGen * TForm1::*, TTimer * TForm1::*>;

struct ControlBinding {
    const char* name; // in the stored layout
    ControlField field;
    const char* role; // what it is on the faceplate
    // What a screen reader calls it, where no caption of its own says it.
    const char* spokenName = nullptr;
};

// Every control of the stored layout: the one place that says which
// numbered control is which.
const ControlBinding kControls[] = {
    {"Image1", &TForm1::Image1, "background: the frames' captions and the dials' scales"},
    {"Label1", &TForm1::Label1, "left frequency display, thousands",
     "Частота левого канала, тысячи герц"},
    {"Label2", &TForm1::Label2, "left frequency display, hundreds",
     "Частота левого канала, сотни герц"},
    {"Label3", &TForm1::Label3, "left frequency display, tens and units",
     "Частота левого канала, десятки и единицы герц"},
    {"Label4", &TForm1::Label4, "left frequency display, unit (Hz)"},
    {"Label5", &TForm1::Label5, "right frequency display, thousands",
     "Частота правого канала, тысячи герц"},
    {"Label6", &TForm1::Label6, "right frequency display, hundreds",
     "Частота правого канала, сотни герц"},
    {"Label7", &TForm1::Label7, "right frequency display, tens and units",
     "Частота правого канала, десятки и единицы герц"},
    {"Label8", &TForm1::Label8, "right frequency display, unit (Hz)"},
    {"Label9", &TForm1::Label9, "status line"},
    {"AbColBitBtn1", &TForm1::AbColBitBtn1, "Start button"},
    {"OvcLabel1", &TForm1::OvcLabel1, "model name"},
    {"OvcLabel2", &TForm1::OvcLabel2, "credit line"},
    {"Label10", &TForm1::Label10, "left amplitude display", "Амплитуда левого канала, мВ"},
    {"Label11", &TForm1::Label11, "left amplitude display, unit (mV)"},
    {"Label12", &TForm1::Label12, "right amplitude display", "Амплитуда правого канала, мВ"},
    {"Label13", &TForm1::Label13, "right amplitude display, unit (mV)"},
    {"AbColBitBtn2", &TForm1::AbColBitBtn2, "Stop button"},
    {"AbColBitBtn3", &TForm1::AbColBitBtn3, "Exit button"},
    {"Panel1", &TForm1::Panel1, "waveform switch", "Вид сигнала"},
    {"RadioButton1", &TForm1::RadioButton1, "waveform: sine"},
    {"RadioButton2", &TForm1::RadioButton2, "waveform: square"},
    {"RadioButton3", &TForm1::RadioButton3, "waveform: triangle"},
    {"RadioButton4", &TForm1::RadioButton4, "waveform: sawtooth"},
    {"RadioButton5", &TForm1::RadioButton5, "waveform: noise"},
    {"AbGearDial1", &TForm1::AbGearDial1, "thousands dial", "Тысячи герц"},
    {"AbGearDial2", &TForm1::AbGearDial2, "hundreds dial", "Сотни герц"},
    {"AbGearDial3", &TForm1::AbGearDial3, "tens-and-units dial", "Десятки и единицы герц"},
    {"AbGearDial4", &TForm1::AbGearDial4, "amplitude dial", "Амплитуда"},
    {"Panel2", &TForm1::Panel2, "channel switch", "Канал"},
    {"RadioButton6", &TForm1::RadioButton6, "channel: left"},
    {"RadioButton7", &TForm1::RadioButton7, "channel: right"},
    {"RadioButton8", &TForm1::RadioButton8, "channel: both"},
    {"Panel3", &TForm1::Panel3, "step switch", "Дискретность"},
    {"RadioButton9", &TForm1::RadioButton9, "step: 1 Hz"},
    {"RadioButton10", &TForm1::RadioButton10, "step: 10 Hz"},
    {"ToneGen1", &TForm1::ToneGen1, "the tone generator the instrument drives"},
    {"Timer1", &TForm1::Timer1, "the displays' tick"},
};
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
    menu_ = std::make_unique<PanelMenu>(*this, *instrument_);
    calibrations_ = std::make_unique<CalibrationFollower>(*instrument_);
    menu_->WhenCalibrated([this] { calibrations_->Reload(); });
    // The chosen output's volume and rate, as the server reports them.
    outputWatch_ = std::make_unique<OutputWatch>(
        ToneGen1->Output(),
        [this](const instrument::OutputReport& report) { instrument_->UseOutputReport(report); });
    const auto follow = [this] {
        const instrument::InstrumentState& s = instrument_->State();
        const bool calibrated = s.calibration.left || s.calibration.right;
        outputWatch_->Follow(s.choices.device, calibrated);
    };
    follow();
    instrument_->Subscribe([this, follow] {
        if (outputWatch_)
            follow();
    });
}

TForm1::~TForm1() {
    outputWatch_.reset();
    // The menu's dialogs and sweep go before the controls they use.
    calibrations_.reset();
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

std::vector<std::pair<std::string, std::string>> TForm1::ControlRoles() {
    std::vector<std::pair<std::string, std::string>> roles;
    for (const ControlBinding& b : kControls)
        roles.emplace_back(b.name, b.role);
    return roles;
}

void TForm1::Loaded() {
    TForm::Loaded();
    FindControls();
    ShowTextsInPanelLanguage();
    NameControlsForScreenReaders();
    // The layout set the generator as the instrument starts.
    instrument_ = std::make_unique<instrument::Instrument>(*ToneGen1);
    // A multitone's period takes seconds to make: the window answers
    // meanwhile.
    multitones_ = std::make_unique<MultitoneWorker>();
    instrument_->SetMultitoneExecutor([worker = multitones_.get()](instrument::MultitoneJob job) {
        worker->Run(std::move(job));
    });
    instrument_->Subscribe([this] { ShowState(); });
}

void TForm1::FindControls() {
    for (const ControlBinding& b : kControls)
        std::visit(
            [this, &b](auto field) {
                using Control =
                    std::remove_pointer_t<std::remove_reference_t<decltype(this->*field)>>;
                this->*field = Find<Control>(*this, b.name);
            },
            b.field);
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
    // A dial's position or a display's digits say nothing without what
    // they set or show.
    for (const ControlBinding& b : kControls)
        if (b.spokenName)
            dynamic_cast<QWidget&>(*FindComponent(b.name))
                .setAccessibleName(PanelText(b.spokenName));
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

// --- the instrument's state on the controls -----------------------------------

instrument::DialPositions TForm1::Dials() const {
    const TAbAnalogCControl* dials[] = {AbGearDial1, AbGearDial2, AbGearDial3, AbGearDial4};
    instrument::DialPositions positions;
    for (std::size_t i = 0; i < positions.size(); ++i)
        positions[i] = {dials[i]->Value(), instrument::DialNumber(dials[i]->ValueText())};
    return positions;
}

void TForm1::ShowState() {
    const instrument::DisplayState s = instrument_->Display();
    const auto showDisplays = [](TLabel* thousands, TLabel* hundreds, TLabel* units,
                                 TLabel* amplitude, const instrument::ChannelDisplay& d) {
        thousands->SetCaption(d.thousands);
        hundreds->SetCaption(d.hundreds);
        units->SetCaption(d.units);
        amplitude->SetCaption(d.amplitude);
    };
    showDisplays(Label1, Label2, Label3, Label10, s.left);
    showDisplays(Label5, Label6, Label7, Label12, s.right);
    const TDisplayLighting lit = DisplayLighting(s.channel);
    for (TLabel* l : {Label1, Label2, Label3, Label4, Label10, Label11})
        l->Font()->SetColor(lit.left);
    for (TLabel* l : {Label5, Label6, Label7, Label8, Label12, Label13})
        l->Font()->SetColor(lit.right);

    // A switch set here reports a click; the instrument takes the same
    // selection again as no change.
    const std::pair<TRadioButton*, bool> switches[] = {
        {RadioButton1, s.waveform == TTGWave::tgSine},
        {RadioButton2, s.waveform == TTGWave::tgSquare},
        {RadioButton3, s.waveform == TTGWave::tgTriangle},
        {RadioButton4, s.waveform == TTGWave::tgSawtooth},
        {RadioButton5, s.waveform == TTGWave::tgNoise},
        {RadioButton6, s.channel == Channel::Left},
        {RadioButton7, s.channel == Channel::Right},
        {RadioButton8, s.channel == Channel::Both},
        {RadioButton9, s.step == Step::OneHz},
        {RadioButton10, s.step == Step::TenHz},
    };
    for (const auto& [button, selected] : switches) {
        button->Font()->SetColor(SwitchCaptionColor(selected));
        if (selected && !button->Checked())
            button->SetChecked(true);
    }

    // The units dial's range before its position, which it limits.
    const bool oneHz = s.step == Step::OneHz;
    TSignalSettings* units = AbGearDial3->SignalSettings();
    if (units->DigitalTo() != (oneHz ? kUnitsDigits1Hz : kUnitsDigits10Hz)) {
        units->SetDigitalTo(oneHz ? kUnitsDigits1Hz : kUnitsDigits10Hz);
        units->SetValueTo(oneHz ? kUnitsValueTo1Hz : kUnitsValueTo10Hz);
    }
    // A dial moved here reports its change at the end of the next gesture;
    // the instrument takes the position it already has as no change.
    TAbAnalogCControl* dials[] = {AbGearDial1, AbGearDial2, AbGearDial3, AbGearDial4};
    for (std::size_t i = 0; i < s.dials.size(); ++i)
        if (instrument::DialNumber(dials[i]->ValueText()) != s.dials[i].reading)
            dials[i]->SetValue(s.dials[i].value);

    // Without a hint, the selected channel's exact frequency and volts.
    Label9->SetCaption(StatusLineText(s).toStdString());
    AbColBitBtn1->SetEnabled(s.startEnabled);
    AbColBitBtn2->SetEnabled(s.stopEnabled);
}

// --- handlers: the instrument's commands ------------------------------------------

void TForm1::FormCreate(TPersistent*) {
    if (instrument_)
        instrument_->ResetMemory();
}

void TForm1::AbColBitBtn3Click(TPersistent*) {
    if (terminate_)
        terminate_();
}
void TForm1::Timer1Timer(TPersistent*) {
    // The displays follow a turn still in progress (a wheel turn, a held key).
    instrument_->MoveDials(Dials());
    instrument_->Tick();
}

// --- hints ----------------------------------------------------------------------

void TForm1::ShowHint(const char* text) {
    instrument_->ShowHint(text);
}

void TForm1::ShowSoundLost(bool lost) {
    instrument_->SetSoundLost(lost);
}

void TForm1::OvcLabel1MouseMove(TPersistent*, TShiftState, int, int) {
    OvcLabel2->SetCaption(PanelString(hints::kCredit));
}

void TForm1::Image1MouseMove(TPersistent*, TShiftState, int, int) {
    // The bare background has no control to explain: it tells where the
    // menu is.
    ShowHint(hints::kMenu);
    OvcLabel2->SetCaption(std::string());
}
