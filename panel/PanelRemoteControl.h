// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The menu's "Удалённое управление": while it is on, the panel takes remote
// commands on the loopback address (port 5025), as `orbel serve` does. The
// server runs on a thread of its own; every client's line is done on the
// window thread (the one hand-over, platform/WindowThread.h), so the
// displays follow a remote change through the instrument's observers, and
// a change made on the panel is what the next query reads. A client cannot
// end the panel. Off unless the panel's settings say on.

#include "instrument/Instrument.h"
#include "remote/InstrumentTarget.h"

#include <QObject>

#include <memory>
#include <string>
#include <thread>

class QMenu;
class QWidget;
class TThreadEndSignal;

namespace remote_net {
class RemoteServer;
}

class PanelRemoteControl : public QObject {
    // Found again among the window's children by its class (qobject_cast).
    Q_OBJECT

public:
    // The window's one remote control, made the first time it is asked for.
    static PanelRemoteControl& Of(QWidget& window, instrument::Instrument& instrument);
    ~PanelRemoteControl() override;

    // Switches on when the panel's settings say so.
    void UseRemembered();
    // The menu's checkable entry.
    void AddEntry(QMenu& menu);

    bool On() const { return server_ != nullptr; }
    // Starts or stops taking commands, and remembers the choice; false
    // when the server cannot listen (the reason is shown).
    bool Switch(bool on);
    int Port() const;
    // Listens on another port from the next start (0: any free one).
    void UsePort(int port) { port_ = port; }

private:
    PanelRemoteControl(QWidget& window, instrument::Instrument& instrument);
    bool Start();
    void Stop();

    QWidget& window_;
    remote::InstrumentTarget target_; // used on the window thread only
    std::unique_ptr<remote_net::RemoteServer> server_;
    std::unique_ptr<TThreadEndSignal> ended_;
    std::thread thread_;
    int port_;
    // Whether clients' lines are done (the window thread's only).
    std::shared_ptr<bool> serving_ = std::make_shared<bool>(false);
};
