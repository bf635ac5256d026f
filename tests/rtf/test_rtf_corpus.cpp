#include "window/rtf/RichText.h"

#include <QDir>
#include <QFile>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace kp::rtf;

// Replays the fuzzer's seeds and every input it ever found trouble with. Files are fed the way
// the fuzz target feeds them: one character per byte.
TEST(RtfCorpus, EveryFileReadsWithoutCrashing) {
    const QDir dir(QString::fromLocal8Bit(qgetenv("KP_TEST_DATA")) + QStringLiteral("/corpus"));
    const QStringList files = dir.entryList(QDir::Files, QDir::Name);
    ASSERT_FALSE(files.isEmpty()) << dir.path().toStdString();
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        QTextDocument doc;
        setRichContent(doc, QString::fromLatin1(f.readAll()));
        applyPageFormat(doc, Qt::black);
        EXPECT_GE(doc.size().height(), 0);
    }
}
