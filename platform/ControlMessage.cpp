// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ControlMessage.h"

#include <QCoreApplication>

TControlMessageEvent::TControlMessageEvent(unsigned msg, std::intptr_t wParam, std::intptr_t lParam)
    : QEvent(EventType()), msg_(msg), wParam_(wParam), lParam_(lParam) {}

QEvent::Type TControlMessageEvent::EventType() {
    static const auto type = QEvent::Type(QEvent::registerEventType());
    return type;
}

std::intptr_t SendControlMessage(QObject& target, unsigned msg, std::intptr_t wParam,
                                 std::intptr_t lParam) {
    TControlMessageEvent event(msg, wParam, lParam);
    QCoreApplication::sendEvent(&target, &event);
    return event.Result();
}
