// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The panel's level calibration, as `orbel calibrate` does it: on the
// output the menu has chosen, a 1 kHz sine at a stated level (-10 dBFS
// unless changed) plays on the left channel alone until the meter's reading
// is typed, then on the right; both readings are stored for that output
// with its volume of the moment. Cancel, Escape or closing stops the sound
// and stores nothing. It is modal: the panel's own sound is stopped first
// and stays stopped until the dialog closes. The volume is never changed.

#include "core/ChannelCalibration.h"
#include "engine/CalibrationTone.h"
#include "engine/SoundOutput.h"

#include <QDialog>
#include <QString>

#include <memory>
#include <optional>
#include <string>

class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
namespace instrument {
class Instrument;
}

class LevelCalibrationDialog : public QDialog {
    // Found among the window's children by its class (qobject_cast).
    Q_OBJECT

public:
    // Stops what the instrument plays and opens the dialog over `window`
    // for the instrument's output.
    static LevelCalibrationDialog* Open(QWidget& window, instrument::Instrument& instrument);

    // `outputName`: the server's name of the output, "" when none is known.
    LevelCalibrationDialog(QWidget* parent, std::shared_ptr<SoundOutput> output,
                           std::string outputName);
    ~LevelCalibrationDialog() override;

    // A meter's reading as typed: "0.245", "245mV", "245 мВ", "0,245 В"
    // (the comma only where the panel writes numbers with one, so that an
    // English "1,000mV" is never read as 1 mV); volts above 0.
    static std::optional<double> ReadingOf(const QString& typed, bool decimalComma);

    // The next step: start the left channel, take its reading and start the
    // right, take that and store; public so that Enter and tests reach it.
    void Next();

    QDoubleSpinBox* Level() const { return level_; }
    QLineEdit* Reading() const { return reading_; }
    QLabel* Says() const { return says_; }
    QPushButton* NextButton() const { return next_; }

private:
    enum class Step { Level, Left, Right, Done };

    void Start();
    void TakeLeft();
    void TakeRight();
    void Store(const OutputCalibration& calibration);
    void Finish(const QString& text);
    void Refuse(const QString& text);
    void done(int result) override;

    std::shared_ptr<SoundOutput> output_;
    std::string outputName_;
    Step step_ = Step::Level;
    std::optional<CalibrationTone> tone_;
    std::optional<OutputVolume> volume_;
    double leftVolts_ = 0;
    QDoubleSpinBox* level_;
    QLineEdit* reading_;
    QLabel* says_;
    QLabel* refusal_;
    QPushButton* next_;
    QPushButton* cancel_;
};
