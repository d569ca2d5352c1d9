// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/PanelSettings.h"

#include "engine/ChoiceNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <array>
#include <string>
#include <string_view>

namespace panel_settings {
namespace {

const QString kDevice = QStringLiteral("output/device");
const QString kBits = QStringLiteral("format/bits");
const QString kRate = QStringLiteral("format/rate");
const QString kSignal = QStringLiteral("signal/kind");

// The stored text's value, or `fallback` when it is none of the names.
template <class T, std::size_t N>
T Read(const QSettings& file, const QString& key, const std::array<ChoiceName<T>, N>& names,
       T fallback) {
    const std::string text = file.value(key).toString().toStdString();
    const ChoiceName<T>* name = choice_names::ByStoredWord(names, text);
    return name ? name->value : fallback;
}

template <class T, std::size_t N> QString Name(const std::array<ChoiceName<T>, N>& names, T value) {
    const std::string_view word = choice_names::StoredWord(names, value);
    return QString::fromUtf8(word.data(), qsizetype(word.size()));
}

} // namespace

QString FilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/orbel/orbel.conf");
}

PanelChoices Load() {
    const PanelChoices defaults;
    const QString path = FilePath();
    if (!QFileInfo(path).isFile())
        return defaults;
    const QSettings file(path, QSettings::IniFormat);
    if (file.status() != QSettings::NoError)
        return defaults;
    PanelChoices choices;
    const QVariant device = file.value(kDevice);
    if (device.typeId() == QMetaType::QString)
        choices.device = device.toString().toStdString();
    choices.resolution = Read(file, kBits, choice_names::kBits, defaults.resolution);
    choices.quality = Read(file, kRate, choice_names::kRates, defaults.quality);
    choices.signal = Read(file, kSignal, choice_names::kSignals, defaults.signal);
    return choices;
}

bool Save(const PanelChoices& choices) {
    const QString path = FilePath();
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    {
        // A file QSettings cannot read it would not rewrite either.
        const QSettings probe(path, QSettings::IniFormat);
        if (probe.status() != QSettings::NoError)
            QFile::remove(path);
    }
    QSettings file(path, QSettings::IniFormat);
    file.clear();
    file.setValue(kDevice, QString::fromStdString(choices.device));
    file.setValue(kBits, Name(choice_names::kBits, choices.resolution));
    file.setValue(kRate, Name(choice_names::kRates, choices.quality));
    file.setValue(kSignal, Name(choice_names::kSignals, choices.signal));
    file.sync();
    return file.status() == QSettings::NoError;
}

} // namespace panel_settings
