// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/PresetMenu.h"

#include "panel/PanelText.h"

#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>

using namespace instrument;

namespace {

// Texts from the instrument and the store are English; the panel shows them
// as they are (they name settings by their command-line words).
QString FromEnglish(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

void PresetMenu::Add(QMenu& menu, QWidget& window, Instrument& instrument) {
    new PresetMenu(menu, window, instrument, PresetStore(PresetStore::DefaultFolder()));
}

PresetMenu::PresetMenu(QMenu& menu, QWidget& window, Instrument& instrument, PresetStore store)
    : QObject(&menu), window_(window), instrument_(instrument), store_(std::move(store)) {
    QMenu* sub = menu.addMenu(PanelText("Наборы"));
    connect(sub->addAction(PanelText("Сохранить как…")), &QAction::triggered, this,
            [this] { AskName(); });
    const std::vector<std::string> names = store_.List().names;
    if (!names.empty())
        sub->addSeparator();
    for (const std::string& name : names) {
        // An '&' in a name is shown, not taken as a shortcut's mark.
        QString shown = QString::fromStdString(name);
        shown.replace('&', "&&");
        connect(sub->addAction(shown), &QAction::triggered, this, [this, name] { Recall(name); });
    }
    sub->addSeparator();
    QAction* remove = sub->addAction(PanelText("Удалить…"));
    remove->setEnabled(!names.empty());
    connect(remove, &QAction::triggered, this, [this] { AskWhichToDelete(); });
}

void PresetMenu::AskName() {
    auto* dialog = new QInputDialog(&window_);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(PanelText("Сохранить набор"));
    dialog->setLabelText(PanelText("Название набора:"));
    dialog->setTextValue(QString());
    // The menu goes once an entry is chosen: this lives on with the dialog.
    setParent(dialog);
    connect(dialog, &QInputDialog::textValueSelected, this,
            [this](const QString& name) { SaveAs(name); });
    dialog->open();
}

void PresetMenu::AskWhichToDelete() {
    auto* dialog = new QInputDialog(&window_);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(PanelText("Удалить набор"));
    dialog->setLabelText(PanelText("Набор:"));
    QStringList names;
    for (const std::string& name : store_.List().names)
        names << QString::fromStdString(name);
    dialog->setComboBoxItems(names);
    dialog->setComboBoxEditable(false);
    setParent(dialog);
    connect(dialog, &QInputDialog::textValueSelected, this,
            [this](const QString& name) { Delete(name); });
    dialog->open();
}

bool PresetMenu::SaveAs(const QString& name) {
    const std::string bytes = name.toStdString();
    switch (store_.Save(instrument_.CapturePreset(bytes))) {
    case PresetSaveResult::Saved:
        return true;
    case PresetSaveResult::BadName:
    case PresetSaveResult::TooLarge:
        Tell(PanelText("Название набора — от 1 до %1 байт").arg(int(kLongestPresetName)));
        return false;
    case PresetSaveResult::Refused:
        Tell(PanelText("Набор не сохранён: на его месте не файл набора, он оставлен как есть"));
        return false;
    case PresetSaveResult::Failed:
        break;
    }
    Tell(PanelText("Набор не сохранён в %1").arg(QString::fromStdString(store_.Folder())));
    return false;
}

bool PresetMenu::Recall(const std::string& name) {
    const PresetLoad load = store_.Load(name);
    if (!load.preset) {
        Tell(load.line > 0 ? PanelText("Набор «%1» повреждён: строка %2: %3")
                                 .arg(QString::fromStdString(name))
                                 .arg(load.line)
                                 .arg(FromEnglish(load.reason))
                           : PanelText("Набор «%1» не прочитан: %2")
                                 .arg(QString::fromStdString(name), FromEnglish(load.reason)));
        return false;
    }
    // A multitone's preset is told of once its period is made; the menu
    // may be gone by then, the window not.
    const auto told = [window = QPointer<QWidget>(&window_),
                       name](const PresetRecallResult& result) {
        if (!window)
            return;
        if (!result.accepted)
            Tell(*window, PanelText("Набор «%1» не может звучать на панели: %2")
                              .arg(QString::fromStdString(name), FromEnglish(result.refusal)));
        else if (result.outputGone)
            Tell(*window, PanelText("Устройства вывода набора больше нет: звук идёт на "
                                    "устройство по умолчанию"));
    };
    const PresetRecallResult result = instrument_.RecallPreset(*load.preset, told);
    if (result.pending)
        return true;
    told(result);
    return result.accepted;
}

bool PresetMenu::Delete(const QString& name) {
    if (store_.Delete(name.toStdString()) == PresetDeleteResult::Deleted)
        return true;
    Tell(PanelText("Набор «%1» не удалён").arg(name));
    return false;
}

void PresetMenu::Tell(const QString& text) const {
    Tell(window_, text);
}

void PresetMenu::Tell(QWidget& window, const QString& text) {
    auto* box =
        new QMessageBox(QMessageBox::Warning, PanelText("Наборы"), text, QMessageBox::Ok, &window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}
