#include "FinishFixture.h"
#include "results/FinishRules.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace kp::test {
namespace {

const QStringList Labels{u"Nombre"_s, u""_s, u""_s, u""_s, u""_s};
const QString SaveFailedTitle = u"Lea atentamente"_s;

class ResultsAtEnd : public FinishFixture {
protected:
    // Marks answer 1 and 3 of question 1 and answer 2 of question 2, then finishes.
    void markAndFinish() {
        w->boton_sin_Click(3);
        w->boton_sin_Click(1);
        w->SiguienteBtn->click();
        w->boton_sin_Click(2);
        finishByRequest();
    }
    QByteArray expected(const QString& nombre) const {
        return resultsBytes(u"EXAMEN-PRUEBA"_s, 1, Labels, {nombre}, 1, {u"3;1;"_s, u"2;"_s});
    }
    const FakePrompts::Message* saveFailed() const {
        for (const auto& m : prompts.messages)
            if (m.title == SaveFailedTitle)
                return &m;
        return nullptr;
    }
};

TEST_F(ResultsAtEnd, FileOnDiskHoldsTheMarksInTheOrderMade) {
    start(exam(2, 3));
    markAndFinish();
    EXPECT_EQ(readFile(dir.filePath(u"res_Ana.kxa"_s)), expected(u"Ana"_s));
    EXPECT_EQ(saveFailed(), nullptr);
    EXPECT_TRUE(QDir(programFolder()).isEmpty());
}

TEST_F(ResultsAtEnd, BlankExamWritesZeroMarks) {
    start(exam(2, 3));
    finishByRequest();
    EXPECT_EQ(readFile(dir.filePath(u"res_Ana.kxa"_s)),
              resultsBytes(u"EXAMEN-PRUEBA"_s, 1, Labels, {u"Ana"_s}, 1, {u"0;"_s, u"0;"_s}));
}

TEST_F(ResultsAtEnd, ExamWithoutResultsFileWritesNothingAndSaysNothingMore) {
    auto e = exam();
    e->setGuardarArchivoResultados(false);
    start(e);
    finishByRequest();
    EXPECT_FALSE(QFile::exists(dir.filePath(u"res_Ana.kxa"_s)));
    EXPECT_EQ(saveFailed(), nullptr);
    EXPECT_TRUE(QDir(programFolder()).isEmpty());
}

// The chosen path stops being writable between the start and the end (as root, permissions
// would not stop the write, so the path itself must be impossible).
struct Unwritable {
    const char* name;
    QString (*prepare)(const QString& root);
};

TEST_F(ResultsAtEnd, UnwritablePathFallsBackToTheProgramFolderAndSaysWhere) {
    const Unwritable cases[] = {
        {"parent is a regular file",
         [](const QString& root) {
             QFile plain(root + u"/plain"_s);
             EXPECT_TRUE(plain.open(QIODevice::WriteOnly));
             return root + u"/plain/res.kxa"_s;
         }},
        {"a folder stands at the path",
         [](const QString& root) {
             EXPECT_TRUE(QDir().mkpath(root + u"/res.kxa"_s));
             return root + u"/res.kxa"_s;
         }},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        prompts.messages.clear();
        start(exam(2, 3), u"Ana: 3/B"_s);
        const QString root = dir.filePath(u"case%1"_s.arg(++n));
        ASSERT_TRUE(QDir().mkpath(root));
        const QString chosen = c.prepare(root);
        state.Resultado->setArchivoSalida(chosen);

        markAndFinish();
        const QString fallback = programFolder() + u"/Examen_Ana_ 3_B.kxa"_s;
        EXPECT_EQ(readFile(fallback), expected(u"Ana: 3/B"_s));
        EXPECT_EQ(state.Resultado->ArchivoSalida(), fallback);
        const auto* m = saveFailed();
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(m->text, saveFailedMessage(chosen, fallback));
        EXPECT_EQ(m->icon, PromptIcon::Information);
        EXPECT_EQ(m->buttons, PromptButtons::Ok);
        // Told after "El examen ha finalizado." and before the grade.
        ASSERT_GE(prompts.messages.size(), 3u);
        EXPECT_EQ(prompts.messages[1].text, u"El examen ha finalizado."_s);
        EXPECT_EQ(&prompts.messages[2], m);
        QFile::remove(fallback);
    }
}

TEST_F(ResultsAtEnd, WithoutANombreFieldTheFallbackNameIsTheExamAndTheTime) {
    auto e = exam(2, 3);
    e->setDatoAlumno(1, u"Alumno"_s);
    e->setAlumnoDefineArchivoResultados(true);
    open(e);
    w->ArchivoTxt->setText(dir.filePath(u"mio.kxa"_s));
    w->datoTxt[0]->setText(u"Ana"_s);
    w->EmpezarBtn->click();
    ASSERT_TRUE(state.ExamenEnCurso);
    ASSERT_TRUE(QDir().mkpath(dir.filePath(u"mio.kxa"_s)));
    clock.advanceMs(3000);
    finishByRequest();
    const QString fallback = programFolder() + u"/Examen_EXAMEN-PRUEBA_"_s +
                             clock.now().toString(u"yyyyMMdd_HHmmss"_s) + u".kxa"_s;
    EXPECT_TRUE(QFile::exists(fallback));
    ASSERT_NE(saveFailed(), nullptr);
    EXPECT_TRUE(saveFailed()->text.contains(fallback));
}

TEST_F(ResultsAtEnd, FailingFallbackIsNotReportedTwice) {
    start(exam(2, 3));
    w->setProgramFolder(dir.filePath(u"no/such/folder"_s));
    state.Resultado->setArchivoSalida(dir.filePath(u"missing/res.kxa"_s));
    finishByRequest();
    int failures = 0;
    for (const auto& m : prompts.messages)
        failures += m.title == SaveFailedTitle ? 1 : 0;
    EXPECT_EQ(failures, 1);
    EXPECT_FALSE(state.ExamenEnCurso);
    EXPECT_EQ(prompts.modalWindows.size(), 1u); // the grade still follows
}

} // namespace
} // namespace kp::test
