// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/MultitoneInput.h"

#include "engine/LevelFormat.h"
#include "engine/LevelTextReader.h"
#include "engine/NumberText.h"
#include "engine/multitone/FftLength.h"
#include "engine/multitone/ToneListReader.h"
#include "engine/multitone/TonePlacement.h"
#include "panel/LevelDialog.h"
#include "panel/PanelText.h"

#include <QRegularExpression>

using instrument::MultitoneChoice;
using instrument::MultitonePlan;
using instrument::MultitonePlanRefusal;

namespace {

// The panel's decimal comma stands for the engine's point.
std::string EngineNumbers(QString text) {
    text.replace(PanelLocale().decimalPoint(), QStringLiteral("."));
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    return text.toStdString();
}

QString PanelNumber(double value, int significant = 9) {
    return PanelLocale().toString(value, 'g', significant);
}

std::optional<double> Hertz(const QString& text) {
    const std::optional<double> hz = ParseFiniteNumber(EngineNumbers(text));
    if (!hz || !(*hz > 0) || *hz > kHighestMultitoneHertz)
        return std::nullopt;
    return hz;
}

std::optional<int> Count(const QString& text, int most) {
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,7}$"));
    if (!digits.match(text).hasMatch())
        return std::nullopt;
    const int n = text.toInt();
    if (n < 1 || n > most)
        return std::nullopt;
    return n;
}

QString HertzRefusal(const char* field, const QString& text) {
    return PanelText("%1: «%2» — нужно число больше 0 и не больше %3 Гц")
        .arg(PanelText(field), text, PanelNumber(kHighestMultitoneHertz));
}

} // namespace

MultitoneInput ReadMultitoneInput(const MultitoneFields& fields) {
    MultitoneInput input;
    MultitoneChoice choice;
    choice.linear = fields.linear;
    choice.fftLength = fields.fftLength;
    if (!IsFftLength(fields.fftLength))
        input.refusals << PanelText("Длина БПФ — степень двойки от %1 до %2")
                              .arg(kShortestFft)
                              .arg(kLongestFft);
    // The span's fields are kept with a file too, for when it is left;
    // they are checked only when they place the tones.
    QStringList span;
    const QString fromText = fields.from.trimmed(), toText = fields.to.trimmed();
    const QString countText = fields.count.trimmed();
    const std::optional<double> f1 = Hertz(fromText), f2 = Hertz(toText);
    const int most = fields.linear ? kMostListedTones : kMostTonesPerOctave;
    const std::optional<int> n = Count(countText, most);
    if (!f1)
        span << HertzRefusal("От, Гц", fromText);
    if (!f2)
        span << HertzRefusal("До, Гц", toText);
    if (f1 && f2 && !(*f1 < *f2))
        span << PanelText("«От» должно быть меньше «До»");
    if (!n)
        span << PanelText("%1: «%2» — нужно целое число от 1 до %3")
                    .arg(PanelText("Тонов"), countText)
                    .arg(most);
    if (span.isEmpty()) {
        choice.f1 = *f1;
        choice.f2 = *f2;
        choice.tones = *n;
    }
    if (fields.fromFile) {
        choice.tonesFile = fields.file.trimmed().toStdString();
        if (choice.tonesFile.empty())
            input.refusals << PanelText("Укажите файл со списком тонов");
    } else {
        input.refusals << span;
    }
    const LevelTextReading level = ReadLevelText(EngineNumbers(fields.level.trimmed()));
    if (level.level)
        choice.level = *level.level;
    else
        input.refusals << QStringLiteral("%1: %2").arg(PanelText("Уровень СКЗ"),
                                                       LevelRefusalSentence(level.refusal));
    if (input.refusals.isEmpty())
        input.choice = choice;
    return input;
}

MultitoneFields FieldsOf(const MultitoneChoice& choice) {
    MultitoneFields fields;
    fields.from = PanelNumber(choice.f1);
    fields.to = PanelNumber(choice.f2);
    fields.count = QString::number(choice.tones);
    fields.linear = choice.linear;
    fields.fromFile = !choice.tonesFile.empty();
    fields.file = QString::fromStdString(choice.tonesFile);
    fields.fftLength = choice.fftLength;
    fields.level = QString::fromStdString(FormatLevel(choice.level))
                       .replace(QLatin1Char('.'), PanelLocale().decimalPoint());
    return fields;
}

QString PlanRefusalSentence(const MultitonePlan& plan, int fftLength) {
    switch (plan.refusal) {
    case MultitonePlanRefusal::None:
        return {};
    case MultitonePlanRefusal::FileUnreadable:
        switch (plan.fileStatus) {
        case SettingsFileText::Status::Missing:
            return PanelText("Файла со списком тонов нет");
        case SettingsFileText::Status::NotAFile:
            return PanelText("Список тонов — не обычный файл");
        case SettingsFileText::Status::TooLarge:
            return PanelText("Файл со списком тонов больше 1 МБ");
        case SettingsFileText::Status::Read:
        case SettingsFileText::Status::Unreadable:
            break;
        }
        return PanelText("Файл со списком тонов не прочитан");
    case MultitonePlanRefusal::FileLine:
        // The reader's reasons name the fields in English, as the command
        // line's --tones-file does.
        return PanelText("Список тонов, строка %1: %2")
            .arg(plan.listLine)
            .arg(QString::fromStdString(plan.listReason));
    case MultitonePlanRefusal::NoTones:
        return PanelText("Нет ни одного тона");
    case MultitonePlanRefusal::TooManyTones:
        return PanelText("Слишком много тонов: не больше %1").arg(kMostListedTones);
    case MultitonePlanRefusal::OutOfRange:
        return PanelText("Тон %1 Гц не ложится между первым бином БПФ %2 и половиной частоты "
                         "дискретизации")
            .arg(PanelNumber(plan.firstHertz, 6))
            .arg(fftLength);
    case MultitonePlanRefusal::SameBin:
        return PanelText("Тоны %1 Гц и %2 Гц попадают в один бин БПФ %3: уберите один или "
                         "удлините БПФ")
            .arg(PanelNumber(plan.firstHertz, 6), PanelNumber(plan.secondHertz, 6))
            .arg(fftLength);
    case MultitonePlanRefusal::BadLength:
        return PanelText("БПФ %1 не подходит к этой частоте дискретизации").arg(fftLength);
    case MultitonePlanRefusal::Level:
        return LevelRefusalSentence(plan.levelRefusal);
    case MultitonePlanRefusal::Clips:
        return PanelText("Сигнал с этим уровнем ограничится; наибольший уровень: %1")
            .arg(plan.largestLevel
                     ? QString::fromStdString(FormatLevel(*plan.largestLevel, LevelRounding::Down))
                           .replace(QLatin1Char('.'), PanelLocale().decimalPoint())
                     : QString());
    case MultitonePlanRefusal::NoMemory:
        break;
    }
    return PanelText("Не хватает памяти для мультитона");
}

QString PlanSummary(const MultitonePlan& plan) {
    if (!plan.multitone)
        return {};
    return PanelText("Пик-фактор %1 дБ, тонов: %2, период %3 отсчётов")
        .arg(PanelLocale().toString(plan.crestFactorDb, 'f', 2))
        .arg(plan.multitone->tones.size())
        .arg(plan.multitone->fftLength);
}
