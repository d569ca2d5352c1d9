// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/LevelDialog.h"

#include "engine/LevelFormat.h"
#include "engine/LevelTextReader.h"
#include "engine/ToneGen.h"
#include "panel/OpenOnce.h"
#include "panel/PanelText.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// A level written for the panel: the engine's text with the panel's
// decimal sign.
QString InPanelNumbers(const WrittenLevel& level, LevelRounding rounding) {
    return QString::fromStdString(FormatLevel(level, rounding))
        .replace(QLatin1Char('.'), PanelLocale().decimalPoint());
}

} // namespace

QString LevelRefusalSentence(const LevelRefusal& refusal) {
    switch (refusal.reason) {
    case LevelRefusalReason::None:
        return {};
    case LevelRefusalReason::NotALevel:
    case LevelRefusalReason::DecimalComma:
        break;
    case LevelRefusalReason::DbFsOutOfRange:
        return PanelText("Уровень в dBFS — от -120 до 0");
    case LevelRefusalReason::VoltsNotPositive:
        return PanelText("Напряжение должно быть больше нуля");
    case LevelRefusalReason::NotCalibrated:
        return PanelText("Выход не откалиброван: задайте уровень в dBFS или откалибруйте выход");
    case LevelRefusalReason::AboveFullScale:
        return PanelText("Больше, чем даёт выход; наибольший уровень: %1")
            .arg(refusal.limit ? InPanelNumbers(*refusal.limit, LevelRounding::Down) : QString());
    case LevelRefusalReason::BelowLowest:
        return PanelText("Меньше наименьшего уровня: %1")
            .arg(refusal.limit ? InPanelNumbers(*refusal.limit, LevelRounding::Up) : QString());
    }
    return PanelText("Уровень не распознан; например: -20, -20dBFS, 0dBu, -10dBV, 775mV, 2Vpp");
}

LevelDialog::LevelDialog(QWidget* parent, instrument::Instrument& instrument)
    : QDialog(parent), instrument_(instrument), field_(new QLineEdit(this)),
      refusal_(new QLabel(this)) {
    setWindowTitle(PanelText("Уровень"));
    refusal_->setWordWrap(true);
    refusal_->setStyleSheet(QStringLiteral("color: #b00000"));
    refusal_->setAccessibleName(PanelText("Ошибки ввода"));
    field_->setPlaceholderText(QStringLiteral("0dBu"));

    auto* fields = new QFormLayout;
    fields->addRow(PanelText("Уровень"), field_);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* set = buttons->addButton(PanelText("Установить"), QDialogButtonBox::ActionRole);
    QPushButton* close = buttons->addButton(PanelText("Закрыть"), QDialogButtonBox::RejectRole);
    set->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(refusal_);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(set, &QPushButton::clicked, this, [this] { Apply(); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    ShowChannelLevel();
}

void LevelDialog::AddEntry(QMenu& menu, QWidget& parent, instrument::Instrument& instrument) {
    QAction* entry = menu.addAction(PanelText("Уровень…"));
    entry->setEnabled(instrument.Generator().Precise());
    QObject::connect(entry, &QAction::triggered, &parent, [&parent, &instrument] {
        OpenOnce<LevelDialog>(
            parent, [&] { return new LevelDialog(&parent, instrument); },
            [](LevelDialog& open) { open.ShowChannelLevel(); })
            ->Field()
            ->setFocus();
    });
}

void LevelDialog::ShowChannelLevel() {
    const std::optional<WrittenLevel> level = instrument_.LevelOf(instrument_.State().channel);
    field_->setText(level ? InPanelNumbers(*level, LevelRounding::Nearest) : QString());
    refusal_->clear();
}

void LevelDialog::Apply() {
    // The engine reads a decimal point; the panel's decimal comma stands
    // for it in Russian.
    QString typed = field_->text().trimmed();
    typed.replace(PanelLocale().decimalPoint(), QStringLiteral("."));
    const LevelTextReading reading = ReadLevelText(typed.toStdString());
    LevelRefusal refusal = reading.refusal;
    const instrument::Channel channel = instrument_.State().channel;
    if (reading.level)
        refusal = instrument_.LevelRefusalOf(channel, *reading.level);
    if (!reading.level || refusal.Refused() || !instrument_.SetExactLevel(*reading.level)) {
        refusal_->setText(LevelRefusalSentence(
            refusal.Refused() ? refusal
                              : LevelRefusal{LevelRefusalReason::NotALevel, std::nullopt}));
        return;
    }
    refusal_->clear();
}
