// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pointer shapes registered under numbers, so that a control can store its
// cursor as a plain number. 0 is the window's default shape; the hand cursor
// the dials show over their active area is registered under 5 when the
// registry is first used.

#include <QCursor>

class QWidget;

using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crHand = 5;

// Registers (or replaces) a cursor; needs the application object.
void RegisterCursor(TCursor number, const QCursor& cursor);
bool IsCursorRegistered(TCursor number);
// The registered cursor, or the arrow for an unknown number.
QCursor CursorOf(TCursor number);
// Shows cursor `number` over a widget; crDefault returns it to its default.
void ApplyCursor(QWidget& widget, TCursor number);
