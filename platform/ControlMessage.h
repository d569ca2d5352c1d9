// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Control messages: a number and two parameters delivered synchronously to a
// control, which answers with a result (0 when it ignores the message).

#include <QEvent>

#include <cstdint>

class QObject;

constexpr unsigned WM_USER = 1024;

class TControlMessageEvent : public QEvent {
public:
    TControlMessageEvent(unsigned msg, std::intptr_t wParam, std::intptr_t lParam);
    static QEvent::Type EventType();

    unsigned Msg() const { return msg_; }
    std::intptr_t WParam() const { return wParam_; }
    std::intptr_t LParam() const { return lParam_; }
    std::intptr_t Result() const { return result_; }
    void SetResult(std::intptr_t value) { result_ = value; }

private:
    unsigned msg_;
    std::intptr_t wParam_;
    std::intptr_t lParam_;
    std::intptr_t result_ = 0;
};

// Delivers the message to `target` on the calling thread (the window
// thread) and returns the result the target set.
std::intptr_t SendControlMessage(QObject& target, unsigned msg, std::intptr_t wParam,
                                 std::intptr_t lParam);
