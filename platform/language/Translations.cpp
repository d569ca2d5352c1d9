// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/language/Translations.h"

#include <QDir>
#include <QFileInfo>
#include <QTranslator>

QStringList TranslationFolders() {
    // The executable's place without needing an application object: the
    // command line reads its texts before it makes one.
    const QString program = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    QStringList folders;
    if (!program.isEmpty())
        folders << QFileInfo(program).dir().filePath(QStringLiteral("../share/orbel/translations"));
    folders << QStringLiteral(ORBEL_BUILD_TRANSLATIONS_DIR);
    return folders;
}

bool LoadTranslation(QTranslator& translator, const QString& language) {
    for (const QString& folder : TranslationFolders())
        if (translator.load(QStringLiteral("orbel_") + language, folder))
            return true;
    return false;
}
