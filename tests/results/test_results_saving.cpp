#include "FileBytes.h"
#include "FullDisk.h"
#include "TestExamBuilder.h"
#include "results/FinishRules.h"
#include "results/ResultsSaving.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace kp {
namespace {

using test::readAll;

const QDateTime Now{QDate(2026, 3, 5), QTime(14, 7, 9)};

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// Ana's run of a two-question exam whose only data field is "Nombre"; where the chosen path,
// the program's folder and the documents folder are in a scratch folder, each either a
// folder that takes files or one under a plain file (which nothing can be written into).
class ResultsSaving : public ::testing::Test {
protected:
    QTemporaryDir dir;
    KipsaPrubex exam;
    KipsaResult result;
    void SetUp() override {
        exam.setDatoAlumno(1, u"Nombre"_s);
        result.setIdExamen(u"EX"_s);
        result.setDatoAlumno(1, u"Ana"_s);
        test::TestExamBuilder::mark(result, 2, {1});
        QFile plain(dir.filePath(u"plain"_s));
        ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    }
    QString place(bool works, const QString& name) const {
        return dir.filePath((works ? u""_s : u"plain/"_s) + name);
    }
    QByteArray bytes() const { return result.Contenido(exam, 2); }
};

TEST_F(ResultsSaving, EachPlaceIsTriedInTurnUntilOneHoldsTheFile) {
    const struct {
        const char* name;
        bool chosen, program, documents; // which places take files
        int savedAt;                     // 0 chosen, 1 program, 2 documents, -1 nowhere
        int archivoSalida;               // the path ArchivoSalida ends with
    } rows[] = {
        {"chosen", true, false, false, 0, 0},
        {"program folder", false, true, true, 1, 1},
        {"documents folder", false, false, true, 2, 2},
        {"nowhere", false, false, false, -1, 1}, // the first fallback
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const QString chosen = place(row.chosen, u"chosen/res.kxa"_s);
        QDir().mkpath(dir.filePath(u"chosen"_s));
        const QStringList paths{chosen, place(row.program, u"programa/Examen_Ana.kxa"_s),
                                place(row.documents, u"Documentos/Examen_Ana.kxa"_s)};
        result.setArchivoSalida(chosen);
        SafeFile files;
        const SaveOutcome outcome =
            saveResults(exam, result, 2,
                        {QFileInfo(paths[1]).path(), QString(), QFileInfo(paths[1]).path() + u'/',
                         QFileInfo(paths[2]).path()},
                        Now, files);
        const int tried = row.savedAt < 0 ? 3 : row.savedAt + 1;
        EXPECT_EQ(outcome.tried, paths.mid(0, tried)) << "empty and repeated folders skipped";
        EXPECT_EQ(outcome.chosenPath, chosen);
        EXPECT_EQ(outcome.saved(), row.savedAt >= 0);
        EXPECT_EQ(outcome.fellBack(), row.savedAt != 0);
        if (row.savedAt >= 0) {
            EXPECT_EQ(outcome.savedPath, paths[row.savedAt]);
            EXPECT_EQ(readAll(outcome.savedPath), bytes());
        }
        EXPECT_EQ(result.ArchivoSalida(), paths[row.archivoSalida]);
        QDir(dir.filePath(u"chosen"_s)).removeRecursively();
        QDir(dir.filePath(u"programa"_s)).removeRecursively();
        QDir(dir.filePath(u"Documentos"_s)).removeRecursively();
    }
}

TEST_F(ResultsSaving, AFullDiskAtTheChosenPathLeavesNothingThereAndFallsBack) {
    const QString chosen = dir.filePath(u"res.kxa"_s);
    result.setArchivoSalida(chosen);
    test::FullDisk files(20, 1); // the chosen path's disk takes 20 bytes, then it is full
    const SaveOutcome outcome =
        saveResults(exam, result, 2, {dir.filePath(u"programa"_s)}, Now, files);
    EXPECT_EQ(files.failed(), 1);
    EXPECT_FALSE(QFile::exists(chosen));
    EXPECT_EQ(outcome.savedPath, dir.filePath(u"programa/Examen_Ana.kxa"_s));
    EXPECT_EQ(readAll(outcome.savedPath), bytes());
    EXPECT_EQ(entries(dir.path()), (QStringList{u"plain"_s, u"programa"_s}));
}

// Two students called Ana whose results both fall back to the same folder: neither file is lost.
TEST_F(ResultsSaving, TwoFallbacksOfTheSameNameBothSurvive) {
    const QString folder = dir.filePath(u"programa"_s);
    KipsaResult second = result;
    second.setRespuestasKipsa(nullptr);
    test::TestExamBuilder::mark(second, 1, {2});
    for (KipsaResult* r : {&result, &second}) {
        r->setArchivoSalida(dir.filePath(u"plain/res.kxa"_s));
        SafeFile run; // each student's own program
        EXPECT_TRUE(saveResults(exam, *r, 2, {folder}, Now, run).saved());
    }
    EXPECT_EQ(readAll(folder + u"/Examen_Ana.kxa"_s), second.Contenido(exam, 2));
    EXPECT_EQ(readAll(folder + u"/Examen_Ana.kxa.1"_s), bytes());
}

TEST(ResultsNotSavedMessage, NamesEveryPathAndTheRecoveryFileOrThatThereIsNone) {
    const QStringList tried{u"/a/r.kxa"_s, u"/b/E.kxa"_s, u"/c/E.kxa"_s};
    const QString lead = u"Los resultados de su examen NO se han podido guardar: falló la "
                         u"escritura en /a/r.kxa, en /b/E.kxa, en /c/E.kxa. Llame ahora a su "
                         u"examinador y no cierre el programa."_s;
    EXPECT_EQ(resultsNotSavedMessage(tried, u"/d/E.kxr"_s),
              lead + u" Sus respuestas están guardadas en el archivo de recuperación /d/E.kxr, "
                     u"con el que el examinador puede rehacer el archivo de resultados."_s);
    EXPECT_EQ(resultsNotSavedMessage(tried, QString()),
              lead + u" Sus respuestas solo están en este programa."_s);
}

TEST(RecoveryFileStem, TheOneNombreValueOrTheExamMadeSafeThenTheTime) {
    const struct {
        const char* name;
        QString label, value, id;
        QString stem;
    } rows[] = {
        {"nombre", u"Nombre"_s, u"Ana/B: 1"_s, u"EX"_s, u"Examen_Ana_B_ 1_20260305_140709"_s},
        {"no-nombre", u"nombre"_s, u"Ana"_s, u" EX:1 "_s, u"Examen_EX_1_20260305_140709"_s},
        {"nothing", QString(), QString(), QString(), u"Examen_20260305_140709"_s},
        {"long", u"Nombre"_s, QString(300, u'a'), QString(),
         u"Examen_"_s + QString(224, u'a') + u"_20260305_140709"_s},
    };
    for (const auto& row : rows) {
        KipsaPrubex exam;
        KipsaResult result;
        exam.setDatoAlumno(3, row.label);
        result.setDatoAlumno(3, row.value);
        result.setIdExamen(row.id);
        EXPECT_EQ(recoveryFileStem(exam, result, Now), row.stem) << row.name;
    }
}

} // namespace
} // namespace kp
