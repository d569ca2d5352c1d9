// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Key, mouse and wheel events delivered to a real widget through the
// application's event dispatch, as the window system's input arrives at the
// control under the pointer or with the keyboard focus.

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

namespace widget_input {

// Shows `top` and makes it the active window, so that focus works on the
// offscreen platform too.
inline void Activate(QWidget& top) {
    top.show();
    QApplication::setActiveWindow(&top);
    QApplication::processEvents();
}

inline void KeyPress(QWidget& w, Qt::Key key, bool autoRepeat = false,
                     Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QKeyEvent e(QEvent::KeyPress, key, mods, QString(), autoRepeat);
    QApplication::sendEvent(&w, &e);
}

inline void KeyRelease(QWidget& w, Qt::Key key, bool autoRepeat = false,
                       Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QKeyEvent e(QEvent::KeyRelease, key, mods, QString(), autoRepeat);
    QApplication::sendEvent(&w, &e);
}

inline void KeyClick(QWidget& w, Qt::Key key) {
    KeyPress(w, key);
    KeyRelease(w, key);
}

inline void Mouse(QWidget& w, QEvent::Type type, QPoint at, Qt::MouseButton button,
                  Qt::MouseButtons buttons) {
    const QPointF local(at);
    QMouseEvent e(type, local, local, w.mapToGlobal(local), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(&w, &e);
}

inline void Press(QWidget& w, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    Mouse(w, QEvent::MouseButtonPress, at, button, button);
}

// A move with `held` buttons down (none: the pointer just passes).
inline void Move(QWidget& w, QPoint at, Qt::MouseButtons held = Qt::NoButton) {
    Mouse(w, QEvent::MouseMove, at, Qt::NoButton, held);
}

inline void Release(QWidget& w, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    Mouse(w, QEvent::MouseButtonRelease, at, button, Qt::NoButton);
}

// `delta` in eighths of a degree: 120 is one notch away from the user.
inline void Wheel(QWidget& w, QPoint at, int delta) {
    const QPointF local(at);
    QWheelEvent e(local, w.mapToGlobal(local), QPoint(), QPoint(0, delta), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&w, &e);
}

} // namespace widget_input
