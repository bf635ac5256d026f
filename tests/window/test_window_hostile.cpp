// Hostile exam files through the real window: each opens from its file, starts and pages
// without freezing, keeps memory bounded and writes nothing outside the private temporary
// folder. Times and memory are printed as diagnostics; only a margin no working page comes near
// fails a row.
#include "HostilePictures.h"
#include "WindowFixture.h"

#include "widgets/TextBounds.h"
#include "window/ExamOpening.h"
#include "window/frmImagen.h"

#include <QDirIterator>
#include <QImageReader>
#include <cmath>
#include <functional>
#include <iostream>
#include <sys/resource.h>

using namespace Qt::StringLiterals;
using namespace kp;
using namespace kp::test;

namespace {

// Far beyond any page that works (under a second here), far below a frozen one.
constexpr qint64 FrozenMs = 30000;

long peakKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Every file and folder below root, with sizes, so a stray write shows.
QStringList listing(const QString& root) {
    QStringList out;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        out << QDir(root).relativeFilePath(it.filePath()) + u' ' +
                   QString::number(it.fileInfo().size());
    }
    out.sort();
    return out;
}

QString repeated(const QString& piece, qsizetype size) {
    QString out;
    out.reserve(size + piece.size());
    while (out.size() < size)
        out += piece;
    return out.left(size);
}

struct Hostile {
    const char* name;
    // Makes question "A" (and anything else) of the exam; "B", a plain question, follows it.
    // Files the exam is made from go into the given folder.
    std::function<void(TestExamBuilder&, const QString& folder)> make;
    // When not empty, the picture names as the opened exam holds them (a file can carry any
    // name; our writer stores base names only).
    QString pictureName = {};
};

void PrintTo(const Hostile& h, std::ostream* os) {
    *os << h.name;
}

// A question whose picture (and the exam's logo) are these bytes, stored as file.extension;
// pictureName, when given, is the name the window then sees.
Hostile picture(const char* name, QByteArray bytes, QString file, QString pictureName = {}) {
    return {name,
            [bytes, file](TestExamBuilder& b, const QString& folder) {
                QFile logo(folder + u'/' + file);
                ASSERT_TRUE(logo.open(QIODevice::WriteOnly) && logo.write(bytes) == bytes.size());
                b.exam().setArchivoLogo(logo.fileName());
                b.pregunta(u"A"_s, u"¿Qué muestra?"_s, {{u"uno"_s, true}, {u"dos"_s}}, file, bytes);
            },
            pictureName};
}

Hostile truncated(const char* format) {
    const QByteArray whole = QByteArray(format) == "gif" ? gifPicture() : encodedPicture(format);
    return picture(format, whole.left(whole.size() / 2), u"imagen."_s + QLatin1String(format));
}

Hostile answers(const char* name, int count) {
    return {name, [count](TestExamBuilder& b, const QString&) {
                std::vector<TestExamBuilder::Answer> list;
                for (int i = 1; i <= count; ++i)
                    list.push_back({u"r"_s + QString::number(i), i == 1});
                b.pregunta(u"A"_s, u"¿Cuál?"_s, list);
            }};
}

Hostile questionText(const char* name, QString text) {
    return {name, [text](TestExamBuilder& b, const QString&) {
                b.pregunta(u"A"_s, text, {{u"uno"_s, true}, {u"dos"_s}});
            }};
}

Hostile dataLabel(const char* name, int field) {
    return {name, [field](TestExamBuilder& b, const QString&) {
                b.exam().setDatoAlumno(field, repeated(u"Curso "_s, 1 << 20));
                b.pregunta(u"A"_s, 2, {1});
            }};
}

const QString TenMB = repeated(u"palabra "_s, 10 << 20);

class HostileExam : public WindowFixture, public ::testing::WithParamInterface<Hostile> {
protected:
    QTemporaryDir sandbox;
    QString previousFolder = QDir::currentPath();
    QByteArray previousTmp = qgetenv("TMPDIR");

    void SetUp() override {
        // The window's private folder goes inside the sandbox, and relative paths land there.
        for (const char* sub : {"tmp", "cwd", "programa", "examen"})
            QDir(sandbox.path()).mkpath(QLatin1String(sub));
        qputenv("TMPDIR", sandbox.filePath(u"tmp"_s).toLocal8Bit());
        QDir::setCurrent(sandbox.filePath(u"cwd"_s));
        WindowFixture::SetUp();
        w->setProgramFolder(sandbox.filePath(u"programa"_s));
    }
    void TearDown() override {
        w.reset();
        QDir::setCurrent(previousFolder);
        qputenv("TMPDIR", previousTmp);
    }
};

// Opens the exam from its file, starts it (data filled in), shows the picture, goes to the
// plain question and back: every step within the margin, memory bounded, nothing written
// outside the private folder, and the countdown running.
TEST_P(HostileExam, OpensStartsAndPages) {
    TestExamBuilder b;
    b.exam().setMinutosLimite(30);
    GetParam().make(b, sandbox.filePath(u"examen"_s));
    b.pregunta(u"B"_s, u"¿Y esta?"_s, {{u"sí"_s, true}, {u"no"_s}});
    b.exam().setArchivoSalida(sandbox.filePath(u"examen/hostil.kxt"_s));
    ASSERT_TRUE(b.serie(1, {u"A"_s, u"B"_s}).build()->Export());
    const QStringList before = listing(sandbox.path());
    const long startKiB = peakKiB();

    QElapsedTimer timer;
    std::vector<std::pair<const char*, qint64>> steps;
    const auto step = [&](const char* what, const std::function<void()>& run) {
        timer.start();
        run();
        steps.emplace_back(what, timer.elapsed());
    };
    step("open", [&] {
        ASSERT_TRUE(AbrirExamen(state, prompts, sandbox.filePath(u"examen/hostil.kxt"_s), w.get()));
        if (const QString& name = GetParam().pictureName; !name.isEmpty()) {
            state.Examen->setArchivoLogo(name);
            state.Examen->Preguntas()->Item(u"preguntaA"_s)->setImagen(name);
        }
        w->showOpenedExam();
        w->show();
    });
    step("start", [&] {
        for (int i = 1; i <= 5; ++i)
            dato(i)->setText(u"Ana"_s);
        button("EmpezarBtn")->click();
    });
    ASSERT_EQ(w->frmExternoTag(), u"1"_s);
    EXPECT_TRUE(prompts.messages.empty());
    if (!button("ImagenBtn")->isHidden())
        step("picture", [&] { button("ImagenBtn")->click(); });
    step("next", [&] { button("SiguienteBtn")->click(); });
    EXPECT_EQ(label("PreguntaActualLab")->text(), u"Pregunta 2 de 2   (sin responder)"_s);
    step("back", [&] { button("AnteriorBtn")->click(); });
    step("paint", [&] { w->repaint(); });
    EXPECT_EQ(w->frmExternoTag(), u"1"_s);
    clock.advanceMs(1000);
    w->LimiteTiempo_Timer();
    EXPECT_EQ(label("TiempoLab")->text(), u"0:29:59"_s) << "the countdown goes on";

    qint64 longest = 0;
    for (const auto& [what, ms] : steps) {
        std::cout << "[ diagnostic ] " << GetParam().name << ' ' << what << ": " << ms << " ms\n";
        EXPECT_LT(ms, FrozenMs) << what;
        longest = std::max(longest, ms);
    }
    const long grownMiB = (peakKiB() - startKiB) / 1024;
    std::cout << "[ diagnostic ] " << GetParam().name << " longest stall " << longest
              << " ms, peak memory grew by " << grownMiB << " MiB\n";
    EXPECT_LT(grownMiB, 1024) << "memory bounded";
    EXPECT_LE(QImageReader::allocationLimit(), 128) << "Qt's image allocation limit kept";
    EXPECT_EQ(listing(sandbox.path()), before) << "nothing written outside the private folder";
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, HostileExam,
    ::testing::Values(
        truncated("bmp"), truncated("cur"), truncated("gif"), truncated("ico"), truncated("jpeg"),
        truncated("pbm"), truncated("pgm"), truncated("png"), truncated("ppm"), truncated("xbm"),
        truncated("xpm"), picture("JpegClaiming50000", jpegClaiming(50000, 50000, 0.5), u"a.jpg"_s),
        picture("JpegAtTheLimitCut", jpegClaiming(8000, 4000, 0.05), u"a.jpg"_s),
        picture("PngClaiming50000", pngClaiming(50000, 50000), u"a.png"_s),
        picture("BmpClaiming50000", bmpClaiming(50000, 50000), u"a.bmp"_s),
        picture("ZeroBytes", {}, u"vacia.png"_s),
        picture("NameWithFolders", encodedPicture("png"), u"a.png"_s, u"fotos/sub\\a.png"_s),
        picture("NameUp", encodedPicture("png"), u"a.png"_s, u"../../a.png"_s),
        picture("NameDotDot", encodedPicture("png"), u"a.png"_s, u".."_s),
        picture("NameWithNul", encodedPicture("png"), u"a.png"_s, u"a\0b.png"_s),
        picture("Name300", encodedPicture("png"), u"a.png"_s, repeated(u"n"_s, 296) + u".png"_s)),
    RowName());

INSTANTIATE_TEST_SUITE_P(
    Texts, HostileExam,
    ::testing::Values(dataLabel("DataLabel1MB", 1), dataLabel("DataLabel1MBLast", 5),
                      answers("Answers32767", 32767), questionText("QuestionText10MB", TenMB),
                      questionText("QuestionTextOneWord10MB", repeated(u"x"_s, 10 << 20)),
                      questionText("QuestionTextLines10MB", repeated(u"l\n"_s, 10 << 20)),
                      questionText("QuestionRtf10MB", u"{\\rtf1\\ansi "_s + TenMB + u"}"_s),
                      Hostile{"Title1MB",
                              [](TestExamBuilder& b, const QString&) {
                                  b.exam().setTitulo(repeated(u"T"_s, 1 << 20));
                                  b.pregunta(u"A"_s, 2, {1});
                              }}),
    RowName());

// What a box holds: a normal text whole, a longer one cut at the bound (never inside a
// surrogate pair), at most so many paragraphs, RTF output too; a text with a stretch longer
// than any line wraps anywhere, and a reused box goes back to wrapping at words.
TEST(PageTextBox, HoldsTheBoundAndWrapsLongStretchesAnywhere) {
    constexpr qsizetype Box = TextBounds::BoxChars;
    constexpr auto Words = QTextOption::WrapAtWordBoundaryOrAnywhere;
    const struct {
        const char* name;
        QString before, text;
        qsizetype maxChars, chars;
        QTextOption::WrapMode wrap = Words;
    } cases[] = {
        // clang-format off
        {"FitsWhole", {}, repeated(u"ab "_s, Box), Box, Box},
        {"CutAtTheBound", {}, repeated(u"ab "_s, Box + 1), Box, Box},
        {"PageBudgetGiven", {}, repeated(u"ab "_s, 5000), 1024, 1024},
        {"SurrogatePairKeptWhole", {}, repeated(u"a "_s, 1023) + u"\U0001F600"_s, 1024, 1023},
        {"ParagraphsCut", {}, repeated(u"l\n"_s, 5000), Box, 2 * TextBounds::BoxParagraphs - 1},
        {"RtfCut", {}, u"{\\rtf1\\ansi "_s + repeated(u"ab "_s, 3 * Box) + u"}"_s, Box, Box},
        {"StretchOfTheLimitWrapsAtWords", {}, repeated(u"x"_s, 256) + u" y"_s, Box, 258},
        {"LongerStretchWrapsAnywhere", {}, u"y "_s + repeated(u"x"_s, 257), Box, 259,
         QTextOption::WrapAnywhere},
        {"ReusedBoxWrapsAtWordsAgain", repeated(u"x"_s, 300), u"a b"_s, Box, 3},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RichTextBox box;
        box.resize(800, 41);
        if (!c.before.isEmpty())
            box.setPageText(c.before, Qt::black, 10);
        EXPECT_EQ(box.setPageText(c.text, Qt::black, 10, c.maxChars), c.chars);
        EXPECT_EQ(box.plainText().size(), c.chars);
        if (!c.text.startsWith(u"{\\rtf"_s)) {
            EXPECT_TRUE(c.text.startsWith(box.plainText().left(64))) << "the text's own start";
        }
        EXPECT_EQ(box.document()->defaultTextOption().wrapMode(), c.wrap);
    }
}

using PageBounds = WindowFixture;

// The question and the first three answers spend the page's budget; later boxes get the floor.
TEST_F(PageBounds, BoxesAfterThePageBudgetGetTheFloor) {
    const QString full = repeated(u"palabra "_s, TextBounds::BoxChars);
    TestExamBuilder b;
    b.pregunta(u"A"_s, full, {{full}, {full}, {full}, {full}, {full}});
    openAndStart(b.serie(1, {u"A"_s}).build());
    std::vector<qsizetype> held{control<RichTextBox>(u"PreguntaTxt"_s)->plainText().size()};
    for (int j = 1; j <= 5; ++j)
        held.push_back(rowControl<RichTextBox>("RespuestaTxt", j)->plainText().size());
    constexpr qsizetype Box = TextBounds::BoxChars, Floor = TextBounds::BoxFloorChars;
    EXPECT_EQ(held, (std::vector<qsizetype>{Box, Box, Box, Box, Floor, Floor}));
}

// Rows below the deepest the scroll bar reaches are counted in the page's height, not made;
// a row whose number comes again down there moves there, as it always did (numbers repeat only
// in exams made in memory: a file keys answers by number).
TEST_F(PageBounds, RowsOutOfReachAreCountedNotMade) {
    for (const bool oneNumber : {false, true}) {
        SCOPED_TRACE(oneNumber ? "one number" : "numbered in turn");
        renew();
        std::vector<TestExamBuilder::Answer> list;
        for (int i = 1; i <= 2000; ++i)
            list.push_back({u"r"_s + QString::number(i)});
        TestExamBuilder b;
        auto exam = b.pregunta(u"A"_s, u"?"_s, list).serie(1, {u"A"_s}).build();
        if (oneNumber)
            for (const auto& r : *exam->Preguntas()->Item(1)->respuestas())
                r->setNumero(1);
        openAndStart(exam);
        EXPECT_EQ(box(widget("frmExamen")).height, 1665 + 2000 * 735);
        const double reach = 32767 + box(widget("frmExterno")).height + 240;
        const int deepest = static_cast<int>(std::ceil((reach - 1665) / 735)); // rows 1..deepest
        if (oneNumber) {
            EXPECT_EQ(w->highestRow(), 1);
            EXPECT_EQ(box(sin(1)).top, 1665 + 1999 * 735 - 240);
        } else {
            EXPECT_EQ(w->highestRow(), deepest);
            EXPECT_EQ(box(sin(deepest)).top, 1665 + (deepest - 1) * 735 - 240);
            EXPECT_EQ(rowControl<RichTextBox>("RespuestaTxt", deepest)->plainText(),
                      u"r"_s + QString::number(deepest));
        }
    }
}

// A label of a megabyte shows its first characters, in its box and in the message that asks
// for its field; a title of a megabyte is cut before the briefing's own sentences.
TEST_F(PageBounds, HugeLabelsAndTitleAreCut) {
    TestExamBuilder b;
    b.exam().setTitulo(repeated(u"T"_s, 1 << 20));
    b.exam().setDatoAlumno(2, repeated(u"Curso "_s, 1 << 20));
    open(b.pregunta(u"A"_s, 2, {1}).serie(1, {u"A"_s}).build());
    const QString shown = repeated(u"Curso "_s, TextBounds::LabelChars);
    EXPECT_EQ(datoLabel(2)->text(), shown + u':');
    EXPECT_TRUE(label("InfoExamLab")
                    ->text()
                    .startsWith(repeated(u"T"_s, TextBounds::BriefingTitleChars) +
                                u"\n\nVa a realizar un examen de tipo Test, "_s));
    button("EmpezarBtn")->click();
    expectOnlyMessage(u"Debe rellenar el campo "_s + shown + u"…"_s);
}

// The picture rows cover every format this Qt reads.
TEST(HostilePictureFormats, CoverEveryFormatQtReads) {
    const QList<QByteArray> covered = {"bmp", "cur", "gif", "ico", "jpeg", "jpg",
                                       "pbm", "pgm", "png", "ppm", "xbm",  "xpm"};
    for (const QByteArray& format : QImageReader::supportedImageFormats())
        EXPECT_TRUE(covered.contains(format)) << format.toStdString();
}

} // namespace
