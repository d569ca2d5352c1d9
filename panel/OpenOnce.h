// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A dialog a menu entry opens once: choosing the entry again brings the
// open dialog to the front, refreshed, rather than opening a second one.

#include <QString>
#include <QWidget>

template <class Dialog, class Make, class Refresh>
Dialog* OpenOnce(QWidget& parent, Make make, Refresh refresh) {
    auto* dialog = parent.findChild<Dialog*>(QString(), Qt::FindDirectChildrenOnly);
    if (!dialog) {
        dialog = make();
        dialog->setAttribute(Qt::WA_DeleteOnClose);
    } else {
        refresh(*dialog);
    }
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return dialog;
}
