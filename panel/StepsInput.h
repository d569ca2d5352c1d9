// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sweep dialog's fields read as a stepped sweep: from and to (whole
// hertz, either way round), the number of steps and each step's dwell in
// milliseconds. Values outside what the generator plays are refused with a
// sentence that names the field and the value as typed.

#include "engine/steps/StepSchedule.h"

#include <QString>
#include <QStringList>

#include <optional>

struct StepsInput {
    std::optional<SteppedSweepSettings> settings; // when every field is valid
    QStringList refusals; // one sentence per refused field, in the panel's language
};

StepsInput ReadStepsInput(const QString& from, const QString& to, const QString& count,
                          const QString& dwellMs, bool linear, bool upDown);
