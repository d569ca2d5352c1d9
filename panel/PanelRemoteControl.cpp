// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/PanelRemoteControl.h"

#include "panel/PanelSettings.h"
#include "panel/PanelText.h"
#include "platform/WindowThread.h"
#include "remote/Session.h"
#include "remote/net/RemoteServer.h"

#include <QAction>
#include <QMenu>
#include <QMessageBox>
#include <QWidget>

#ifndef ORBEL_VERSION
#define ORBEL_VERSION "unknown"
#endif

namespace {

const char* const kObjectName = "orbelRemoteControl";

// A client's session whose every line is done on the window thread, which
// owns the instrument. Once the window thread is gone nothing is done.
// `serving` (read and written on the window thread only) turns false as the
// server stops: a line handed over meanwhile is not done, since the panel
// and its instrument may be on their way out.
class WindowThreadSession final : public remote_net::ClientSession {
public:
    WindowThreadSession(remote::ScpiTarget& target, std::shared_ptr<bool> serving)
        : session_(target, false), serving_(std::move(serving)) {}

    std::string Execute(std::string_view line) override {
        std::string reply;
        OnWindowThread([&] {
            reply = session_.Execute(line);
            waiting_ = session_.Waiting();
        });
        return reply;
    }
    void LineTooLong() override {
        OnWindowThread([&] { session_.LineTooLong(); });
    }
    // Known on the server's thread without a hand-over: only the calls
    // above and Resume change it.
    bool Waiting() const override { return waiting_; }
    std::string Resume() override {
        std::string reply;
        OnWindowThread([&] {
            reply = session_.Resume();
            waiting_ = session_.Waiting();
        });
        return reply;
    }

private:
    template <class Call> void OnWindowThread(const Call& call) {
        try {
            RunOnWindowThread([&] {
                if (*serving_)
                    call();
            });
        } catch (const EWindowThreadGone&) {
        }
    }

    remote::Session session_;
    std::shared_ptr<bool> serving_;
    bool waiting_ = false;
};

} // namespace

PanelRemoteControl& PanelRemoteControl::Of(QWidget& window, instrument::Instrument& instrument) {
    if (auto* existing =
            window.findChild<PanelRemoteControl*>(kObjectName, Qt::FindDirectChildrenOnly))
        return *existing;
    return *new PanelRemoteControl(window, instrument);
}

PanelRemoteControl::PanelRemoteControl(QWidget& window, instrument::Instrument& instrument)
    : QObject(&window), window_(window), target_(instrument, ORBEL_VERSION),
      port_(remote_net::kDefaultPort) {
    setObjectName(kObjectName);
}

PanelRemoteControl::~PanelRemoteControl() {
    Stop();
}

void PanelRemoteControl::UseRemembered() {
    if (panel_settings::LoadRemoteControl() && !On())
        Start();
}

void PanelRemoteControl::AddEntry(QMenu& menu) {
    QAction* entry = menu.addAction(PanelText("Удалённое управление"));
    entry->setCheckable(true);
    entry->setChecked(On());
    entry->setToolTip(On() ? QStringLiteral("127.0.0.1:%1").arg(Port()) : QString());
    connect(entry, &QAction::triggered, this, [this](bool on) { Switch(on); });
}

int PanelRemoteControl::Port() const {
    return server_ ? server_->Listening().port : 0;
}

bool PanelRemoteControl::Switch(bool on) {
    const bool done = on ? (On() || Start()) : (Stop(), true);
    if (done)
        panel_settings::SaveRemoteControl(on);
    return done;
}

bool PanelRemoteControl::Start() {
    auto server = std::make_unique<remote_net::RemoteServer>(
        [this, serving = serving_](bool) {
            return std::make_unique<WindowThreadSession>(target_, serving);
        },
        remote_net::AllowList{});
    // Loopback only: the panel never listens beyond this machine.
    remote_net::Endpoint loopback;
    loopback.port = static_cast<std::uint16_t>(port_);
    const std::string refused = server->Listen(loopback);
    if (!refused.empty()) {
        auto* box = new QMessageBox(QMessageBox::Warning, PanelText("Удалённое управление"),
                                    QString::fromStdString(refused), QMessageBox::Ok, &window_);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
        return false;
    }
    server_ = std::move(server);
    *serving_ = true;
    ended_ = std::make_unique<TThreadEndSignal>();
    thread_ = std::thread([server = server_.get(), ended = ended_.get()] {
        server->Run();
        ended->Give();
    });
    return true;
}

void PanelRemoteControl::Stop() {
    if (!server_)
        return;
    *serving_ = false;
    server_->Stop();
    // A client's line may be waiting for this thread: it is let go meanwhile.
    ended_->Wait();
    thread_.join();
    server_.reset();
    ended_.reset();
}
