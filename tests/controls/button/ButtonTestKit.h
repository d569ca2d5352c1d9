// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared pieces of the coloured button tests: a form that owns its controls
// as a component and holds them as a widget, and mouse input delivered
// through the window system's entry point (as the test library's own mouse
// helpers do), so Qt's hit testing picks the widget under the pointer.

#include "core/Component.h"

#include <QApplication>
#include <QWidget>
#include <QWindow>

// Exported by Qt's GUI library; the test library's mouse helpers call it.
Q_GUI_EXPORT void qt_handleMouseEvent(QWindow* window, const QPointF& local, const QPointF& global,
                                      Qt::MouseButtons state, Qt::MouseButton button,
                                      QEvent::Type type, Qt::KeyboardModifiers mods, int timestamp);

class TTestForm : public QWidget, public TComponent {
public:
    TTestForm() : QWidget(nullptr), TComponent(nullptr) { resize(400, 200); }
    std::string ClassName() const override { return "TTestForm"; }

    void Show() {
        show();
        QApplication::setActiveWindow(this);
        QApplication::processEvents();
    }
};

namespace window_input {

inline int& Clock() {
    static int t = 1000;
    return t;
}

// Each event a second after the previous one, so no two presses make a
// double click.
inline void Send(QWidget& w, QPoint at, Qt::MouseButtons state, Qt::MouseButton button,
                 QEvent::Type type) {
    constexpr int kApartMs = 1000;
    QWidget* top = w.window();
    const QPointF local(w.mapTo(top, at));
    qt_handleMouseEvent(top->windowHandle(), local, QPointF(w.mapToGlobal(at)), state, button, type,
                        Qt::NoModifier, Clock() += kApartMs);
    QApplication::processEvents();
}

inline void Press(QWidget& w, QPoint at, Qt::MouseButton b = Qt::LeftButton) {
    Send(w, at, b, b, QEvent::MouseButtonPress);
}
inline void Release(QWidget& w, QPoint at, Qt::MouseButton b = Qt::LeftButton) {
    Send(w, at, Qt::NoButton, b, QEvent::MouseButtonRelease);
}
inline void Click(QWidget& w, QPoint at, Qt::MouseButton b = Qt::LeftButton) {
    Press(w, at, b);
    Release(w, at, b);
}
inline void Click(QWidget& w) {
    Click(w, w.rect().center());
}

} // namespace window_input
