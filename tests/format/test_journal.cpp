#include "FileBytes.h"
#include "TestExamBuilder.h"
#include "format/JournalReader.h"
#include "format/JournalRecords.h"
#include "format/JournalWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kp;
using namespace kp::test;
using namespace Qt::StringLiterals;

namespace {

JournalHeader sampleHeader() {
    JournalHeader h;
    h.IdExamen = u"  MAT-01 "_s;
    h.Serie = 3;
    h.TotalPreguntas = 4;
    h.TipoExamen = 2;
    h.SegundosLimite = 1800;
    h.HoraInicio = QDateTime(QDate(2026, 3, 5), QTime(14, 7, 9));
    h.ArchivoSalida = u"/media/notas/res_Ana.kxa"_s;
    h.etiquetas = {u"Nombre"_s, u" Grupo "_s, QString(), QString(), u"Nota\u00ba"_s};
    h.datos = {u"Ana Núñez"_s, u"3ºB "_s, QString(), u"\U0001F600"_s, QString(1, QChar(0xD800))};
    return h;
}

// One event of a run: a mark (+), an unmark (-) or a time record (0), at its exam time.
struct Event {
    char kind;
    qint16 question;
    qint16 answer;
    qint64 ms;
};

void play(JournalWriter& w, const Event& e) {
    if (e.kind == '+')
        w.mark(e.question, e.answer, e.ms);
    else if (e.kind == '-')
        w.unmark(e.question, e.answer, e.ms);
    else
        w.time(e.ms);
}

// The results file of the run after the given events, made the way the exam window records
// marks (Marcar, then removal of the pair by its key).
QByteArray expectedFile(const JournalHeader& h, const std::vector<Event>& events) {
    KipsaPrubex exam;
    KipsaResult result;
    h.applyTo(exam, result);
    auto& marks = *result.RespuestasKipsa();
    for (const Event& e : events) {
        if (e.kind == '+')
            marks.Marcar(e.question, e.answer);
        if (e.kind != '-')
            continue;
        QStringList doomed;
        for (const auto& m : marks)
            if (m->NumPregunta() == e.question && m->NumRespuesta() == e.answer)
                doomed << m->Key();
        for (const QString& k : doomed)
            marks.Remove(k);
    }
    return result.Contenido(exam, h.TotalPreguntas);
}

const std::vector<Event> kRun = {
    {'+', 2, 1, 1000},   {'+', 2, 3, 2500},   {'+', 1, 4, 3000},  {'0', 0, 0, 60000},
    {'-', 2, 1, 61000},  {'+', 4, 2, 62000},  {'+', 2, 1, 63000}, {'-', 3, 1, 64000}, // not marked
    {'+', 1, 4, 65000},                                                               // already
    {'+', 1, 12, 66000}, {'+', 11, 2, 67000}, // 11 is beyond the count: recorded, never written
};

class Journal : public ::testing::Test {
protected:
    QTemporaryDir dir;
    JournalWriter writer;
    QString start(const JournalHeader& h = sampleHeader()) {
        EXPECT_TRUE(writer.start(dir.path(), u"Examen_Ana"_s, h));
        return writer.path();
    }
};

TEST_F(Journal, ReadsBackTheHeaderAndTheMarksAsTheRecordKeepsThem) {
    const QString path = start();
    EXPECT_EQ(path, dir.filePath(u"Examen_Ana.kxr"_s));
    for (const Event& e : kRun)
        play(writer, e);
    EXPECT_TRUE(writer.complete());

    JournalReader reader;
    ASSERT_TRUE(reader.readFile(path)) << reader.errorString().toStdString();
    EXPECT_EQ(reader.header(), sampleHeader());
    EXPECT_EQ(reader.marks(),
              (std::vector<JournalMarks::Mark>{{2, 3}, {1, 4}, {4, 2}, {2, 1}, {1, 12}, {11, 2}}));
    EXPECT_EQ(reader.resultsFile(), expectedFile(sampleHeader(), kRun));
    EXPECT_EQ(reader.ignoredBytes(), 0);
    EXPECT_EQ(reader.elapsedMs(), 67000);
}

// A crash can cut the journal anywhere: every cut after the start record reads as the run up
// to its last whole record; a cut inside the start record is not a journal yet.
TEST_F(Journal, EveryCutReadsAsTheRunUpToItsLastWholeRecord) {
    JournalHeader h = sampleHeader();
    h.TotalPreguntas = 20;
    h.HoraInicio = QDateTime(); // unknown
    const QString path = start(h);
    const qsizetype startSize = readAll(path).size();
    std::vector<qsizetype> sizes{startSize};
    std::vector<Event> events;
    for (const Event& e : kRun) {
        play(writer, e);
        if (readAll(path).size() != sizes.back()) { // recorded (not a no-op)
            events.push_back(e);
            sizes.push_back(readAll(path).size());
        }
    }
    ASSERT_EQ(events.size(), 9u) << "the unmark of nothing and the repeated mark are not recorded";
    const QByteArray whole = readAll(path);
    JournalReader reader;
    for (qsizetype n = 0; n < startSize; ++n)
        ASSERT_FALSE(reader.read(whole.left(n))) << n;
    EXPECT_TRUE(reader.errorString().contains(u"cabecera"_s));
    for (qsizetype n = startSize; n <= whole.size(); ++n) {
        const size_t done = std::upper_bound(sizes.begin(), sizes.end(), n) - sizes.begin() - 1;
        ASSERT_TRUE(reader.read(whole.left(n))) << n;
        EXPECT_EQ(reader.header(), h);
        EXPECT_EQ(reader.records(), qint64(done) + 1) << n;
        EXPECT_EQ(reader.ignoredBytes(), n - sizes[done]) << n;
        EXPECT_EQ(reader.resultsFile(),
                  expectedFile(h, std::vector<Event>(events.begin(), events.begin() + done)))
            << n;
    }
}

TEST_F(Journal, DamageEndsTheReadingAndOnlyAHeaderlessFileFails) {
    const QString path = start();
    writer.mark(1, 2, 10);
    writer.mark(1, 3, 20);
    const QByteArray whole = readAll(path);
    const qsizetype record = journal::kFraming + 12;
    const qsizetype second = whole.size() - record;
    JournalReader reader;

    QByteArray flipped = whole;
    flipped[second + 7] = char(flipped[second + 7] ^ 0x10); // the second mark's question
    ASSERT_TRUE(reader.read(flipped));
    EXPECT_EQ(reader.marks(), (std::vector<JournalMarks::Mark>{{1, 2}}));
    EXPECT_EQ(reader.ignoredBytes(), record);

    // Sound records that the program never writes: question or answer 0, a
    // negative time, an unknown type, a second start.
    const QByteArray head = whole.left(second - record);
    const struct {
        const char* name;
        QByteArray record;
    } impossible[] = {
        {"question 0", journal::record(journal::Mark, journal::markContents(1, 0, 1))},
        {"answer 0", journal::record(journal::Unmark, journal::markContents(1, 1, 0))},
        {"negative time", journal::record(journal::Time, journal::timeContents(-1))},
        {"short mark", journal::record(journal::Mark, journal::timeContents(1))},
        {"unknown type", journal::record('X', journal::timeContents(1))},
        {"second start", journal::record(journal::Start, journal::startContents({}))},
    };
    for (const auto& row : impossible) {
        ASSERT_TRUE(reader.read(head + row.record + whole.mid(second))) << row.name;
        EXPECT_TRUE(reader.marks().empty()) << row.name;
        EXPECT_EQ(reader.ignoredBytes(), row.record.size() + record) << row.name;
    }

    const struct {
        const char* name;
        QByteArray bytes;
        const char16_t* reason;
    } refused[] = {
        {"empty", {}, u"no es un archivo de recuperación"},
        {"a results file", "0000000300", u"no es un archivo de recuperación"},
        {"magic only", QByteArray(journal::kMagic, journal::kMagicSize), u"cabecera"},
        {"a mark first", QByteArray(journal::kMagic) + journal::record('M', {}), u"cabecera"},
        {"start with a text past its end",
         QByteArray(journal::kMagic) +
             journal::record(journal::Start,
                             journal::startContents({}).left(18) + "\xff\xff\xff\x7f"),
         u"dañada"},
        {"start with an odd text length",
         QByteArray(journal::kMagic) +
             journal::record(journal::Start,
                             journal::startContents({}).left(18) + QByteArray("\x01\0\0\0x", 5)),
         u"dañada"},
        {"start with bytes left over",
         QByteArray(journal::kMagic) +
             journal::record(journal::Start, journal::startContents({}) + "x"),
         u"dañada"},
    };
    for (const auto& row : refused) {
        EXPECT_FALSE(reader.read(row.bytes)) << row.name;
        EXPECT_TRUE(reader.errorString().contains(QString::fromUtf16(row.reason)))
            << row.name << ": " << reader.errorString().toStdString();
    }
}

TEST_F(Journal, ALongRunIsRewrittenAsWhatStandsAndStaysSmall) {
    writer.setCompactAfter(8);
    const QString path = start();
    std::vector<Event> events;
    qint64 largest = 0;
    for (int i = 0; i < 400; ++i) {
        const Event e{i % 3 == 2 ? '-' : '+', qint16(1 + i % 4), qint16(1 + (i / 3) % 5),
                      qint64(i) * 100};
        play(writer, e);
        events.push_back(e);
        largest = std::max<qint64>(largest, readAll(path).size());
    }
    EXPECT_TRUE(writer.complete());
    EXPECT_LT(largest, 2000) << "the header and at most 8 + 2 x 20 records";
    JournalReader reader;
    ASSERT_TRUE(reader.readFile(path));
    EXPECT_EQ(reader.resultsFile(), expectedFile(sampleHeader(), events));
    EXPECT_EQ(reader.elapsedMs(), 39900);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1)
        << "no temporary, no backup";
}

TEST_F(Journal, NamesNeverClashAndTheJournalGoesOnlyWhenRemoved) {
    const QString first = start();
    writer.close();
    EXPECT_FALSE(writer.complete());
    EXPECT_EQ(start(), dir.filePath(u"Examen_Ana_2.kxr"_s)) << "the first is kept";
    EXPECT_TRUE(QFile::exists(first));
    writer.remove();
    EXPECT_TRUE(writer.path().isEmpty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{u"Examen_Ana.kxr"_s});

    // No folder to keep it in (a file stands there): no journal, and marks are still taken.
    QFile blocker(dir.filePath(u"blocker"_s));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    EXPECT_FALSE(writer.start(blocker.fileName() + u"/sub"_s, u"x"_s, sampleHeader()));
    writer.mark(1, 1, 5);
    EXPECT_FALSE(writer.complete());
    EXPECT_TRUE(writer.path().isEmpty());
}

} // namespace
