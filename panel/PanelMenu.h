// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The panel's context menu: the output device, the sample format, the
// measurement signal, the sweep dialog, saving what plays as a WAV file,
// and the program's description. It opens by the right mouse button
// anywhere on the window, by the Menu key and by Shift+F10, and is built
// afresh each time, so the list of outputs is the server's list of the
// moment. The faceplate does not change. The device, format and signal
// chosen are the instrument's, kept between runs (PanelSettings).

#include "engine/ToneRequest.h"
#include "instrument/Instrument.h"
#include "panel/PanelChoices.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class QMenu;
class QPoint;
class QShortcut;
class SweepDialog;
class SweepRun;
class QWidget;

class PanelMenu : public QObject {
public:
    // Called once the level calibration dialog has closed: a calibration
    // may have been stored.
    void WhenCalibrated(std::function<void()> reload) { calibrated_ = std::move(reload); }
    // Opens over `window` and drives `instrument`.
    PanelMenu(QWidget& window, instrument::Instrument& instrument);
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

    const PanelChoices& Choices() const { return instrument_.State().choices; }
    bool Sweeping() const;
    SweepRun& Sweep() { return *sweep_; }
    // What the panel plays now, as `orbel export` would be asked for it
    // (a sweep once, without the join a looped one gets).
    ToneRequest WhatPlays() const;
    // Writes WhatPlays() to `file`; 0, or the errno value that says why not.
    int SaveTo(const QString& file) const;

    void ChooseDevice(const std::string& name);
    void ChooseResolution(TTGResolution resolution);
    void ChooseSignal(SignalKind kind);
    void ChooseMultitone();
    void OpenSweepDialog();
    void OpenSaveDialog();
    void OpenAbout();

private:
    void AddDeviceMenu(QMenu& menu);
    void AddFormatMenu(QMenu& menu);
    void AddSignalMenu(QMenu& menu);
    // Keeps the choices when they changed (by the menu or by the switches).
    void RememberChanges();
    bool Precise() const;

    QWidget& form_;
    std::function<void()> calibrated_;
    instrument::Instrument& instrument_;
    int subscription_;
    PanelChoices remembered_;
    bool usingKept_ = false;
    QPointer<QMenu> menu_;
    QPointer<SweepDialog> dialog_;
    std::unique_ptr<SweepRun> sweep_;
    bool refusalShown_ = false; // a settings file that may not be replaced is told once
};
