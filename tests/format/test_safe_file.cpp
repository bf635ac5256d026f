#include "FileBytes.h"
#include "FullDisk.h"
#include "Unprivileged.h"
#include "format/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace kp;
using namespace kp::test;
using namespace Qt::StringLiterals;

namespace {

// Every entry of a folder, hidden ones included, as name -> what it is ("link to X", a file's
// bytes, "folder").
QMap<QString, QByteArray> listing(const QString& folder) {
    QMap<QString, QByteArray> out;
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

// What stands at the path before the write, and what the folder must hold afterwards.
struct Before {
    const char* name;
    std::function<void(const QString& folder, const QString& target)> make; // at folder/r.kxa
    bool writes;                     // the write (and the probe) succeed
    QMap<QString, QByteArray> after; // the folder afterwards
};

class SafeFileBefore : public testing::TestWithParam<Before> {};

TEST_P(SafeFileBefore, ProbeAgreesWithTheWriteAndNothingIsLost) {
    const Before& row = GetParam();
    QTemporaryDir dir;
    QTemporaryDir elsewhere; // what links point at
    ASSERT_TRUE(writeFile(elsewhere.filePath(u"target"_s), Old));
    row.make(dir.path(), elsewhere.filePath(u"target"_s));
    const QString path = dir.filePath(u"r.kxa"_s);
    const auto before = listing(dir.path());

    EXPECT_EQ(SafeFile::canCreate(path), row.writes);
    EXPECT_EQ(listing(dir.path()), before) << "the probe changes nothing";
    SafeFile files;
    EXPECT_EQ(files.write(path, New), row.writes) << files.errorString().toStdString();
    EXPECT_EQ(files.errorString().isEmpty(), row.writes);
    auto expected = row.after;
    for (auto& v : expected)
        v.replace("TARGET", QFile::encodeName(elsewhere.filePath(u"target"_s)));
    EXPECT_EQ(listing(dir.path()), expected);
    EXPECT_EQ(readAll(elsewhere.filePath(u"target"_s)), Old) << "a link's target is never written";
    EXPECT_EQ(files.backupPath().isEmpty(), !expected.contains(u"r.kxa.1"_s));
}

void link(const QString& target, const QString& at) {
    ASSERT_TRUE(QFile::link(target, at));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SafeFileBefore,
    testing::Values(
        Before{"nothing", [](const QString&, const QString&) {}, true, {{u"r.kxa"_s, New}}},
        Before{"a-file",
               [](const QString& d, const QString&) { writeFile(d + u"/r.kxa"_s, Old); },
               true,
               {{u"r.kxa"_s, New}, {u"r.kxa.1"_s, Old}}},
        Before{"a-file-and-its-first-backup",
               [](const QString& d, const QString&) {
                   writeFile(d + u"/r.kxa"_s, Old);
                   writeFile(d + u"/r.kxa.1"_s, "first");
               },
               true,
               {{u"r.kxa"_s, New}, {u"r.kxa.1"_s, "first"}, {u"r.kxa.2"_s, Old}}},
        Before{"a-link-to-a-file",
               [](const QString& d, const QString& target) { link(target, d + u"/r.kxa"_s); },
               true,
               {{u"r.kxa"_s, New}, {u"r.kxa.1"_s, "link to TARGET"}}},
        Before{"a-dangling-link",
               [](const QString& d, const QString&) {
                   link(u"/nonexistent/x.kxa"_s, d + u"/r.kxa"_s);
               },
               true,
               {{u"r.kxa"_s, New}, {u"r.kxa.1"_s, "link to /nonexistent/x.kxa"}}},
        Before{"a-fifo",
               [](const QString& d, const QString&) {
                   ::mkfifo(QFile::encodeName(d + u"/r.kxa"_s), 0600);
               },
               true,
               {{u"r.kxa"_s, New}, {u"r.kxa.1"_s, "other"}}},
        Before{"a-folder",
               [](const QString& d, const QString&) { QDir(d).mkdir(u"r.kxa"_s); },
               false,
               {{u"r.kxa"_s, "folder"}}}),
    [](const auto& info) {
        std::string name = info.param.name;
        std::replace(name.begin(), name.end(), '-', '_');
        return name;
    });

TEST(SafeFile, ItsOwnFileIsReplacedWithoutABackupUnlessSomebodyChangedIt) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"r.kxa"_s);
    SafeFile files;
    ASSERT_TRUE(files.write(path, "first"));
    ASSERT_TRUE(files.write(path, "second")); // a new run of the same exam, same student
    EXPECT_EQ(listing(dir.path()), (QMap<QString, QByteArray>{{u"r.kxa"_s, "second"}}));

    ASSERT_TRUE(writeFile(path, "changed by another program"));
    ASSERT_TRUE(files.write(path, "third"));
    EXPECT_EQ(listing(dir.path()),
              (QMap<QString, QByteArray>{{u"r.kxa"_s, "third"},
                                         {u"r.kxa.1"_s, "changed by another program"}}));

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
        EXPECT_EQ(listing(dir.path()), (QMap<QString, QByteArray>{{u"r.kxa"_s, Old}}));
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
