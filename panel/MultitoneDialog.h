// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The menu's "Параметры мультитона…": the multitone's tones (per octave or
// evenly from one frequency to another, or a list from a file), the
// transform length they are centred for, and the RMS level of the whole
// signal in any unit the level dialog takes. "Проверить" shows the crest
// factor, or what stands in the way (a line of the list, two tones on one
// bin, a level that would clip with the largest that fits); "Старт"
// chooses the multitone, starts it once it is made and keeps its settings
// for the next run, or shows what stands in the way. The period is made
// away from the window (it takes seconds): "Расчёт…" shows meanwhile, and
// the window answers. Not modal; Escape closes it.

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
class QTimer;

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

    // Reads the fields and has them planned, showing the crest factor or
    // the refusals once the plan is made.
    void Check();
    // Reads the fields and chooses the multitone: it plays once made.
    void Start();
    // A plan asked for by Check or Start is still being made.
    bool Busy() const { return awaited_ != 0; }

private:
    // The fields read, "Расчёт…" shown; none when refused (shown).
    std::optional<instrument::MultitoneChoice> Read();
    // Shows a plan made for the request `request`, unless a newer one came.
    // True when it plays.
    bool Show(int request, const instrument::MultitonePlan& plan, int fftLength);
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
    // The plan the window waits for (0: none), and the last asked.
    int awaited_ = 0;
    int requests_ = 0;
    // While a chosen multitone is made: whether it was given up.
    QTimer* givenUpWatch_;
    int watched_ = 0;
};
