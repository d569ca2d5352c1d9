// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/PanelText.h"

#include "platform/language/LocaleLanguage.h"
#include "platform/language/Translations.h"

#include <QCoreApplication>
#include <QTranslator>

#include <memory>

namespace {

std::unique_ptr<QTranslator>& Installed() {
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

} // namespace

std::string UsePanelLanguage(QCoreApplication& app) {
    return UsePanelLanguage(app, locale_language::PanelLanguage());
}

std::string UsePanelLanguage(QCoreApplication&, const std::string& language) {
    if (Installed()) {
        QCoreApplication::removeTranslator(Installed().get());
        Installed().reset();
    }
    if (language == "ru")
        return language;
    // No parent: the translator outlives the application object.
    auto translator = std::make_unique<QTranslator>();
    if (!LoadTranslation(*translator, QString::fromStdString(language)))
        return "ru";
    QCoreApplication::installTranslator(translator.get());
    Installed() = std::move(translator);
    return language;
}

bool PanelInRussian() {
    return !Installed();
}

QString PanelText(const char* russian) {
    return QCoreApplication::translate("Panel", russian);
}

std::string PanelString(const std::string& russian) {
    return russian.empty() ? russian : PanelText(russian.c_str()).toStdString();
}
