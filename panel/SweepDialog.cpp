// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/SweepDialog.h"

#include "panel/PanelText.h"
#include "panel/StepsInput.h"
#include "panel/SweepInput.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

SweepDialog::SweepDialog(QWidget* parent)
    : QDialog(parent), from_(new QLineEdit(QStringLiteral("20"), this)),
      to_(new QLineEdit(QStringLiteral("20000"), this)),
      seconds_(new QLineEdit(QStringLiteral("10"), this)),
      logarithmic_(new QRadioButton(PanelText("Логарифмическое"), this)),
      linear_(new QRadioButton(PanelText("Линейное"), this)),
      repeat_(new QCheckBox(PanelText("Повторять"), this)),
      stepped_(new QCheckBox(PanelText("Ступенями"), this)),
      steps_(new QLineEdit(QStringLiteral("10"), this)),
      dwell_(new QLineEdit(QStringLiteral("1000"), this)),
      upDown_(new QCheckBox(PanelText("Туда и обратно"), this)),
      start_(new QPushButton(PanelText("Старт"), this)),
      stop_(new QPushButton(PanelText("Стоп"), this)), refusals_(new QLabel(this)) {
    setWindowTitle(PanelText("Качание частоты"));
    logarithmic_->setChecked(true);
    refusals_->setWordWrap(true);
    refusals_->setStyleSheet(QStringLiteral("color: #b00000"));
    // A screen reader reads the refusals as soon as they appear.
    refusals_->setAccessibleName(PanelText("Ошибки ввода"));

    auto* fields = new QFormLayout;
    fields->addRow(PanelText("От, Гц"), from_);
    fields->addRow(PanelText("До, Гц"), to_);
    fields->addRow(PanelText("Время, с"), seconds_);
    fields->addRow(QString(), logarithmic_);
    fields->addRow(QString(), linear_);
    fields->addRow(QString(), repeat_);
    fields->addRow(QString(), stepped_);
    fields->addRow(PanelText("Ступеней"), steps_);
    fields->addRow(PanelText("Выдержка, мс"), dwell_);
    fields->addRow(QString(), upDown_);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(start_, QDialogButtonBox::ActionRole);
    buttons->addButton(stop_, QDialogButtonBox::ActionRole);
    QPushButton* close = buttons->addButton(PanelText("Закрыть"), QDialogButtonBox::RejectRole);
    start_->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(refusals_);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(start_, &QPushButton::clicked, this, [this] { Start(); });
    connect(stop_, &QPushButton::clicked, this, [this] {
        if (onStop)
            onStop();
    });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(stepped_, &QCheckBox::toggled, this, [this] { ShowKind(); });
    ShowKind();
    setTabOrder(from_, to_);
    setTabOrder(to_, seconds_);
    setTabOrder(seconds_, logarithmic_);
    setTabOrder(logarithmic_, linear_);
    setTabOrder(linear_, repeat_);
    setTabOrder(repeat_, stepped_);
    setTabOrder(stepped_, steps_);
    setTabOrder(steps_, dwell_);
    setTabOrder(dwell_, upDown_);
    setTabOrder(upDown_, start_);
    setTabOrder(start_, stop_);
    setTabOrder(stop_, close);
}

void SweepDialog::ShowKind() {
    const bool stepped = stepped_->isChecked();
    seconds_->setEnabled(!stepped);
    repeat_->setEnabled(!stepped);
    steps_->setEnabled(stepped);
    dwell_->setEnabled(stepped);
    upDown_->setEnabled(stepped);
}

void SweepDialog::Start() {
    if (stepped_->isChecked()) {
        const StepsInput input =
            ReadStepsInput(from_->text(), to_->text(), steps_->text(), dwell_->text(),
                           linear_->isChecked(), upDown_->isChecked());
        refusals_->setText(input.refusals.join(QLatin1Char('\n')));
        if (input.settings && onStartSteps)
            onStartSteps(*input.settings);
        return;
    }
    const SweepInput input =
        ReadSweepInput(from_->text(), to_->text(), seconds_->text(), linear_->isChecked());
    refusals_->setText(input.refusals.join(QLatin1Char('\n')));
    if (input.settings && onStart)
        onStart(*input.settings, repeat_->isChecked());
}
