// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/PanelSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <array>
#include <utility>

namespace panel_settings {
namespace {

const QString kDevice = QStringLiteral("output/device");
const QString kBits = QStringLiteral("format/bits");
const QString kRate = QStringLiteral("format/rate");
const QString kSignal = QStringLiteral("signal/kind");

// The values as written, with what each stands for.
const std::array<std::pair<const char*, TTGResolution>, 3> kBitNames{{
    {"16", TTGResolution::tg16Bit},
    {"24", TTGResolution::tg24Bit},
    {"float", TTGResolution::tgFloat},
}};
const std::array<std::pair<const char*, TTGQuality>, 2> kRateNames{{
    {"96000", TTGQuality::tgHiQ},
    {"44100", TTGQuality::tgLoQ},
}};
const std::array<std::pair<const char*, SignalKind>, 4> kSignalNames{{
    {"panel", SignalKind::Tone},
    {"pink", SignalKind::PinkNoise},
    {"smpte", SignalKind::Smpte},
    {"ccif", SignalKind::Ccif},
}};

// The stored text's value, or `fallback` when it is none of the names.
template <class T, std::size_t N>
T Read(const QSettings& file, const QString& key,
       const std::array<std::pair<const char*, T>, N>& names, T fallback) {
    const QString text = file.value(key).toString();
    for (const auto& [name, value] : names)
        if (text == QLatin1String(name))
            return value;
    return fallback;
}

template <class T, std::size_t N>
QString Name(const std::array<std::pair<const char*, T>, N>& names, T value) {
    for (const auto& [name, v] : names)
        if (v == value)
            return QLatin1String(name);
    return QLatin1String(names.front().first);
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
    choices.resolution = Read(file, kBits, kBitNames, defaults.resolution);
    choices.quality = Read(file, kRate, kRateNames, defaults.quality);
    choices.signal = Read(file, kSignal, kSignalNames, defaults.signal);
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
    file.setValue(kBits, Name(kBitNames, choices.resolution));
    file.setValue(kRate, Name(kRateNames, choices.quality));
    file.setValue(kSignal, Name(kSignalNames, choices.signal));
    file.sync();
    return file.status() == QSettings::NoError;
}

} // namespace panel_settings
