// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/MainWindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

void MakeFixedMainWindow(QWidget& window, int clientWidth, int clientHeight) {
    // Customised hints: exactly these buttons, no maximise and no help.
    window.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    window.setFixedSize(clientWidth, clientHeight);
}

void CentreOnDesktop(QWidget& window) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect desktop = screen->availableGeometry();
    // The frame may not be known before the window is shown; then its size
    // is the client size.
    const QSize outer = window.frameGeometry().size().expandedTo(window.size());
    // A window larger than the free area keeps its title bar and its
    // top-left corner on screen, where it can still be reached and moved.
    window.move(desktop.x() + std::max(0, (desktop.width() - outer.width()) / 2),
                desktop.y() + std::max(0, (desktop.height() - outer.height()) / 2));
}
