#include "FileBytes.h"
#include "WindowFixture.h"
#include "format/JournalReader.h"
#include "results/FinishRules.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

// Texts shown as text when a comparison fails.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

// Where the results go at the end and what the student is told about it, through the real
// window: every place tried in turn, the results on disk before any message, nothing
// overwritten, and a journal of the marks that survives anything short of a saved file.
namespace kp::test {
namespace {

const QString Finished = u"El examen ha finalizado."_s;
const QString SaveFailed = u"Ocurrió un error al guardar el archivo de resultados. Es posible que "
                           u"haya un problema de acceso para guardar la información en %1 Kipsa "
                           u"Prubex guardó los resultados de su examen en : %2. Por favor, "
                           u"Notifiquelo a su examinador."_s;

QStringList files(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden);
}

class SavingWindow : public WindowFixture {
protected:
    QTemporaryDir dir; // the results folder and a plain file nothing can be written under
    void SetUp() override {
        WindowFixture::SetUp();
        QFile plain(dir.filePath(u"plain"_s));
        ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    }
    // Three multiple-choice questions of four answers, a "Nombre" field, results written to
    // res_<name>.kxa in `folder`, no grade or review.
    std::shared_ptr<KipsaPrubex> exam(const QString& folder, bool soloUna = false) {
        TestExamBuilder b = TestExamBuilder::simple(3, 4);
        KipsaPrubex& e = b.exam();
        e.setIdExamen(u"EX-9"_s);
        e.setDatoAlumno(1, u"Nombre"_s);
        e.setGuardarArchivoResultados(true);
        e.setRutaArchivoResultados(folder + u"/res"_s);
        e.setSoloUnaRespuesta(soloUna);
        return b.build();
    }
    void start(std::shared_ptr<KipsaPrubex> e) {
        open(std::move(e));
        dato(1)->setText(u"Ana"_s);
        button("EmpezarBtn")->click();
        ASSERT_TRUE(state.ExamenEnCurso);
        prompts.messages.clear();
    }
    // Marks 2 and 4 of question 1, then 3 of question 2, unmarks 2 of question 1.
    void answer() {
        w->boton_sin_Click(2);
        w->boton_sin_Click(4);
        button("SiguienteBtn")->click();
        w->boton_sin_Click(3);
        button("AnteriorBtn")->click();
        w->boton_con_Click(2);
    }
    void finish() {
        prompts.answers.push_back(PromptAnswer::Yes);
        button("FinalizarBtn")->click();
        prompts.messages.erase(prompts.messages.begin()); // the confirmation
    }
    // The results file of Ana's run as it stands.
    QByteArray expected() const {
        return state.Resultado->Contenido(*state.Examen, state.TotalPreguntas);
    }
    QString program() const { return w->programFolder(); }
    QString documents() const { return w->documentsFolder(); }
    // A folder under a plain file: nothing can be written there, not even as root.
    void breakFolder(void (frmMain::*set)(const QString&), const QString& name) {
        (w.get()->*set)(dir.filePath(u"plain/"_s + name));
    }
};

// The chosen folder, the program's folder and the documents folder fail or not: the results go
// to the first that takes them, and the student is told the truth after "El examen ha
// finalizado.": nothing more, where they are, or that they are nowhere and where the journal is.
// When they are saved, they are on disk and the journal gone before the end is announced.
TEST_F(SavingWindow, EveryPlaceIsTriedAndTheStudentIsToldWhereTheResultsAre) {
    const struct {
        const char* name;
        bool chosen, program, documents;
    } rows[] = {
        {"chosen", true, true, true},
        {"program folder", false, true, true},
        {"documents folder", false, false, true},
        {"nowhere", false, false, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        renew();
        if (!row.program)
            breakFolder(&frmMain::setProgramFolder, u"programa"_s);
        if (!row.documents)
            breakFolder(&frmMain::setDocumentsFolder, u"Documentos"_s);
        w->setJournalFolder(dir.filePath(u"diarios"_s));
        start(exam(dir.path()));
        answer();
        // A folder that cannot be written by the end (a memory stick taken out, say).
        const QString chosen =
            row.chosen ? dir.filePath(u"res_Ana.kxa"_s) : dir.filePath(u"plain/res_Ana.kxa"_s);
        state.Resultado->setArchivoSalida(chosen);
        const QString inProgram = program() + u"/Examen_Ana.kxa"_s;
        const QString inDocuments = documents() + u"/Examen_Ana.kxa"_s;
        const QString saved = row.chosen      ? chosen
                              : row.program   ? inProgram
                              : row.documents ? inDocuments
                                              : QString();
        const QString journal = w->journal().path();
        ASSERT_TRUE(QFile::exists(journal));
        QByteArray onDisk;
        bool journalThere = false;
        prompts.onMessage = [&](const FakePrompts::Message& m) {
            if (m.text == Finished) {
                onDisk = readAll(saved);
                journalThere = QFile::exists(journal);
            }
        };
        finish();
        prompts.onMessage = nullptr;

        ASSERT_GE(prompts.messages.size(), 1u);
        EXPECT_EQ(prompts.messages[0].text, Finished);
        std::vector<std::tuple<QString, QString, PromptIcon>> told;
        for (size_t i = 1; i < prompts.messages.size(); ++i)
            told.emplace_back(prompts.messages[i].title, prompts.messages[i].text,
                              prompts.messages[i].icon);
        using Told = std::vector<std::tuple<QString, QString, PromptIcon>>;
        if (row.chosen)
            EXPECT_EQ(told, Told{});
        else if (!saved.isEmpty())
            EXPECT_EQ(told, (Told{{u"Lea atentamente"_s, SaveFailed.arg(chosen, saved),
                                   PromptIcon::Information}}));
        else
            EXPECT_EQ(told,
                      (Told{{u"Atención"_s,
                             resultsNotSavedMessage({chosen, inProgram, inDocuments}, journal),
                             PromptIcon::Exclamation}}));
        if (!saved.isEmpty()) {
            EXPECT_EQ(onDisk, expected()) << "on disk before the end is announced";
            EXPECT_EQ(readAll(saved), expected());
            EXPECT_FALSE(journalThere);
            EXPECT_EQ(files(program()).isEmpty(), saved != inProgram);
            continue;
        }
        // Nowhere: the journal stays, and from it the examiner gets the very file.
        JournalReader reader;
        ASSERT_TRUE(reader.readFile(journal)) << reader.errorString().toStdString();
        EXPECT_EQ(reader.resultsFile(), expected());
        EXPECT_EQ(reader.header().ArchivoSalida, dir.filePath(u"res_Ana.kxa"_s));
    }
}

// A file of somebody else at the chosen path survives beside the new one; the same student's
// second run replaces its own file.
TEST_F(SavingWindow, AnEarlierFileIsKeptAndTheRunsOwnFileReplaced) {
    const QString results = dir.filePath(u"res_Ana.kxa"_s);
    QFile other(results);
    ASSERT_TRUE(other.open(QIODevice::WriteOnly) && other.write("older") == 5);
    other.close();
    start(exam(dir.path()));
    EXPECT_EQ(readAll(results), "older") << "the start's probe leaves it alone";
    w->boton_sin_Click(1);
    finish();
    EXPECT_EQ(readAll(results + u".1"_s), "older");
    const QByteArray first = readAll(results);
    EXPECT_EQ(first, expected());

    prompts.messages.clear();
    action("mnuEmpezarExamen")->trigger(); // the same exam again
    w->boton_sin_Click(4);
    finish();
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, Finished);
    EXPECT_NE(readAll(results), first);
    EXPECT_EQ(readAll(results), expected());
    EXPECT_EQ(files(dir.path()), (QStringList{u"plain"_s, u"res_Ana.kxa"_s, u"res_Ana.kxa.1"_s}));
}

// Mid-exam, the journal alone rebuilds the results file as it stands, single-answer marking
// and the countdown's time included; opening another exam leaves it on disk.
TEST_F(SavingWindow, TheJournalHoldsEveryMarkAsItIsMade) {
    auto e = exam(dir.path(), true);
    e->setMinutosLimite(5);
    start(e);
    const QString journal = w->journal().path();
    EXPECT_EQ(QFileInfo(journal).dir(), QDir(program()));
    EXPECT_TRUE(QFileInfo(journal).fileName().startsWith(u"Examen_Ana_20260305_1407"_s));
    JournalReader reader;
    const auto check = [&](qint64 elapsedMs) {
        ASSERT_TRUE(reader.readFile(journal));
        EXPECT_EQ(reader.resultsFile(), expected());
        EXPECT_EQ(reader.elapsedMs(), elapsedMs);
        EXPECT_EQ(reader.ignoredBytes(), 0);
    };
    check(0);
    clock.advanceMs(1500);
    answer(); // single answer: 4 replaces 2, and the unmark of 2 finds nothing
    check(1500);
    EXPECT_EQ(reader.marks(), (std::vector<JournalMarks::Mark>{{1, 4}, {2, 3}}));
    clock.advanceMs(59'000);
    w->LimiteTiempo_Timer(); // 60.5 s into the exam
    check(60'500);
    clock.advanceMs(1000);
    w->LimiteTiempo_Timer(); // not again within the minute
    check(60'500);

    const QByteArray standing = expected();
    prompts.fileAnswers.push_back(dir.filePath(u"missing.kxt"_s));
    action("mnuAbrirExamen")->trigger(); // the exam in progress is dropped
    ASSERT_TRUE(reader.readFile(journal));
    EXPECT_EQ(reader.resultsFile(), standing);
}

} // namespace
} // namespace kp::test
