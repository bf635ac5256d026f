#include "ExamBytes.h"
#include "Kxt.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <charconv>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace kp;
using namespace kp::test;
using namespace Qt::StringLiterals;

namespace {

// kxt info as it was first written: the loaded exam as a tree of QJsonObject, written by
// QJsonDocument. What it streams now must be the same bytes.
QJsonObject blobJson(const QByteArray& bytes) {
    return {
        {u"size"_s, static_cast<qint64>(bytes.size())},
        {u"sha256"_s,
         QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex())}};
}

double shortest(float value) {
    char text[64];
    *std::to_chars(text, text + sizeof text - 1, value).ptr = '\0';
    return std::strtod(text, nullptr);
}

QJsonObject examJson(const KipsaPrubex& e) {
    QJsonArray questions;
    for (const auto& p : *e.Preguntas()) {
        QJsonArray answers;
        for (const auto& r : *p->respuestas())
            answers.append(QJsonObject{{u"Key"_s, r->Key()},
                                       {u"Numero"_s, r->Numero()},
                                       {u"Correcta"_s, r->Correcta()},
                                       {u"Texto"_s, r->Texto()}});
        questions.append(QJsonObject{{u"Key"_s, p->Key()},
                                     {u"Id"_s, p->Id()},
                                     {u"NombreAutor"_s, p->NombreAutor()},
                                     {u"LicenciaAutor"_s, p->LicenciaAutor()},
                                     {u"TextoPregunta"_s, p->TextoPregunta()},
                                     {u"Imagen"_s, p->Imagen()},
                                     {u"ImagenBinary"_s, blobJson(p->ImagenBinary())},
                                     {u"respuestas"_s, answers}});
    }
    QJsonArray series;
    for (const auto& s : *e.Series()) {
        QJsonArray slotList;
        for (long i = 1; i <= s->PreguntasSerie()->Count(); ++i) {
            const auto& slot = s->PreguntasSerie()->Item(i);
            slotList.append(QJsonObject{{u"Key"_s, s->PreguntasSerie()->keyAt(i)},
                                        {u"IdPreguntaExamen"_s, slot->IdPreguntaExamen()},
                                        {u"Tipo"_s, slot->Tipo()},
                                        {u"Orden"_s, slot->Orden()}});
        }
        series.append(QJsonObject{
            {u"Key"_s, s->Key()}, {u"Numero"_s, s->Numero()}, {u"PreguntasSerie"_s, slotList}});
    }
    QJsonObject o{{u"IdExamen"_s, e.IdExamen()},
                  {u"Titulo"_s, e.Titulo()},
                  {u"RutaArchivoResultados"_s, e.RutaArchivoResultados()},
                  {u"ArchivoLogo"_s, e.ArchivoLogo()},
                  {u"TipoExamen"_s, e.TipoExamen()},
                  {u"ColorFondo"_s, e.ColorFondo()},
                  {u"ColorFuente"_s, e.ColorFuente()},
                  {u"MinutosLimite"_s, e.MinutosLimite()},
                  {u"PenalizarBlancas"_s, e.PenalizarBlancas()},
                  {u"TipoPenalizacion"_s, e.TipoPenalizacion()},
                  {u"UnaRespuestaSuficiente"_s, e.UnaRespuestaSuficiente()},
                  {u"LogoDerecha"_s, e.LogoDerecha()},
                  {u"SoloUnaRespuesta"_s, e.SoloUnaRespuesta()},
                  {u"MostrarNota"_s, e.MostrarNota()},
                  {u"MostrarFallos"_s, e.MostrarFallos()},
                  {u"GuardarArchivoResultados"_s, e.GuardarArchivoResultados()},
                  {u"AlumnoDefineArchivoResultados"_s, e.AlumnoDefineArchivoResultados()},
                  {u"NotaMaxima"_s, shortest(e.NotaMaxima())},
                  {u"Penalizacion"_s, shortest(e.Penalizacion())},
                  {u"ArchivoLogoBinary"_s, blobJson(e.ArchivoLogoBinary())},
                  {u"Preguntas"_s, questions},
                  {u"Series"_s, series}};
    for (int i = 1; i <= 5; ++i)
        o[u"DatoAlumno%1"_s.arg(i)] = e.DatoAlumno(i);
    return o;
}

QByteArray allBytes(int times = 1) {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    return all.repeated(times);
}

// An exam our writer would never make but the loader takes: a later version, every byte
// value in its texts, numbers with trailing letters and fractions, texts and pictures larger
// than the piece kxt info reads at a time, a slot of a missing question, bytes after the end.
QByteArray hostileExam() {
    ExamBytes b;
    b.field("400").text(" Ej 1 ").text(allBytes()).text("Nombre \"x\"").text("\\");
    b.text({}).text({}).text({});
    for (const char* f : {"2", "7", "16777215", "255abc", "32766.6", "2", "1", "1xyz", "0", "1"})
        b.field(f);
    b.text("C:\\ruta\\");
    for (const char* f : {"1", "333", "2", "5", "1"})
        b.field(f);
    b.text("logo.png").text(allBytes(1200)); // the logo blob: a length, then its bytes
    b.dec(3).dec(2);
    b.dec(300).text(allBytes()).text("123").text("Ab ").text(allBytes(2400)).dec(3);
    b.dec(3).dec(1).text(allBytes()).dec(1).dec(0).text("x").dec(2).dec(7).text({});
    b.dec(1).text("imagen\x80.png").text(allBytes(2800));
    b.question("cd");
    b.dec(300).text({}).text({}).text("\xe9").text({}).dec(1).dec(1).dec(1).text({}).dec(0);
    b.dec(3).dec(7).text("Ab").dec(1).dec(1).text("cd").dec(3).dec(2).text("nadie").dec(2).dec(2);
    b.dec(0).dec(2);
    return b.raw("basura al final").bytes();
}

} // namespace

TEST(KxtInfo, PrintsTheSameBytesAsTheJsonTreeOfTheLoadedExam) {
    ToolFiles files;
    const QString sample = files.path(u"muestra.kxt"_s);
    ASSERT_EQ(kxt(tools::runBuild, {example(u"muestra.json"_s), u"-o"_s, sample}).status, 0);
    const struct {
        const char* name;
        QString path;
    } exams[] = {
        {"sample", sample},
        {"hostile", files.write(u"hostil.kxt"_s, hostileExam())},
        {"nothing", files.write(u"nada.kxt"_s, ExamBytes().header().dec(0).dec(0).bytes())},
        {"no series",
         files.write(u"sin.kxt"_s, ExamBytes().header().dec(1).dec(0).question("x").bytes())},
    };
    for (const auto& e : exams) {
        SCOPED_TRACE(e.name);
        KipsaPrubex loaded;
        ASSERT_TRUE(loaded.Cargar(e.path)) << loaded.errorString().toStdString();
        const QByteArray want = QJsonDocument(examJson(loaded)).toJson(QJsonDocument::Indented);
        const CommandRun run = kxt(tools::runInfo, {e.path});
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        EXPECT_EQ(run.out.toUtf8(), want);
        // Through a device, as on stdout.
        QBuffer device;
        device.open(QIODevice::WriteOnly);
        QTextStream out(&device), err(stderr);
        EXPECT_EQ(tools::runInfo({e.path}, out, err), 0);
        out.flush();
        EXPECT_EQ(device.data(), want);
    }
}

TEST(KxtInfo, AnExamThatDoesNotLoadPrintsNothingButWhy) {
    ToolFiles files;
    // The duplicate comes last, after output could have begun.
    ExamBytes late = ExamBytes().header().dec(40).dec(0);
    for (int i = 1; i < 40; ++i)
        late.question("q" + QByteArray::number(i));
    const QString duplicate = files.write(u"doble.kxt"_s, late.question("Q1").bytes());
    KipsaPrubex loaded;
    ASSERT_FALSE(loaded.Cargar(duplicate));
    const QString pipe = files.path(u"tuberia.kxt"_s);
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    for (const QString& path : {duplicate, pipe, files.path(u"falta.kxt"_s)}) {
        const CommandRun run = kxt(tools::runInfo, {path});
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(run.out.isEmpty()) << run.out.left(200).toStdString();
        EXPECT_TRUE(run.err.startsWith(u"kxt: no se puede abrir el examen "_s + path + u"\nkxt: "_s));
    }
    EXPECT_TRUE(kxt(tools::runInfo, {duplicate}).err.endsWith(loaded.errorString() + u'\n'));
}
