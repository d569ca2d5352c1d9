// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Messages.h"

#include "cli/ToneOptions.h"
#include "platform/language/LocaleLanguage.h"
#include "platform/language/Translations.h"

#include <QTranslator>
#include <cstdio>

#include <memory>

namespace {

// Empty while the texts stay English.
std::unique_ptr<QTranslator>& Translator() {
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

std::string& ChosenLanguage() {
    static std::string language;
    return language;
}

} // namespace

void UseCommandLineLanguage() {
    UseCommandLineLanguage(locale_language::CommandLineLanguage());
}

void UseCommandLineLanguage(const std::string& language) {
    if (ChosenLanguage() == language)
        return;
    ChosenLanguage() = language;
    Translator().reset();
    // English is how the texts are written; any other language loads.
    if (language == "en")
        return;
    auto translator = std::make_unique<QTranslator>();
    if (LoadTranslation(*translator, QString::fromStdString(language)))
        Translator() = std::move(translator);
}

QString CliText(const char* english) {
    const QString translated = Translator() ? Translator()->translate("cli", english) : QString();
    return translated.isEmpty() ? QString::fromUtf8(english) : translated;
}

std::string CliString(const QString& text) {
    return text.toStdString();
}

std::string CliString(const CliMessage& message) {
    return message.Text([](const char* english) { return CliString(CliText(english)); });
}

QString WithServerReason(const QString& text, const std::string& reason) {
    if (reason.empty())
        return text;
    return text + " (" + QString::fromStdString(tone_options::OneLine(reason)) + ")";
}

void SayOnStandardError(const QString& text) {
    std::fprintf(stderr, "orbel: %s\n", CliString(text).c_str());
}
