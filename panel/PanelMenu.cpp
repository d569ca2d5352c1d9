// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/PanelMenu.h"

#include "engine/ChoiceNames.h"
#include "engine/SampleRates.h"
#include "engine/StreamExport.h"
#include "engine/ToneExport.h"
#include "engine/ToneGen.h"
#include "panel/FrequencyDialog.h"
#include "panel/LevelCalibrationDialog.h"
#include "panel/LevelDialog.h"
#include "panel/MultitoneDialog.h"
#include "panel/PanelRemoteControl.h"
#include "panel/PanelSettings.h"
#include "panel/PanelText.h"
#include "panel/PresetMenu.h"
#include "panel/SweepDialog.h"
#include "panel/SweepRun.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QShortcut>

#include <cstring>
#include <utility>

#ifndef ORBEL_VERSION
#define ORBEL_VERSION "unknown"
#endif

namespace {

// One radio item of a group, checked when `checked`.
QAction* AddChoice(QMenu& menu, QActionGroup& group, const QString& text, bool checked) {
    QAction* action = menu.addAction(text);
    action->setCheckable(true);
    action->setChecked(checked);
    group.addAction(action);
    return action;
}

} // namespace

PanelMenu::PanelMenu(QWidget& window, instrument::Instrument& instrument)
    : form_(window), instrument_(instrument), sweep_(std::make_unique<SweepRun>(instrument)) {
    subscription_ = instrument_.Subscribe([this] { RememberChanges(); });
    // The keyboard's ways to the menu, wherever the focus is on the panel.
    for (const QKeySequence& keys :
         {QKeySequence(Qt::Key_Menu), QKeySequence(Qt::SHIFT | Qt::Key_F10)}) {
        auto* shortcut = new QShortcut(keys, &form_);
        connect(shortcut, &QShortcut::activated, this, [this] { PopupAtFocus(); });
    }
}

PanelMenu::~PanelMenu() {
    instrument_.Unsubscribe(subscription_);
    // The dialog and menu call back into this object: they go first.
    delete dialog_;
    delete menu_;
}

bool PanelMenu::Precise() const {
    return instrument_.Generator().Precise();
}

QMenu* PanelMenu::OpenMenu() const {
    return menu_;
}

SweepDialog* PanelMenu::Dialog() const {
    return dialog_;
}

bool PanelMenu::Sweeping() const {
    return sweep_->Active();
}

void PanelMenu::UseRememberedChoices() {
    // What the synthesis cannot play, and a gone output, are left out; the
    // kept choices stay in the file for a run that can use them.
    usingKept_ = true;
    instrument_.UseChoices(panel_settings::Load());
    usingKept_ = false;
    remembered_ = instrument_.State().choices;
    PanelRemoteControl::Of(form_, instrument_).UseRemembered();
}

void PanelMenu::RememberChanges() {
    if (usingKept_ || instrument_.State().choices == remembered_)
        return;
    remembered_ = instrument_.State().choices;
    PanelChoices kept = remembered_;
    // The classic synthesis shows neither the wide formats nor the signals:
    // what it cannot show stays as the file keeps it.
    if (!Precise()) {
        const PanelChoices stored = panel_settings::Load();
        if (IsWideResolution(stored.resolution))
            kept.resolution = stored.resolution;
        kept.signal = stored.signal;
        // Nor the precise synthesis's own rates, which it plays as 96 kHz.
        if (kept.quality == stored.quality)
            kept.rate = stored.rate;
    }
    if (panel_settings::Save(kept) != panel_settings::SaveOutcome::Refused || refusalShown_)
        return;
    refusalShown_ = true;
    auto* box =
        new QMessageBox(QMessageBox::Warning, PanelText("Настройки"),
                        PanelText("Выбор не сохранён: %1 не файл настроек, он оставлен как есть.")
                            .arg(QDir::toNativeSeparators(panel_settings::FilePath())),
                        QMessageBox::Ok, &form_);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

// --- the menu -------------------------------------------------------------------

void PanelMenu::PopupAtFocus() {
    QWidget* focus = QApplication::focusWidget();
    const QPoint at = focus && form_.isAncestorOf(focus)
                          ? focus->mapToGlobal(focus->rect().center())
                          : form_.mapToGlobal(form_.rect().center());
    Popup(at);
    // From the keyboard the first entry is selected at once (as Down
    // would), without opening its submenu.
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QCoreApplication::sendEvent(menu_, &down);
}

void PanelMenu::Popup(const QPoint& globalPos) {
    if (menu_)
        menu_->deleteLater();
    menu_ = new QMenu(&form_);
    menu_->setAttribute(Qt::WA_DeleteOnClose);
    AddDeviceMenu(*menu_);
    AddFormatMenu(*menu_);
    AddSignalMenu(*menu_);
    FrequencyDialog::AddEntry(*menu_, form_, instrument_);
    LevelDialog::AddEntry(*menu_, form_, instrument_);
    QAction* sweep = menu_->addAction(PanelText("Качание частоты…"));
    sweep->setEnabled(Precise());
    connect(sweep, &QAction::triggered, this, [this] { OpenSweepDialog(); });
    PresetMenu::Add(*menu_, form_, instrument_);
    QAction* save = menu_->addAction(PanelText("Сохранить в файл WAV…"));
    // What it writes is the tone or signal the generator holds, not a
    // stream: rather no file than another signal's (orbel export writes
    // the multitone and the steps).
    save->setEnabled(!instrument_.PlaysToneSet());
    connect(save, &QAction::triggered, this, [this] { OpenSaveDialog(); });
    connect(menu_->addAction(PanelText("Калибровка уровня…")), &QAction::triggered, this, [this] {
        QDialog* dialog = LevelCalibrationDialog::Open(form_, instrument_);
        connect(dialog, &QDialog::finished, this, [this] {
            if (calibrated_)
                calibrated_();
        });
    });
    PanelRemoteControl::Of(form_, instrument_).AddEntry(*menu_);
    connect(menu_->addAction(PanelText("О программе")), &QAction::triggered, this,
            [this] { OpenAbout(); });
    menu_->popup(globalPos);
}

void PanelMenu::AddDeviceMenu(QMenu& menu) {
    QMenu* sub = menu.addMenu(PanelText("Устройство вывода"));
    const auto devices = instrument_.Generator().Output()->ListDevices();
    if (!devices || devices->empty()) {
        sub->addAction(PanelText("Нет звукового сервера"))->setEnabled(false);
        return;
    }
    auto* group = new QActionGroup(sub);
    const bool chosenPresent =
        !Choices().device.empty() && FindOutputDevice(*devices, Choices().device) != nullptr;
    for (const OutputDevice& d : *devices) {
        const bool inUse = chosenPresent ? d.name == Choices().device : d.isDefault;
        const QString text = QString::fromStdString(d.description.empty() ? d.name : d.description);
        QAction* item = AddChoice(*sub, *group, text, inUse);
        item->setToolTip(QString::fromStdString(d.name));
        connect(item, &QAction::triggered, this, [this, name = d.name] { ChooseDevice(name); });
    }
}

void PanelMenu::AddFormatMenu(QMenu& menu) {
    QMenu* sub = menu.addMenu(PanelText("Формат"));
    auto* bits = new QActionGroup(sub);
    for (const ChoiceName<TTGResolution>& name : choice_names::kBits) {
        // The classic synthesis makes 16 bits (and 8, which the panel never
        // offered): only its own formats are shown under it.
        if (!name.shownText || (!Precise() && IsWideResolution(name.value)))
            continue;
        connect(
            AddChoice(*sub, *bits, PanelText(name.shownText), Choices().resolution == name.value),
            &QAction::triggered, this, [this, r = name.value] { ChooseResolution(r); });
    }
    sub->addSeparator();
    auto* rates = new QActionGroup(sub);
    // The lower rate first; the classic synthesis's two only under it.
    static constexpr std::pair<int, const char*> kRateTexts[] = {
        {44100, "44,1 кГц"}, {48000, "48 кГц"},     {88200, "88,2 кГц"},
        {96000, "96 кГц"},   {176400, "176,4 кГц"}, {192000, "192 кГц"}};
    const int chosen = !Choices().rateChosen && Precise()       ? 0
                       : Choices().rate != 0                    ? Choices().rate
                       : Choices().quality == TTGQuality::tgLoQ ? 44100
                                                                : 96000;
    // The precise synthesis plays at the output's own rate unless told
    // otherwise: the server passes its samples through unresampled.
    if (Precise())
        connect(AddChoice(*sub, *rates, PanelText("Как у выхода"), chosen == 0),
                &QAction::triggered, this, [this] { instrument_.FollowOutputRate(); });
    for (const auto& [rate, text] : kRateTexts)
        if (PlaysAtRate(rate, Precise()))
            connect(AddChoice(*sub, *rates, PanelText(text), chosen == rate), &QAction::triggered,
                    this, [this, r = rate] { instrument_.ChooseRate(r); });
}

void PanelMenu::AddSignalMenu(QMenu& menu) {
    QMenu* sub = menu.addMenu(PanelText("Сигнал"));
    // The classic synthesis plays the tone alone.
    sub->setEnabled(Precise());
    auto* group = new QActionGroup(sub);
    // Also while it is being made.
    const bool multitone =
        instrument_.State().multitone.chosen || instrument_.State().makingMultitone;
    for (const ChoiceName<SignalKind>& name : choice_names::kSignals)
        connect(AddChoice(*sub, *group, PanelText(name.shownText),
                          !multitone && Choices().signal == name.value),
                &QAction::triggered, this, [this, k = name.value] { ChooseSignal(k); });
    // The multitone as its dialog last set it (at first its defaults: three
    // tones an octave from 20 Hz to 20 kHz on the bins of a 65536-point
    // transform, at -10 dBFS RMS).
    connect(AddChoice(*sub, *group, PanelText("Мультитон"), multitone), &QAction::triggered, this,
            [this] { ChooseMultitone(); });
    sub->addSeparator();
    MultitoneDialog::AddEntry(*sub, form_, instrument_);
}

void PanelMenu::ChooseMultitone() {
    // Kept settings that no longer play (a list's file gone) give the
    // defaults, once they are found not to.
    instrument_.SelectMultitone(panel_settings::LoadMultitone(),
                                [&instrument = instrument_](const instrument::MultitonePlan& plan) {
                                    if (!plan.Playable())
                                        instrument.SelectMultitone(instrument::MultitoneChoice{});
                                });
}

// --- the entries' actions -------------------------------------------------------

void PanelMenu::ChooseDevice(const std::string& name) {
    instrument_.ChooseDevice(name);
}

void PanelMenu::ChooseResolution(TTGResolution resolution) {
    instrument_.ChooseResolution(resolution);
}

void PanelMenu::ChooseSignal(SignalKind kind) {
    instrument_.SelectSignal(kind);
}

void PanelMenu::OpenSweepDialog() {
    if (!dialog_) {
        dialog_ = new SweepDialog(&form_);
        dialog_->setAttribute(Qt::WA_DeleteOnClose);
        dialog_->onStart = [this](const SweepSettings& sweep, bool repeat) {
            sweep_->Start(sweep, repeat);
        };
        dialog_->onStartSteps = [this](const SteppedSweepSettings& steps) {
            sweep_->StartSteps(steps);
        };
        dialog_->onStop = [this] {
            if (sweep_->Active())
                instrument_.Stop();
        };
    }
    dialog_->show();
    dialog_->raise();
    dialog_->activateWindow();
    dialog_->From()->setFocus();
}

ToneRequest PanelMenu::WhatPlays() const {
    const TToneGen& gen = instrument_.Generator();
    ToneRequest request;
    request.precise = gen.Precise();
    request.resolution = gen.Resolution();
    request.quality = gen.Quality();
    request.sampleRate = gen.SampleRate();
    request.stereo = gen.Stereo();
    request.leftVolume = gen.LeftVolume();
    request.rightVolume = gen.RightVolume();
    request.levelDb = gen.PeakLevel(); // an exact level's
    if (gen.Precise() && gen.Signal().Active()) {
        // A measurement signal sets its own frequencies, on a sine.
        request.signal = gen.Signal();
        request.signal.sweep.joinLoop = false;
    } else {
        request.frequency = gen.Frequency();
        request.waveform = gen.Waveform();
    }
    return request;
}

int PanelMenu::SaveTo(const QString& file) const {
    // A frequency between whole hertz has no loop: one second of its stream.
    if (const std::optional<StreamedToneSettings> stream = instrument_.StreamSettings())
        return ExportStreamedTone(*stream, instrument_.Generator().Format(), 1000,
                                  QFile::encodeName(file).toStdString());
    return ExportTone(WhatPlays(), QFile::encodeName(file).toStdString());
}

void PanelMenu::OpenSaveDialog() {
    auto* dialog = new QFileDialog(&form_, PanelText("Сохранить в файл WAV"), QDir::homePath(),
                                   PanelText("Файлы WAV (*.wav)"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setDefaultSuffix(QStringLiteral("wav"));
    connect(dialog, &QFileDialog::fileSelected, this, [this](const QString& file) {
        if (const int why = SaveTo(file); why != 0) {
            auto* box = new QMessageBox(QMessageBox::Warning, PanelText("Сохранить в файл WAV"),
                                        PanelText("Файл %1 не записан: %2")
                                            .arg(QDir::toNativeSeparators(file),
                                                 QString::fromLocal8Bit(std::strerror(why))),
                                        QMessageBox::Ok, &form_);
            box->setAttribute(Qt::WA_DeleteOnClose);
            box->open();
        }
    });
    dialog->open();
}

void PanelMenu::OpenAbout() {
    auto* box = new QMessageBox(QMessageBox::Information, PanelText("О программе"),
                                PanelText("orbel %1\nГенератор сигналов звуковой частоты\n\n"
                                          "Лицензия: GPL-3.0-or-later\n"
                                          "Руководство: man orbel")
                                    .arg(QStringLiteral(ORBEL_VERSION)),
                                QMessageBox::Ok, &form_);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}
