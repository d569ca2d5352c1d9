// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/MessageBox.h"

#include "platform/WindowThread.h"

#include <QApplication>
#include <QMessageBox>

namespace {
QMessageBox::Icon QtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

// Carriage returns break lines as line feeds do; a CR LF pair is one break.
QString BoxText(const std::string& text) {
    QString s = QString::fromUtf8(text.data(), qsizetype(text.size()));
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}
} // namespace

void ShowMessageBox(const std::string& text, const std::string& caption, MessageIcon icon) {
    // Without a widget application there is no screen to show a box on.
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    RunOnWindowThread([&] {
        QMessageBox box(QtIcon(icon), QString::fromUtf8(caption.data(), qsizetype(caption.size())),
                        BoxText(text), QMessageBox::Ok);
        box.exec();
    });
}

void InstallDesignMessageBox() {
    SetDesignMessageHook(&ShowMessageBox);
}
