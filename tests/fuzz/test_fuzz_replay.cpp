// Every input a fuzz target ever had trouble with, fed again through the target's own check,
// and every seed of ours through the check of its target.
#include "FuzzChecks.h"
#include "Seeds.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <gtest/gtest.h>

using namespace kp::fuzz;

namespace {

// Inputs kept in a replay folder whose fault lies in code being rewritten elsewhere: replayed
// once that work lands, skipped with the reason until then.
struct KnownFinding {
    const char* target;
    const char* file;
    const char* reason;
};
const std::vector<KnownFinding> kKnownFindings = {};

struct Replay {
    QString target;
    QString path;
    QString known; // why it is skipped, when it is
};

// Shown for a failing row instead of the row's bytes.
void PrintTo(const Replay& row, std::ostream* os) {
    *os << row.path.toStdString();
}

std::vector<Replay> replays(bool checksProperties) {
    std::vector<Replay> rows;
    for (const Target& t : targets()) {
        if (t.checksProperties != checksProperties)
            continue;
        const QDir dir(QStringLiteral(KP_FUZZ_REPLAY_DIR "/") + QLatin1String(t.name));
        for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
            Replay row{QLatin1String(t.name), dir.filePath(name), {}};
            for (const KnownFinding& k : kKnownFindings)
                if (row.target == QLatin1String(k.target) && name == QLatin1String(k.file))
                    row.known = QString::fromUtf8(k.reason);
            rows.push_back(row);
        }
    }
    return rows;
}

// "exam/crash-0a1b.kxt" becomes exam_crash_0a1b_kxt.
std::string rowName(const testing::TestParamInfo<Replay>& info) {
    std::string name =
        (info.param.target + u'_' + QFileInfo(info.param.path).fileName()).toStdString();
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}

void replay(const Replay& row) {
    if (!row.known.isEmpty())
        GTEST_SKIP() << row.known.toStdString();
    QFile f(row.path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << row.path.toStdString();
    const QByteArray bytes = f.readAll();
    try {
        findTarget(row.target)->check(bytes);
    } catch (const std::exception& e) {
        ADD_FAILURE() << e.what();
    }
}

class FuzzReplay : public testing::TestWithParam<Replay> {};
class FuzzReplayCrashOnly : public testing::TestWithParam<Replay> {};

} // namespace

// Reads and then holds every property its target checks.
TEST_P(FuzzReplay, PropertiesHold) {
    replay(GetParam());
}
INSTANTIATE_TEST_SUITE_P(Found, FuzzReplay, testing::ValuesIn(replays(true)), rowName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(FuzzReplay);

// Only that nothing breaks: these targets check nothing else.
TEST_P(FuzzReplayCrashOnly, NothingBreaks) {
    replay(GetParam());
}
INSTANTIATE_TEST_SUITE_P(Found, FuzzReplayCrashOnly, testing::ValuesIn(replays(false)), rowName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(FuzzReplayCrashOnly);

// The seeds of every target hold its properties: our own files are the first inputs a target
// must take whole.
TEST(FuzzSeeds, EveryTargetHasSeedsThatHoldItsProperties) {
    const std::vector<Seed> seeds = makeSeeds(QStringLiteral(KP_EXAMPLES_DIR));
    for (const Target& t : targets()) {
        SCOPED_TRACE(t.name);
        int count = 0;
        for (const Seed& s : seeds) {
            if (s.target != QLatin1String(t.name))
                continue;
            ++count;
            SCOPED_TRACE(s.name.toStdString());
            try {
                t.check(s.bytes);
            } catch (const std::exception& e) {
                ADD_FAILURE() << e.what();
            }
        }
        EXPECT_GT(count, 0);
    }
}

int main(int argc, char** argv) {
    // The rich-text target needs fonts; test discovery runs without ctest's environment.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
