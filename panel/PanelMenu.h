// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The panel's context menu: the output device, the sample format, the
// measurement signal, the sweep dialog, saving what plays as a WAV file,
// and the program's description. It opens by the right mouse button
// anywhere on the window, by the Menu key and by Shift+F10, and is built
// afresh each time, so the list of outputs is the server's list of the
// moment. The faceplate does not change. The device, format and signal
// chosen are kept between runs (PanelSettings).

#include "engine/ToneRequest.h"
#include "panel/PanelChoices.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

class QMenu;
class QPoint;
class QShortcut;
class SweepDialog;
class SweepRun;
class TForm1;

class PanelMenu : public QObject {
public:
    explicit PanelMenu(TForm1& form);
    ~PanelMenu() override;

    // Reads the kept choices and puts them on the generator; call once the
    // synthesis (precise or classic) is set. Choices the synthesis cannot
    // play, and a kept output the server no longer has, give the defaults.
    void UseRememberedChoices();

    // Opens the menu at a point on the screen (not modal).
    void Popup(const QPoint& globalPos);
    // Opens it where the keyboard focus is.
    void PopupAtFocus();
    QMenu* OpenMenu() const;
    SweepDialog* Dialog() const;

    // The panel's waveform switch was used: the switch rules again.
    void WaveformChosen();
    // The panel stopped: a sweep ends with it.
    void Stopped();
    // The panel (re)started the generator.
    void GeneratorStarted();

    const PanelChoices& Choices() const { return choices_; }
    bool Sweeping() const;
    SweepRun& Sweep() { return *sweep_; }
    // What the panel plays now, as `orbel export` would be asked for it
    // (a sweep once, without the join a looped one gets).
    ToneRequest WhatPlays() const;
    // Writes WhatPlays() to `file`; 0, or the errno value that says why not.
    int SaveTo(const QString& file) const;

    void ChooseDevice(const std::string& name);
    void ChooseResolution(TTGResolution resolution);
    void ChooseQuality(TTGQuality quality);
    void ChooseSignal(SignalKind kind);
    void OpenSweepDialog();
    void OpenSaveDialog();
    void OpenAbout();

private:
    void AddDeviceMenu(QMenu& menu);
    void AddFormatMenu(QMenu& menu);
    void AddSignalMenu(QMenu& menu);
    void Remember();
    void ApplyFormat();
    MeasurementSignal ChosenSignal() const;
    bool Precise() const;

    TForm1& form_;
    PanelChoices choices_;
    QPointer<QMenu> menu_;
    QPointer<SweepDialog> dialog_;
    std::unique_ptr<SweepRun> sweep_;
    bool refusalShown_ = false; // a settings file that may not be replaced is told once
};
