// Qt's Spanish texts come from the first folder that has them.
#include "app/QtTranslations.h"

#include <QFile>
#include <QLibraryInfo>
#include <QTemporaryDir>
#include <QTranslator>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(QtTranslations, TheFirstFolderHoldingTheSpanishFileIsUsed) {
    const QString installed =
        QLibraryInfo::path(QLibraryInfo::TranslationsPath) + u"/qtbase_es.qm"_s;
    if (!QFile::exists(installed))
        GTEST_SKIP() << "Qt's Spanish translations are not installed (qt6-translations-l10n)";
    QTemporaryDir without, beside, second;
    ASSERT_TRUE(QFile::copy(installed, beside.filePath(u"qtbase_es.qm"_s)) &&
                QFile::copy(installed, second.filePath(u"qtbase_es.qm"_s)));

    QTranslator translator;
    EXPECT_EQ(
        kp::loadSpanishQtTranslations(translator, {without.path(), beside.path(), second.path()}),
        beside.path());
    EXPECT_EQ(translator.translate("QPlatformTheme", "&Yes"), u"&Sí"_s);

    QTranslator none;
    EXPECT_EQ(kp::loadSpanishQtTranslations(none, {QString(), without.path()}), QString());
    EXPECT_TRUE(none.isEmpty());
}

} // namespace
