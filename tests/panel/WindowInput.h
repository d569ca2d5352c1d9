// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pointer and key input delivered to a top-level window as the window
// system would deliver it: the window picks the control under the pointer,
// so stacking, outlines and disabled controls count as they do for a user.

#include <QApplication>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>

namespace window_input {

inline QWindow* WindowOf(QWidget& top) {
    if (!top.windowHandle())
        top.winId();
    return top.windowHandle();
}

// Buttons pressed through Press stay held for the moves until Release.
inline void Move(QWidget& top, QPoint at) {
    QTest::mouseMove(WindowOf(top), at);
    QApplication::processEvents();
}

inline void Press(QWidget& top, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mousePress(WindowOf(top), button, Qt::NoModifier, at);
    QApplication::processEvents();
}

inline void Release(QWidget& top, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseRelease(WindowOf(top), button, Qt::NoModifier, at);
    QApplication::processEvents();
}

inline void Click(QWidget& top, QPoint at) {
    Move(top, at);
    Press(top, at);
    Release(top, at);
}

inline void Drag(QWidget& top, QPoint from, QPoint to, int steps = 8) {
    Move(top, from);
    Press(top, from);
    for (int i = 1; i <= steps; ++i) {
        const QPoint p = from + (to - from) * i / steps;
        Move(top, p);
    }
    Release(top, to);
}

// A key press and release to whichever control has the keyboard focus.
inline void Key(QWidget& top, Qt::Key key) {
    QTest::keyClick(WindowOf(top), key);
    QApplication::processEvents();
}

// A wheel turn over the control under the pointer (120 per notch, positive
// away from the user), as the window system reports it.
inline void Wheel(QWidget& top, QPoint at, int delta) {
    QWheelEvent e(QPointF(at), top.mapToGlobal(QPointF(at)), QPoint(), QPoint(0, delta),
                  Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(WindowOf(top), &e);
    QApplication::processEvents();
}

} // namespace window_input
