#include "FileBytes.h"
#include "FullDisk.h"
#include "Rows.h"
#include "Unprivileged.h"
#include "format/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace kp;
using namespace kp::test;
using namespace Qt::StringLiterals;

namespace {

using Listing = QMap<QString, QByteArray>;

// Every entry of a folder, hidden ones included, as name -> what it is ("link to X", a file's
// bytes, "folder").
Listing listing(const QString& folder) {
    Listing out;
    const QDir dir(folder);
    for (const QFileInfo& e :
         dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        if (e.isSymLink())
            out[e.fileName()] = "link to " + QFile::encodeName(e.symLinkTarget());
        else if (e.isDir())
            out[e.fileName()] = "folder";
        else if (e.isFile())
            out[e.fileName()] = readAll(e.filePath());
        else
            out[e.fileName()] = "other";
    }
    return out;
}

const QByteArray New = "new results";
const QByteArray Old = "somebody else's file";

// The folder before and after the write of r.kxa, as listing() shows it; TARGET stands for a
// file outside the folder.
struct Before {
    const char* name;
    Listing before;
    bool writes; // the write (and the probe) succeed
    Listing after;
};

// Makes what listing() shows: a folder, a link, "other" (a named pipe) or a file of bytes.
void make(const QString& folder, const Listing& entries) {
    for (auto it = entries.begin(); it != entries.end(); ++it) {
        const QString at = folder + u'/' + it.key();
        if (it.value() == "folder")
            ASSERT_TRUE(QDir(folder).mkdir(it.key()));
        else if (it.value() == "other")
            ASSERT_EQ(::mkfifo(QFile::encodeName(at), 0600), 0);
        else if (it.value().startsWith("link to "))
            ASSERT_TRUE(QFile::link(QFile::decodeName(it.value().mid(8)), at));
        else
            ASSERT_TRUE(writeFile(at, it.value()));
    }
}

class SafeFileBefore : public testing::TestWithParam<Before> {};

TEST_P(SafeFileBefore, ProbeAgreesWithTheWriteAndNothingIsLost) {
    const Before& row = GetParam();
    QTemporaryDir dir;
    QTemporaryDir elsewhere; // what links point at
    const QByteArray target = QFile::encodeName(elsewhere.filePath(u"target"_s));
    ASSERT_TRUE(writeFile(elsewhere.filePath(u"target"_s), Old));
    Listing before = row.before, expected = row.after;
    for (auto& v : before)
        v.replace("TARGET", target);
    for (auto& v : expected)
        v.replace("TARGET", target);
    make(dir.path(), before);
    const QString path = dir.filePath(u"r.kxa"_s);
    ASSERT_EQ(listing(dir.path()), before);

    EXPECT_EQ(SafeFile::canCreate(path), row.writes);
    EXPECT_EQ(listing(dir.path()), before) << "the probe changes nothing";
    SafeFile files;
    EXPECT_EQ(files.write(path, New), row.writes) << files.errorString().toStdString();
    EXPECT_EQ(files.errorString().isEmpty(), row.writes);
    EXPECT_EQ(listing(dir.path()), expected);
    EXPECT_EQ(readAll(elsewhere.filePath(u"target"_s)), Old) << "a link's target is never written";
    EXPECT_EQ(files.backupPath().isEmpty(), !expected.contains(u"r.kxa.1"_s));
}

const QString R = u"r.kxa"_s, R1 = u"r.kxa.1"_s, R2 = u"r.kxa.2"_s;
// clang-format off
const Before kBeforeRows[] = {
    {"Nothing", {}, true, {{R, New}}},
    {"AFile", {{R, Old}}, true, {{R, New}, {R1, Old}}},
    {"AFileAndItsFirstBackup", {{R, Old}, {R1, "first"}}, true,
     {{R, New}, {R1, "first"}, {R2, Old}}},
    {"ALinkToAFile", {{R, "link to TARGET"}}, true, {{R, New}, {R1, "link to TARGET"}}},
    {"ADanglingLink", {{R, "link to /nonexistent/x.kxa"}}, true,
     {{R, New}, {R1, "link to /nonexistent/x.kxa"}}},
    {"AFifo", {{R, "other"}}, true, {{R, New}, {R1, "other"}}},
    {"AFolder", {{R, "folder"}}, false, {{R, "folder"}}},
};
// clang-format on
INSTANTIATE_TEST_SUITE_P(Rows, SafeFileBefore, testing::ValuesIn(kBeforeRows), RowName());

TEST(SafeFile, ItsOwnFileIsReplacedWithoutABackupUnlessSomebodyChangedIt) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"r.kxa"_s);
    SafeFile files;
    ASSERT_TRUE(files.write(path, "first"));
    ASSERT_TRUE(files.write(path, "second")); // a new run of the same exam, same student
    EXPECT_EQ(listing(dir.path()), (Listing{{u"r.kxa"_s, "second"}}));

    ASSERT_TRUE(writeFile(path, "changed by another program"));
    ASSERT_TRUE(files.write(path, "third"));
    EXPECT_EQ(listing(dir.path()),
              (Listing{{u"r.kxa"_s, "third"}, {u"r.kxa.1"_s, "changed by another program"}}));

    SafeFile another; // another run: the file is not its own
    ASSERT_TRUE(another.write(path, "fourth"));
    EXPECT_EQ(readAll(path + u".2"_s), "third");
    ASSERT_TRUE(another.replace(path, "fifth")); // replace keeps no backup
    EXPECT_EQ(listing(dir.path()).size(), 3);
}

TEST(SafeFile, PathsThatCannotHoldAFileFailAndLeaveNothing) {
    QTemporaryDir dir;
    ASSERT_TRUE(writeFile(dir.filePath(u"plain"_s), Old));
    const struct {
        const char* fault;
        QString path;
    } rows[] = {
        {"missing folder", dir.filePath(u"missing/r.kxa"_s)},
        {"a file where a folder should be", dir.filePath(u"plain/r.kxa"_s)},
        {"no name", dir.path() + u"/"_s},
        {"dot dot", dir.filePath(u".."_s)},
        {"empty", QString()},
        {"name too long", dir.filePath(QString(256, u'a'))},
    };
    const auto before = listing(dir.path());
    for (const auto& row : rows) {
        SCOPED_TRACE(row.fault);
        EXPECT_FALSE(SafeFile::canCreate(row.path));
        SafeFile files;
        EXPECT_FALSE(files.write(row.path, New));
        EXPECT_FALSE(files.errorString().isEmpty());
        EXPECT_EQ(listing(dir.path()), before);
    }
}

TEST(SafeFile, ALongNameThatLeavesNoRoomForABackupNumberIsRefusedOnlyWhenTaken) {
    QTemporaryDir dir;
    const QString fits = dir.filePath(QString(250, u'a'));
    const QString tight = dir.filePath(QString(251, u'b'));
    for (const QString& p : {fits, tight})
        ASSERT_TRUE(writeFile(p, Old));
    EXPECT_TRUE(SafeFile::canCreate(fits));   // fits.9999 is 255 bytes
    EXPECT_FALSE(SafeFile::canCreate(tight)); // tight.1 would do, tight.9999 not
    EXPECT_TRUE(SafeFile::canCreate(dir.filePath(QString(255, u'c'))));
}

// A disk that fills up part-way: nothing new stands under the name, the old file is intact and
// neither a temporary nor a backup is left.
TEST(SafeFile, AFullDiskLeavesTheOldFileAndNoTemporary) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"r.kxa"_s);
    ASSERT_TRUE(writeFile(path, Old));
    for (const qint64 room : {0, 1, 5}) {
        SCOPED_TRACE(room);
        FullDisk files(room);
        EXPECT_FALSE(files.write(path, New));
        EXPECT_EQ(files.failed(), 1);
        EXPECT_EQ(listing(dir.path()), (Listing{{u"r.kxa"_s, Old}}));
    }
    FullDisk once(3, 1);
    EXPECT_FALSE(once.write(path, New));
    EXPECT_TRUE(once.write(path, New)) << "room again";
    EXPECT_EQ(readAll(path), New);
}

// As a student's account: a folder that may not be written (its file may) is never written in
// place; a folder that may be written is.
TEST(SafeFile, AFolderThatMayNotBeWrittenFailsAndItsFileKeepsItsBytes) {
    QTemporaryDir dir;
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()), 0755), 0);
    const QString locked = dir.filePath(u"locked"_s);
    const QString open = dir.filePath(u"open"_s);
    ASSERT_TRUE(QDir().mkdir(locked) && QDir().mkdir(open));
    const QString file = locked + u"/r.kxa"_s;
    ASSERT_TRUE(writeFile(file, Old));
    ASSERT_EQ(::chmod(QFile::encodeName(file), 0666), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(locked), 0555), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(open), 0777), 0);

    EXPECT_EQ(runUnprivileged([&] { return SafeFile::canCreate(file); }), Unprivileged::False);
    EXPECT_EQ(runUnprivileged([&] { return SafeFile::canCreate(locked + u"/new.kxa"_s); }),
              Unprivileged::False);
    EXPECT_EQ(runUnprivileged([&] { return SafeFile().write(file, New); }), Unprivileged::False);
    EXPECT_EQ(readAll(file), Old) << "never written in place";
    EXPECT_EQ(listing(locked).size(), 1);

    EXPECT_EQ(runUnprivileged([&] { return SafeFile().write(open + u"/r.kxa"_s, New); }),
              Unprivileged::True);
    EXPECT_EQ(readAll(open + u"/r.kxa"_s), New);
}

} // namespace
