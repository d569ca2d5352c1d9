// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Finds and loads the program's translation of one language, orbel_LL.qm:
// next to the installed program (PREFIX/share/orbel/translations, found from
// the executable's own place, so the same binary works under any prefix),
// else in the build tree the program was built in.

#include <QString>
#include <QStringList>

class QTranslator;

QStringList TranslationFolders();
// False when no such file exists (the texts then stay as written).
bool LoadTranslation(QTranslator& translator, const QString& language);
