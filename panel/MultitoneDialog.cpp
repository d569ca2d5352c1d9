// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/MultitoneDialog.h"

#include "engine/ToneGen.h"
#include "engine/multitone/FftLength.h"
#include "panel/OpenOnce.h"
#include "panel/PanelSettings.h"
#include "panel/PanelText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

using instrument::MultitoneChoice;

MultitoneDialog::MultitoneDialog(QWidget* parent, instrument::Instrument& instrument)
    : QDialog(parent), instrument_(instrument), from_(new QLineEdit(this)),
      to_(new QLineEdit(this)), count_(new QLineEdit(this)),
      perOctave_(new QRadioButton(PanelText("На октаву"), this)),
      linear_(new QRadioButton(PanelText("Линейно, всего"), this)),
      fromFile_(new QCheckBox(PanelText("Из файла"), this)), file_(new QLineEdit(this)),
      browse_(new QPushButton(PanelText("Обзор…"), this)), fft_(new QComboBox(this)),
      level_(new QLineEdit(this)), summary_(new QLabel(this)), refusals_(new QLabel(this)),
      givenUpWatch_(new QTimer(this)) {
    setWindowTitle(PanelText("Мультитон"));
    refusals_->setWordWrap(true);
    refusals_->setStyleSheet(QStringLiteral("color: #b00000"));
    // A screen reader reads the refusals as soon as they appear.
    refusals_->setAccessibleName(PanelText("Ошибки ввода"));
    summary_->setAccessibleName(PanelText("Пик-фактор"));
    for (int n = kShortestFft; n <= kLongestFft; n *= 2)
        fft_->addItem(QString::number(n), n);
    file_->setPlaceholderText(PanelText("частота, уровень, фаза — по строке на тон"));
    level_->setPlaceholderText(QStringLiteral("-10dBFS"));

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(file_);
    fileRow->addWidget(browse_);
    auto* fields = new QFormLayout;
    fields->addRow(PanelText("От, Гц"), from_);
    fields->addRow(PanelText("До, Гц"), to_);
    fields->addRow(PanelText("Тонов"), count_);
    fields->addRow(QString(), perOctave_);
    fields->addRow(QString(), linear_);
    fields->addRow(QString(), fromFile_);
    fields->addRow(PanelText("Файл"), fileRow);
    fields->addRow(PanelText("БПФ, точек"), fft_);
    fields->addRow(PanelText("Уровень СКЗ"), level_);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* check = buttons->addButton(PanelText("Проверить"), QDialogButtonBox::ActionRole);
    QPushButton* start = buttons->addButton(PanelText("Старт"), QDialogButtonBox::ActionRole);
    QPushButton* stop = buttons->addButton(PanelText("Стоп"), QDialogButtonBox::ActionRole);
    QPushButton* close = buttons->addButton(PanelText("Закрыть"), QDialogButtonBox::RejectRole);
    start->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(summary_);
    layout->addWidget(refusals_);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(check, &QPushButton::clicked, this, [this] { Check(); });
    connect(start, &QPushButton::clicked, this, [this] { Start(); });
    connect(stop, &QPushButton::clicked, this, [this] {
        if (instrument_.State().multitone.chosen || instrument_.State().makingMultitone)
            instrument_.Stop();
    });
    givenUpWatch_->setInterval(100);
    connect(givenUpWatch_, &QTimer::timeout, this, [this] {
        // A plan handed back is shown in the same turn of the event loop
        // as the making ends: none shown by now was given up.
        if (awaited_ == watched_ && instrument_.State().makingMultitone)
            return;
        givenUpWatch_->stop();
        if (awaited_ == watched_) {
            awaited_ = 0;
            summary_->clear();
        }
    });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(browse_, &QPushButton::clicked, this, [this] { Browse(); });
    connect(fromFile_, &QCheckBox::toggled, this, [this] { ShowSource(); });

    // What plays, else what was kept from the last run.
    const MultitoneChoice& playing = instrument_.State().multitone;
    Show(FieldsOf(playing.chosen ? playing : panel_settings::LoadMultitone()));
}

void MultitoneDialog::AddEntry(QMenu& menu, QWidget& parent, instrument::Instrument& instrument) {
    QAction* entry = menu.addAction(PanelText("Параметры мультитона…"));
    QObject::connect(entry, &QAction::triggered, &parent, [&parent, &instrument] {
        OpenOnce<MultitoneDialog>(
            parent, [&] { return new MultitoneDialog(&parent, instrument); },
            [](MultitoneDialog&) {})
            ->From()
            ->setFocus();
    });
}

MultitoneFields MultitoneDialog::Fields() const {
    MultitoneFields fields;
    fields.from = from_->text();
    fields.to = to_->text();
    fields.count = count_->text();
    fields.linear = linear_->isChecked();
    fields.fromFile = fromFile_->isChecked();
    fields.file = file_->text();
    fields.fftLength = fft_->currentData().toInt();
    fields.level = level_->text();
    return fields;
}

void MultitoneDialog::Show(const MultitoneFields& fields) {
    from_->setText(fields.from);
    to_->setText(fields.to);
    count_->setText(fields.count);
    (fields.linear ? linear_ : perOctave_)->setChecked(true);
    fromFile_->setChecked(fields.fromFile);
    file_->setText(fields.file);
    const int fft = fft_->findData(fields.fftLength);
    fft_->setCurrentIndex(fft >= 0 ? fft : fft_->findData(MultitoneChoice{}.fftLength));
    level_->setText(fields.level);
    ShowSource();
}

void MultitoneDialog::ShowSource() {
    const bool file = fromFile_->isChecked();
    for (QWidget* span :
         {static_cast<QWidget*>(from_), static_cast<QWidget*>(to_), static_cast<QWidget*>(count_),
          static_cast<QWidget*>(perOctave_), static_cast<QWidget*>(linear_)})
        span->setEnabled(!file);
    file_->setEnabled(file);
    browse_->setEnabled(file);
}

void MultitoneDialog::Browse() {
    auto* dialog = new QFileDialog(this, PanelText("Список тонов"),
                                   file_->text().isEmpty() ? QDir::homePath() : file_->text());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setFileMode(QFileDialog::ExistingFile);
    connect(dialog, &QFileDialog::fileSelected, this,
            [this](const QString& path) { file_->setText(path); });
    dialog->open();
}

std::optional<MultitoneChoice> MultitoneDialog::Read() {
    summary_->clear();
    awaited_ = 0;
    const MultitoneInput input = ReadMultitoneInput(Fields());
    refusals_->setText(input.refusals.join(QLatin1Char('\n')));
    if (!input.choice)
        return std::nullopt;
    // A long transform takes seconds to make (about 2 s at 65536 points,
    // 20 s at 1048576), away from the window: it says so meanwhile.
    summary_->setText(PanelText("Расчёт…"));
    awaited_ = ++requests_;
    return input.choice;
}

bool MultitoneDialog::Show(int request, const instrument::MultitonePlan& plan, int fftLength) {
    if (request != awaited_)
        return false;
    awaited_ = 0;
    summary_->setText(PlanSummary(plan));
    if (!plan.Playable()) {
        refusals_->setText(PlanRefusalSentence(plan, fftLength));
        return false;
    }
    return true;
}

void MultitoneDialog::Check() {
    const std::optional<MultitoneChoice> choice = Read();
    if (!choice)
        return;
    instrument_.CheckMultitone(*choice, [dialog = QPointer(this), request = awaited_,
                                         fft = choice->fftLength](const auto& plan) {
        if (dialog)
            dialog->Show(request, plan, fft);
    });
}

void MultitoneDialog::Start() {
    if (!instrument_.Generator().Precise()) {
        refusals_->setText(PanelText("Мультитон звучит только при точном синтезе"));
        return;
    }
    const std::optional<MultitoneChoice> choice = Read();
    if (!choice)
        return;
    // Started and kept once made, also when the dialog has closed by then.
    const bool asked = instrument_.SelectMultitone(
        *choice, [dialog = QPointer(this), request = awaited_, choice = *choice,
                  &instrument = instrument_](const instrument::MultitonePlan& plan) {
            if (dialog)
                dialog->Show(request, plan, choice.fftLength);
            if (!plan.Playable())
                return;
            if (!instrument.State().running)
                instrument.Start();
            panel_settings::SaveMultitone(choice);
        });
    if (!asked && Busy()) {
        awaited_ = 0;
        summary_->clear();
        refusals_->setText(PanelText("Мультитон не выбран"));
    }
    // A stop or another signal gives it up: the dialog stops waiting then.
    if (Busy()) {
        watched_ = awaited_;
        givenUpWatch_->start();
    }
}
