// SPDX-License-Identifier: GPL-3.0-or-later
// Which language each face of the program speaks for a given environment.

#include "platform/language/LocaleLanguage.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

struct Row {
    std::map<std::string, std::string> environment;
    const char* panel;
    const char* commandLine;
};

} // namespace

TEST(LocaleLanguage, PanelIsRussianUnlessEnglishCommandLineIsEnglishUnlessRussian) {
    const Row rows[] = {
        {{}, "ru", "en"},
        {{{"LANG", "C"}}, "ru", "en"},
        {{{"LANG", "C.UTF-8"}}, "ru", "en"},
        {{{"LANG", "POSIX"}}, "ru", "en"},
        {{{"LANG", "en_US.UTF-8"}}, "en", "en"},
        {{{"LANG", "ru_RU.UTF-8"}}, "ru", "ru"},
        {{{"LANG", "de_DE.UTF-8"}}, "ru", "en"},
        {{{"LANG", "en_GB@euro"}}, "en", "en"},
        // LC_ALL over LC_MESSAGES over LANG; LANGUAGE's first entry over all.
        {{{"LANG", "ru_RU.UTF-8"}, {"LC_ALL", "en_US.UTF-8"}}, "en", "en"},
        {{{"LANG", "en_US.UTF-8"}, {"LC_MESSAGES", "ru_RU.UTF-8"}}, "ru", "ru"},
        {{{"LANG", "ru_RU.UTF-8"}, {"LANGUAGE", "en:ru"}}, "en", "en"},
        {{{"LANG", "en_US.UTF-8"}, {"LANGUAGE", "ru"}}, "ru", "ru"},
        // Set but empty counts as not set.
        {{{"LANG", "en_US.UTF-8"}, {"LC_ALL", ""}, {"LANGUAGE", ""}}, "en", "en"},
    };
    for (const Row& row : rows) {
        const auto environment = [&row](const char* name) -> const char* {
            const auto it = row.environment.find(name);
            return it == row.environment.end() ? nullptr : it->second.c_str();
        };
        std::string where;
        for (const auto& [name, value] : row.environment)
            where += name + "=" + value + " ";
        EXPECT_EQ(locale_language::PanelLanguage(environment), row.panel) << where;
        EXPECT_EQ(locale_language::CommandLineLanguage(environment), row.commandLine) << where;
    }
}
