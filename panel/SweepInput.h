// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sweep dialog's fields read as a sweep. Values outside what the
// generator plays are refused with a sentence that names the field and the
// value as typed; nothing is limited or rounded behind the user's back.

#include "engine/signals/SweepSignal.h"

#include <QString>
#include <QStringList>

#include <optional>

// The sweep's length in milliseconds, as the command line's --duration.
inline constexpr int kMinSweepDialogMs = 100;
inline constexpr int kMaxSweepDialogMs = 60000;

struct SweepInput {
    std::optional<SweepSettings> settings; // when every field is valid
    QStringList refusals; // one sentence per refused field, in the panel's language
};

// `seconds` takes a decimal comma or point and at most three decimals
// (whole milliseconds).
SweepInput ReadSweepInput(const QString& from, const QString& to, const QString& seconds,
                          bool linear);
