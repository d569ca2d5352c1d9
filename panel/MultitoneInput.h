// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The multitone dialog's fields read as a multitone choice, and what the
// instrument's plan of it says, in the panel's language. Values outside
// what the generator plays are refused with a sentence that names the
// field and the value as typed; nothing is limited or rounded behind the
// user's back.

#include "instrument/InstrumentState.h"
#include "instrument/MultitonePlan.h"

#include <QString>
#include <QStringList>

#include <optional>

struct MultitoneFields {
    QString from;  // Hz, a decimal comma or point
    QString to;    // Hz
    QString count; // tones per octave, or in all when linear
    bool linear = false;
    bool fromFile = false;
    QString file;
    int fftLength = 65536; // chosen from the offered lengths
    QString level;         // any unit the level dialog takes
};

struct MultitoneInput {
    std::optional<instrument::MultitoneChoice> choice; // when every field is valid
    QStringList refusals; // one sentence per refused field, in the panel's language
};

MultitoneInput ReadMultitoneInput(const MultitoneFields& fields);
// The fields that show a choice.
MultitoneFields FieldsOf(const instrument::MultitoneChoice& choice);

// What stands in the way of the plan (empty when it plays), and what it
// comes to: the crest factor, the number of tones and the period.
QString PlanRefusalSentence(const instrument::MultitonePlan& plan, int fftLength);
QString PlanSummary(const instrument::MultitonePlan& plan);
