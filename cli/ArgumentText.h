// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Program arguments are bytes; Qt's option parser takes text. Each valid
// UTF-8 character of an argument becomes that character and every other
// byte becomes the lone surrogate U+DC00 + byte, which no decoded text
// holds, so that a file name comes back byte for byte whatever it is.

#include <QString>

#include <string>
#include <string_view>

QString ArgumentText(std::string_view bytes);
std::string ArgumentBytes(const QString& text);
