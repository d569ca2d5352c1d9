// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/language/LocaleLanguage.h"

#include <cstdlib>
#include <string_view>

namespace locale_language {

namespace {

// "en_US.UTF-8" -> "en", "ru:en" -> "ru", "C.UTF-8" -> "".
std::string LanguageOf(std::string_view locale) {
    locale = locale.substr(0, locale.find(':'));
    locale = locale.substr(0, locale.find_first_of("_.@"));
    if (locale == "C" || locale == "POSIX")
        return {};
    return std::string(locale);
}

} // namespace

const char* ProcessEnvironment(const char* name) {
    return std::getenv(name);
}

std::string Language(const Environment& environment) {
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = environment(name);
        if (value != nullptr && *value != '\0')
            return LanguageOf(value);
    }
    return {};
}

std::string PanelLanguage(const Environment& environment) {
    return Language(environment) == "en" ? "en" : "ru";
}

std::string CommandLineLanguage(const Environment& environment) {
    return Language(environment) == "ru" ? "ru" : "en";
}

} // namespace locale_language
