// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/FrequencyDialog.h"

#include "engine/ToneGen.h"
#include "panel/ChannelReadingText.h"
#include "panel/DigitStepField.h"
#include "panel/OpenOnce.h"
#include "panel/PanelText.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

FrequencyDialog::FrequencyDialog(QWidget* parent, instrument::Instrument& instrument)
    : QDialog(parent), instrument_(instrument), field_(new DigitStepField(this)),
      refusal_(new QLabel(this)) {
    setWindowTitle(PanelText("Частота"));
    refusal_->setWordWrap(true);
    refusal_->setStyleSheet(QStringLiteral("color: #b00000"));
    refusal_->setAccessibleName(PanelText("Ошибки ввода"));
    field_->setAccessibleDescription(
        PanelText("Стрелки вверх и вниз меняют цифру слева от курсора"));

    auto* fields = new QFormLayout;
    fields->addRow(PanelText("Частота, Гц"), field_);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* set = buttons->addButton(PanelText("Установить"), QDialogButtonBox::ActionRole);
    QPushButton* close = buttons->addButton(PanelText("Закрыть"), QDialogButtonBox::RejectRole);
    set->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(refusal_);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    field_->onStep = [this](MilliHertz f) {
        refusal_->clear();
        instrument_.SetExactFrequency(f);
    };
    connect(set, &QPushButton::clicked, this, [this] { Apply(); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    ShowChannelFrequency();
}

void FrequencyDialog::AddEntry(QMenu& menu, QWidget& parent, instrument::Instrument& instrument) {
    QAction* entry = menu.addAction(PanelText("Частота…"));
    entry->setEnabled(instrument.Generator().Precise());
    QObject::connect(entry, &QAction::triggered, &parent, [&parent, &instrument] {
        OpenOnce<FrequencyDialog>(
            parent, [&] { return new FrequencyDialog(&parent, instrument); },
            [](FrequencyDialog& open) { open.ShowChannelFrequency(); })
            ->Field()
            ->setFocus();
    });
}

void FrequencyDialog::ShowChannelFrequency() {
    field_->SetRate(instrument_.Generator().Format().SamplesPerSecond());
    field_->Show(instrument_.FrequencyOf(instrument_.State().channel));
    refusal_->clear();
}

void FrequencyDialog::Apply() {
    const FrequencyReading reading = field_->Read();
    const FrequencyRange range = FrequencyRange::AtRate(field_->Rate());
    if (!reading.frequency || !instrument_.SetExactFrequency(*reading.frequency)) {
        refusal_->setText(PanelText("Частота — от %1 до %2 Гц, не больше трёх знаков после запятой")
                              .arg(FrequencyInPanelNumbers(range.lowest),
                                   FrequencyInPanelNumbers(range.highest)));
        return;
    }
    refusal_->clear();
    field_->Show(*reading.frequency);
}
