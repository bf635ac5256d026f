#include "CrashRun.h"
#include "Kxt.h"
#include "results/FinishRules.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>
#include <random>

using namespace Qt::StringLiterals;

// The real exam window in a child process, killed (SIGKILL) at a random moment of a random run
// of marks and unmarks: kxt recover must give back the results file of the marks made.
namespace kp::test {
namespace {

// Lines of the child's output read so far: the last step that had returned.
int lastStep(QProcess& child, QByteArray& output) {
    output += child.readAllStandardOutput();
    const QList<QByteArray> lines = output.trimmed().split('\n');
    return output.trimmed().isEmpty() ? -1 : lines.last().toInt();
}

TEST(CrashedExam, KilledAtAnyMomentTheRecoveryFileGivesBackTheMarksMade) {
    std::random_device device;
    const quint32 base = device();
    SCOPED_TRACE(testing::Message() << "seed " << base);
    std::mt19937 random(base);
    constexpr int kSteps = 200;
    for (int round = 0; round < 12; ++round) {
        const quint32 seed = random();
        const bool soloUna = round % 2 == 1;
        const int killAfter = std::uniform_int_distribution<int>(0, kSteps)(random);
        const int delayUs = std::uniform_int_distribution<int>(0, 2000)(random);
        SCOPED_TRACE(testing::Message()
                     << "round " << round << ", steps of seed " << seed << ", kill after step "
                     << killAfter << " + " << delayUs << " us, single answer " << soloUna);
        QTemporaryDir dir;
        QProcess child;
        child.start(QStringLiteral(KP_CRASH_CHILD),
                    {dir.path(), QString::number(seed), QString::number(kSteps),
                     soloUna ? u"1"_s : u"0"_s});
        ASSERT_TRUE(child.waitForStarted(10'000));
        QByteArray output;
        while (lastStep(child, output) < killAfter && child.state() == QProcess::Running)
            child.waitForReadyRead(100);
        ASSERT_EQ(child.state(), QProcess::Running) << child.readAllStandardError().toStdString();
        QThread::usleep(static_cast<unsigned long>(delayUs));
        ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
        ASSERT_TRUE(child.waitForFinished(10'000));
        const int done = lastStep(child, output);

        const QStringList journals =
            QDir(dir.filePath(u"programa"_s)).entryList({u"*.kxr"_s}, QDir::Files);
        ASSERT_EQ(journals.size(), 1);
        const QString out = dir.filePath(u"recuperado.kxa"_s);
        const CommandRun run =
            kxt(tools::runRecover, {dir.filePath(u"programa/"_s + journals[0]), u"-o"_s, out});
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        QFile file(out);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray recovered = file.readAll();

        // The marks of the steps that had returned, or of one more that had reached the disk
        // (whole, or halfway through replacing a single answer's mark).
        const auto exam = crash::exam(dir.path(), soloUna);
        const auto steps = crash::steps(seed, kSteps);
        int matched = -1;
        for (const int k : {done, done + 1})
            if (k <= kSteps && recovered == crash::resultsAfter(*exam, steps, size_t(k)))
                matched = k;
        const bool halfway =
            matched < 0 && recovered == crash::resultsAfter(*exam, steps, size_t(done), true);
        EXPECT_TRUE(matched >= 0 || halfway) << "after step " << done;
        const int seconds = matched >= 0 ? matched : done + 1;
        EXPECT_TRUE(
            run.out.contains(u"transcurrido: "_s + remainingTimeText(seconds) + u" hasta"_s))
            << run.out.toStdString();
    }
}

} // namespace
} // namespace kp::test
