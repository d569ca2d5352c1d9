// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Pointer.h"

#include <QGuiApplication>
#include <QWidget>

bool AnyWindowHoldsMouseCapture() {
    return QWidget::mouseGrabber() != nullptr || QGuiApplication::mouseButtons() != Qt::NoButton;
}

void SetEnabledPassingPointer(QWidget& control, bool enabled) {
    control.setEnabled(enabled);
    control.setAttribute(Qt::WA_TransparentForMouseEvents, !enabled);
}
