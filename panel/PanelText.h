// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The panel's texts are written in Russian, as the panel was designed: the
// stored layout's captions and the sentences in Hints.h. Under an English
// locale the English translation (translations/orbel_en.ts, context
// "Panel") is shown in their place. The stored texts never change; they are
// translated where they are shown.

#include <QString>

#include <string>

class QCoreApplication;

// Installs the translation of the locale's panel language into the
// application (nothing for Russian). `language` "ru" or "en" overrides the
// locale (tests). Returns the language in use.
std::string UsePanelLanguage(QCoreApplication& app);
std::string UsePanelLanguage(QCoreApplication& app, const std::string& language);

// Whether the panel speaks Russian (no translation installed), where a
// number is written with a decimal comma.
bool PanelInRussian();

// The text in the panel's language; the Russian text when it has no
// translation.
QString PanelText(const char* russian);
std::string PanelString(const std::string& russian);
