#include "app/QtTranslations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

using namespace Qt::StringLiterals;

namespace kp {

QStringList qtTranslationFolders() {
    return {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
            QDir::cleanPath(QDir(QCoreApplication::applicationDirPath())
                                .filePath(QStringLiteral(KP_TRANSLATIONS_FROM_BIN)))};
}

QString loadSpanishQtTranslations(QTranslator& translator, const QStringList& folders) {
    for (const QString& folder : folders) {
        if (!folder.isEmpty() &&
            translator.load(QLocale(QLocale::Spanish), u"qtbase"_s, u"_"_s, folder))
            return folder;
    }
    return {};
}

} // namespace kp
