// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one place the command line's texts are translated. Every text the
// user reads from the command line (help, refusals, notices) is written in
// English where it is used and passed through CliText; under a Russian
// locale the Russian translation (translations/orbel_ru.ts, context "cli")
// takes its place. Placeholders are Qt's: CliText("%1 may be given only
// once").arg(...). No application object is needed, so the parser's own
// texts can be translated before one exists.

#include "cli/CliMessage.h"

#include <QString>

#include <string>

// Chooses the language from the locale once (or as asked, for tests) and
// loads its translation. Idempotent per language.
void UseCommandLineLanguage();
void UseCommandLineLanguage(const std::string& language);

// The text in the chosen language; the English text when it has no
// translation.
QString CliText(const char* english);
// The same, as the UTF-8 bytes the command line prints.
std::string CliString(const QString& text);
// A message built without Qt, translated with its arguments that are texts,
// as the UTF-8 bytes the command line prints.
std::string CliString(const CliMessage& message);
// The text, then the sound server's reason for a refusal in brackets when
// there is one: "TEXT (REASON)". The reason is the server's own words.
QString WithServerReason(const QString& text, const std::string& reason);
// Writes "orbel: TEXT" as one line on standard error.
void SayOnStandardError(const QString& text);
