// Every #include "folder/File.h" under src/ keeps to the layers: a folder may include its own
// headers and those of the folders listed for it here, and nothing else.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Lowest first: model -> format -> results, generation -> richtext -> widgets -> about ->
// window -> app; tools sits on the core.
const QHash<QString, QSet<QString>> kMayInclude = {
    {u"model"_s, {}},
    {u"format"_s, {u"model"_s}},
    {u"results"_s, {u"model"_s, u"format"_s}},
    {u"generation"_s, {u"model"_s}},
    {u"richtext"_s, {u"model"_s, u"format"_s}},
    {u"widgets"_s, {u"model"_s, u"format"_s, u"richtext"_s}},
    {u"about"_s, {u"model"_s, u"format"_s, u"widgets"_s}},
    {u"window"_s, {u"model"_s, u"format"_s, u"results"_s, u"richtext"_s, u"widgets"_s, u"about"_s}},
    {u"app"_s,
     {u"model"_s, u"format"_s, u"results"_s, u"richtext"_s, u"widgets"_s, u"about"_s, u"window"_s}},
    {u"tools"_s, {u"model"_s, u"format"_s, u"results"_s, u"generation"_s}},
};

struct Include {
    QString file; // relative to src/
    int line;
    QString header;
};

std::vector<Include> includesUnder(const QString& root) {
    static const QRegularExpression quoted(uR"re(^\s*#\s*include\s*"([^"]+)")re"_s);
    std::vector<Include> found;
    QDirIterator it(root, {u"*.h"_s, u"*.cpp"_s}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
            continue;
        int line = 0;
        while (!f.atEnd()) {
            ++line;
            const auto m = quoted.match(QString::fromUtf8(f.readLine()));
            if (m.hasMatch())
                found.push_back({QDir(root).relativeFilePath(path), line, m.captured(1)});
        }
    }
    return found;
}

} // namespace

TEST(Layers, EveryFolderIsALayerOfTheTable) {
    const QStringList folders =
        QDir(QStringLiteral(KP_SOURCE_DIR)).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& folder : folders)
        EXPECT_TRUE(kMayInclude.contains(folder))
            << "src/" << folder.toStdString() << " has no row in the layer table";
}

TEST(Layers, NoFolderIncludesAHeaderOfAHigherOrSideLayer) {
    const auto includes = includesUnder(QStringLiteral(KP_SOURCE_DIR));
    ASSERT_GT(includes.size(), 100u) << "the sources were not found at " << KP_SOURCE_DIR;
    for (const Include& inc : includes) {
        const QString from = inc.file.section(u'/', 0, 0);
        const QString to = inc.header.section(u'/', 0, 0);
        const bool prefixed = inc.header.contains(u'/');
        EXPECT_TRUE(prefixed && (to == from || kMayInclude.value(from).contains(to)))
            << "src/" << inc.file.toStdString() << ":" << inc.line << " includes \""
            << inc.header.toStdString() << "\", which the " << from.toStdString()
            << " layer may not use" << (prefixed ? "" : " (include with the folder)");
    }
}
