// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The menu's "Наборы": "Сохранить как…" keeps the instrument's state under
// a name, each saved preset by name recalls it at once (also while it
// plays), and "Удалить…" removes one. The presets are the settings
// folder's (instrument/PresetStore.h), shared with the command line.

#include "instrument/Instrument.h"
#include "instrument/PresetStore.h"

#include <QObject>
#include <QString>

class QMenu;
class QWidget;

class PresetMenu : public QObject {
public:
    // Adds "Наборы" to `menu`, acting on `instrument` over `window`; the
    // entries live as long as the menu (or the dialog one of them opens).
    static void Add(QMenu& menu, QWidget& window, instrument::Instrument& instrument);

    PresetMenu(QMenu& menu, QWidget& window, instrument::Instrument& instrument,
               instrument::PresetStore store);

    // What the entries do once their name is known; each says on the
    // window what went wrong, and returns whether it was done (a recall
    // whose multitone is being made: whether it was asked for).
    bool SaveAs(const QString& name);
    bool Recall(const std::string& name);
    bool Delete(const QString& name);

private:
    void AskName();
    void AskWhichToDelete();
    // A non-modal note over the window.
    void Tell(const QString& text) const;
    static void Tell(QWidget& window, const QString& text);

    QWidget& window_;
    instrument::Instrument& instrument_;
    instrument::PresetStore store_;
};
