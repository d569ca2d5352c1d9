// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The menu's "Параметры мультитона…": the multitone's tones (per octave or
// evenly from one frequency to another, or a list from a file), the
// transform length they are centred for, and the RMS level of the whole
// signal in any unit the level dialog takes. "Проверить" shows the crest
// factor, or what stands in the way (a line of the list, two tones on one
// bin, a level that would clip with the largest that fits); "Старт"
// checks, chooses the multitone, starts it and keeps its settings for the
// next run. Not modal; Escape closes it.

#include "instrument/Instrument.h"
#include "panel/MultitoneInput.h"

#include <QDialog>

#include <optional>
#include <utility>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;

class MultitoneDialog : public QDialog {
    // The menu finds an open dialog by its class (qobject_cast).
    Q_OBJECT

public:
    MultitoneDialog(QWidget* parent, instrument::Instrument& instrument);

    // Adds the entry to the menu's signals.
    static void AddEntry(QMenu& menu, QWidget& parent, instrument::Instrument& instrument);

    QLineEdit* From() const { return from_; }
    QLineEdit* To() const { return to_; }
    QLineEdit* Count() const { return count_; }
    QRadioButton* Linear() const { return linear_; }
    QCheckBox* FromFile() const { return fromFile_; }
    QLineEdit* File() const { return file_; }
    QComboBox* Fft() const { return fft_; }
    QLineEdit* Level() const { return level_; }
    QLabel* Summary() const { return summary_; }
    QLabel* Refusals() const { return refusals_; }

    // Reads and plans the fields, showing the crest factor or the
    // refusals; the choice when it can play.
    std::optional<instrument::MultitoneChoice> Check();
    // Check, then play it.
    void Start();

private:
    // Check's work, with the plan made.
    std::pair<std::optional<instrument::MultitoneChoice>, instrument::MultitonePlan> Plan();
    MultitoneFields Fields() const;
    void Show(const MultitoneFields& fields);
    // The span's fields or the file's are open, the other's closed.
    void ShowSource();
    void Browse();

    instrument::Instrument& instrument_;
    QLineEdit* from_;
    QLineEdit* to_;
    QLineEdit* count_;
    QRadioButton* perOctave_;
    QRadioButton* linear_;
    QCheckBox* fromFile_;
    QLineEdit* file_;
    QPushButton* browse_;
    QComboBox* fft_;
    QLineEdit* level_;
    QLabel* summary_;
    QLabel* refusals_;
};
