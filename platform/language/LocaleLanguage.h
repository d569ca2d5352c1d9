// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which language the user's locale asks for, and what that means for the
// two faces of the program. The panel was designed in Russian and stays so
// unless the locale is English; the command line follows the usual
// convention of English unless the locale is Russian.

#include <functional>
#include <string>

namespace locale_language {

// Reads one environment variable; nullptr when it is not set.
using Environment = std::function<const char*(const char*)>;
const char* ProcessEnvironment(const char* name);

// The two-letter language the locale names: the first entry of LANGUAGE,
// else LC_ALL, LC_MESSAGES or LANG, the first that is set, in that order
// (as the C library reads them). Empty for "C", "POSIX" or nothing.
std::string Language(const Environment& environment = ProcessEnvironment);

// "en" under an English locale, else "ru".
std::string PanelLanguage(const Environment& environment = ProcessEnvironment);
// "ru" under a Russian locale, else "en".
std::string CommandLineLanguage(const Environment& environment = ProcessEnvironment);

} // namespace locale_language
