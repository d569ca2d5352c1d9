// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/PanelSettings.h"

#include "core/IniText.h"
#include "core/SettingsFolderFile.h"
#include "engine/ChoiceNames.h"
#include "engine/LevelFormat.h"
#include "engine/NumberText.h"
#include "engine/SampleRates.h"
#include "panel/MultitoneInput.h"
#include "panel/PanelText.h"

#include <QFile>
#include <QStandardPaths>

#include <array>
#include <charconv>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace panel_settings {
namespace {

const std::string kDevice = "output/device";
const std::string kBits = "format/bits";
const std::string kRate = "format/rate";
const std::string kSignal = "signal/kind";
const std::string kRemoteControl = "remote/control";
// The rate's value while none is chosen: the output's own.
const std::string kOutputRate = "output";
const std::string kMultitoneFrom = "multitone/from";
const std::string kMultitoneTo = "multitone/to";
const std::string kMultitoneTones = "multitone/tones";
const std::string kMultitoneSpacing = "multitone/spacing";
const std::string kMultitoneFile = "multitone/file";
const std::string kMultitoneFft = "multitone/fft";
const std::string kMultitoneLevel = "multitone/level";

// The stored text's value, or `fallback` when it is none of the names.
template <class T, std::size_t N>
T Read(const IniValues& file, const std::string& key, const std::array<ChoiceName<T>, N>& names,
       T fallback) {
    const auto text = file.find(key);
    if (text == file.end())
        return fallback;
    const ChoiceName<T>* name = choice_names::ByStoredWord(names, text->second);
    return name ? name->value : fallback;
}

template <class T, std::size_t N>
std::string Name(const std::array<ChoiceName<T>, N>& names, T value) {
    return std::string(choice_names::StoredWord(names, value));
}

std::string EncodedPath() {
    return QFile::encodeName(FilePath()).toStdString();
}

// The file's values, or none when it is missing or cannot be read.
std::optional<IniValues> StoredValues() {
    const SettingsFileText read = ReadSettingsFolderFile(EncodedPath());
    if (read.status != SettingsFileText::Status::Read)
        return std::nullopt;
    return ReadIniText(read.text);
}

// Writes `values` over the same keys of the file, keeping its others.
SaveOutcome SaveValues(const IniValues& values) {
    IniValues file = StoredValues().value_or(IniValues{});
    for (const auto& [key, value] : values)
        file[key] = value;
    const SettingsFileWrite written =
        WriteSettingsFolderFile(EncodedPath(), WriteIniText(file), [](const std::string& text) {
            return ReadIniText(text).has_value();
        });
    switch (written.outcome) {
    case SettingsFileWrite::Outcome::Written:
        return SaveOutcome::Saved;
    case SettingsFileWrite::Outcome::Refused:
        return SaveOutcome::Refused;
    case SettingsFileWrite::Outcome::Failed:
        break;
    }
    return SaveOutcome::Failed;
}

} // namespace

QString FilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/orbel/orbel.conf");
}

PanelChoices Load() {
    const PanelChoices defaults;
    const SettingsFileText read = ReadSettingsFolderFile(EncodedPath());
    if (read.status == SettingsFileText::Status::TooLarge)
        std::fprintf(stderr, "orbel: %s\n",
                     PanelText("файл настроек %1 больше 1 МБ: взяты настройки по умолчанию")
                         .arg(FilePath())
                         .toLocal8Bit()
                         .constData());
    if (read.status != SettingsFileText::Status::Read)
        return defaults;
    const std::optional<IniValues> file = ReadIniText(read.text);
    if (!file)
        return defaults;
    PanelChoices choices;
    if (const auto device = file->find(kDevice); device != file->end())
        choices.device = device->second;
    choices.resolution = Read(*file, kBits, choice_names::kBits, defaults.resolution);
    choices.quality = Read(*file, kRate, choice_names::kRates, defaults.quality);
    // The precise synthesis's own rates are kept as their numbers.
    if (const auto rate = file->find(kRate); rate != file->end())
        for (const int own : kPreciseRates)
            if (!PlaysAtRate(own, false) && rate->second == std::to_string(own)) {
                choices.quality = TTGQuality::tgHiQ;
                choices.rate = own;
            }
    // A rate it names was chosen (as in every file written before the
    // output's own rate was offered); anything else plays the output's.
    if (const auto rate = file->find(kRate); rate != file->end())
        choices.rateChosen =
            choices.rate != 0 || choice_names::ByStoredWord(choice_names::kRates, rate->second);
    choices.signal = Read(*file, kSignal, choice_names::kSignals, defaults.signal);
    return choices;
}

SaveOutcome Save(const PanelChoices& choices) {
    return SaveValues({
        {kDevice, choices.device},
        {kBits, Name(choice_names::kBits, choices.resolution)},
        {kRate, !choices.rateChosen ? kOutputRate
                : choices.rate != 0 ? std::to_string(choices.rate)
                                    : Name(choice_names::kRates, choices.quality)},
        {kSignal, Name(choice_names::kSignals, choices.signal)},
    });
}

instrument::MultitoneChoice LoadMultitone() {
    const instrument::MultitoneChoice defaults;
    const std::optional<IniValues> file = StoredValues();
    if (!file)
        return defaults;
    const auto text = [&](const std::string& key) {
        const auto found = file->find(key);
        return found == file->end() ? std::string() : found->second;
    };
    // Read as the dialog reads its fields (numbers with a point), each
    // checked there.
    MultitoneFields fields = FieldsOf(defaults);
    const auto take = [&](QString& field, const std::string& key) {
        if (const std::string value = text(key); !value.empty())
            field = QString::fromStdString(value);
    };
    take(fields.from, kMultitoneFrom);
    take(fields.to, kMultitoneTo);
    take(fields.count, kMultitoneTones);
    take(fields.level, kMultitoneLevel);
    fields.linear = text(kMultitoneSpacing) == "linear";
    fields.file = QString::fromStdString(text(kMultitoneFile));
    fields.fromFile = !fields.file.isEmpty();
    if (const std::optional<double> fft = ParseFiniteNumber(text(kMultitoneFft)))
        fields.fftLength = static_cast<int>(*fft);
    const MultitoneInput input = ReadMultitoneInput(fields);
    return input.choice.value_or(defaults);
}

SaveOutcome SaveMultitone(const instrument::MultitoneChoice& multitone) {
    const auto number = [](double value) {
        char text[32];
        const auto [end, error] = std::to_chars(text, text + sizeof text, value);
        return error == std::errc() ? std::string(text, end) : std::string();
    };
    return SaveValues({
        {kMultitoneFrom, number(multitone.f1)},
        {kMultitoneTo, number(multitone.f2)},
        {kMultitoneTones, std::to_string(multitone.tones)},
        {kMultitoneSpacing, multitone.linear ? "linear" : "octave"},
        {kMultitoneFile, multitone.tonesFile},
        {kMultitoneFft, std::to_string(multitone.fftLength)},
        {kMultitoneLevel, FormatLevel(multitone.level)},
    });
}

bool LoadRemoteControl() {
    const std::optional<IniValues> file = StoredValues();
    if (!file)
        return false;
    const auto on = file->find(kRemoteControl);
    return on != file->end() && on->second == "on";
}

SaveOutcome SaveRemoteControl(bool on) {
    return SaveValues({{kRemoteControl, on ? "on" : "off"}});
}

} // namespace panel_settings
