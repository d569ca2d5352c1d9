// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/LevelCalibrationDialog.h"

#include "core/CalibrationDate.h"
#include "core/CalibrationStore.h"
#include "engine/MeterReadingText.h"
#include "engine/OutputDevice.h"
#include "instrument/Instrument.h"
#include "panel/PanelText.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include <ctime>
#include <utility>

namespace {

// Volts as the panel writes numbers: "1,581" in Russian, "1.581" in English.
QString Volts(double volts) {
    const QLocale locale(PanelInRussian() ? QLocale::Russian : QLocale::English);
    return locale.toString(volts, 'g', 4);
}

QString FileName(const std::string& path) {
    return QDir::toNativeSeparators(QFile::decodeName(QByteArray::fromStdString(path)));
}

} // namespace

LevelCalibrationDialog* LevelCalibrationDialog::Open(QWidget& window,
                                                     instrument::Instrument& instrument) {
    // The meter must read the calibration tone alone.
    instrument.Stop();
    std::shared_ptr<SoundOutput> output = instrument.Generator().Output();
    const auto devices = output->ListDevices();
    std::string name =
        devices ? OutputNameIn(*devices, instrument.State().choices.device) : std::string();
    auto* dialog = new LevelCalibrationDialog(&window, std::move(output), std::move(name));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
    return dialog;
}

LevelCalibrationDialog::LevelCalibrationDialog(QWidget* parent, std::shared_ptr<SoundOutput> output,
                                               std::string outputName)
    : QDialog(parent), output_(std::move(output)), outputName_(std::move(outputName)),
      level_(new QDoubleSpinBox(this)), reading_(new QLineEdit(this)), says_(new QLabel(this)),
      refusal_(new QLabel(this)), next_(new QPushButton(PanelText("Начать"), this)),
      cancel_(new QPushButton(PanelText("Отмена"), this)) {
    setWindowTitle(PanelText("Калибровка уровня"));
    setModal(true);
    // The levels `orbel calibrate --level` takes.
    level_->setRange(-120, 0);
    level_->setDecimals(2);
    level_->setValue(CalibrationTone::kDefaultLevelDb);
    level_->setLocale(QLocale(PanelInRussian() ? QLocale::Russian : QLocale::English));
    reading_->setEnabled(false);
    says_->setWordWrap(true);
    says_->setText(PanelText("Подключите вольтметр переменного напряжения (ср.кв.) к выходу. "
                             "Тон 1000 Гц звучит сначала на левом канале, потом на правом; "
                             "другой канал молчит. Громкость выхода не меняется."));
    refusal_->setWordWrap(true);
    refusal_->setStyleSheet(QStringLiteral("color: #b00000"));
    refusal_->setAccessibleName(PanelText("Ошибки ввода"));

    auto* fields = new QFormLayout;
    fields->addRow(
        PanelText("Устройство вывода"),
        new QLabel(outputName_.empty() ? PanelText("нет") : QString::fromStdString(outputName_),
                   this));
    fields->addRow(PanelText("Уровень тона, dBFS"), level_);
    fields->addRow(PanelText("Показание, В"), reading_);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(next_, QDialogButtonBox::AcceptRole);
    buttons->addButton(cancel_, QDialogButtonBox::RejectRole);
    next_->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(says_);
    layout->addLayout(fields);
    layout->addWidget(refusal_);
    layout->addWidget(buttons);
    setMinimumWidth(420);

    connect(next_, &QPushButton::clicked, this, [this] { Next(); });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

LevelCalibrationDialog::~LevelCalibrationDialog() = default;

std::optional<double> LevelCalibrationDialog::ReadingOf(const QString& typed, bool decimalComma) {
    QString text = typed.trimmed();
    // The units as a Russian meter's face writes them.
    if (text.endsWith(QStringLiteral("мВ")))
        text = text.chopped(2) + QStringLiteral("mV");
    else if (text.endsWith(QStringLiteral("В")))
        text = text.chopped(1) + QStringLiteral("V");
    if (decimalComma)
        text.replace(QLatin1Char(','), QLatin1Char('.'));
    return ReadMeterVolts(text.toStdString());
}

void LevelCalibrationDialog::Next() {
    switch (step_) {
    case Step::Level:
        Start();
        break;
    case Step::Left:
        TakeLeft();
        break;
    case Step::Right:
        TakeRight();
        break;
    case Step::Done:
        accept();
        break;
    }
}

void LevelCalibrationDialog::Start() {
    if (outputName_.empty()) {
        Refuse(PanelText("Нет звукового сервера или выхода: калибровать нечего."));
        return;
    }
    // The meter reading holds at this volume only: it is stored with it.
    volume_ = output_->ReadOutputVolume(outputName_);
    if (!volume_) {
        Refuse(PanelText("Громкость выхода не прочитана: калибровка невозможна."));
        return;
    }
    tone_.emplace(output_, level_->value());
    if (!tone_->Play(OutputChannel::Left)) {
        tone_.reset();
        Refuse(PanelText("Тон не построен: не хватает памяти."));
        return;
    }
    step_ = Step::Left;
    level_->setEnabled(false);
    reading_->setEnabled(true);
    reading_->setFocus();
    refusal_->clear();
    says_->setText(PanelText("Звучит левый канал. Введите показание вольтметра, например "
                             "0,245 или 245 мВ."));
    next_->setText(PanelText("Далее"));
}

void LevelCalibrationDialog::TakeLeft() {
    const std::optional<double> volts = ReadingOf(reading_->text(), PanelInRussian());
    if (!volts) {
        Refuse(PanelText("Нужно показание вольтметра в вольтах больше 0, например 0,245 "
                         "или 245 мВ."));
        return;
    }
    leftVolts_ = *volts;
    if (!tone_->Play(OutputChannel::Right)) {
        Finish(PanelText("Тон не построен: не хватает памяти. Ничего не сохранено."));
        return;
    }
    step_ = Step::Right;
    reading_->clear();
    reading_->setFocus();
    refusal_->clear();
    says_->setText(PanelText("Звучит правый канал. Введите показание вольтметра, например "
                             "0,245 или 245 мВ."));
    next_->setText(PanelText("Сохранить"));
}

void LevelCalibrationDialog::TakeRight() {
    const std::optional<double> volts = ReadingOf(reading_->text(), PanelInRussian());
    if (!volts) {
        Refuse(PanelText("Нужно показание вольтметра в вольтах больше 0, например 0,245 "
                         "или 245 мВ."));
        return;
    }
    tone_->Stop();
    const OutputCalibration calibration = CalibrationFromReadings(
        tone_->LevelDb(), leftVolts_, *volts, *volume_, CalibrationDate(std::time(nullptr)));
    for (const auto& channel : {calibration.left, calibration.right})
        if (!IsCalibrationVoltage(channel->fullScaleVolts)) {
            Finish(PanelText("Синус полной шкалы дал бы %1 В: это не показание этого выхода. "
                             "Ничего не сохранено.")
                       .arg(Volts(channel->fullScaleVolts)));
            return;
        }
    Store(calibration);
}

void LevelCalibrationDialog::Store(const OutputCalibration& calibration) {
    const CalibrationStore store(CalibrationStore::DefaultPath());
    switch (store.Save(outputName_, calibration)) {
    case CalibrationSaveResult::Saved:
        Finish(PanelText("Сохранено: синус полной шкалы даёт %1 В ср.кв. на левом канале, "
                         "%2 В на правом.")
                   .arg(Volts(calibration.left->fullScaleVolts),
                        Volts(calibration.right->fullScaleVolts)));
        return;
    case CalibrationSaveResult::FileKept:
        Finish(PanelText("%1 не читается как калибровки: файл оставлен как есть, ничего не "
                         "сохранено.")
                   .arg(FileName(store.Path())));
        return;
    default:
        Finish(PanelText("Калибровка не сохранена в %1.").arg(FileName(store.Path())));
        return;
    }
}

void LevelCalibrationDialog::Finish(const QString& text) {
    tone_.reset();
    step_ = Step::Done;
    reading_->setEnabled(false);
    refusal_->clear();
    says_->setText(text);
    next_->setText(PanelText("Закрыть"));
    cancel_->hide();
}

void LevelCalibrationDialog::Refuse(const QString& text) {
    refusal_->setText(text);
}

void LevelCalibrationDialog::done(int result) {
    // Closed in any way: the tone stops; nothing is stored unless it was.
    tone_.reset();
    QDialog::done(result);
}
