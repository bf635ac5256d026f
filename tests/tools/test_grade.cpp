#include "../results/TestExams.h"
#include "tools/Commands.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kp;
using namespace kp::test;

namespace {

struct Output {
    int status;
    QString out;
    QString err;
};

Output grade(const QStringList& args) {
    Output o{};
    QTextStream out(&o.out);
    QTextStream err(&o.err);
    o.status = tools::runGrade(args, out, err);
    out.flush();
    err.flush();
    return o;
}

// An exam of four multiple-choice questions (answer 2 right) in two series, written to disk,
// and the results files of a class: two good ones and three that cannot be graded.
class GradeFiles {
public:
    GradeFiles() {
        exam.setIdExamen(QStringLiteral("EXA-7"));
        exam.setTitulo(QStringLiteral("Examen de prueba"));
        exam.setTipoExamen(1);
        exam.setNotaMaxima(10);
        exam.setTipoPenalizacion(3);
        exam.setPenalizarBlancas(1);
        exam.setDatoAlumno(1, QStringLiteral("Nombre"));
        exam.setDatoAlumno(2, QStringLiteral("Grupo"));
        const QStringList ids{QStringLiteral("q1"), QStringLiteral("q2"), QStringLiteral("q3"),
                              QStringLiteral("q4")};
        for (const QString& id : ids)
            addQuestion(exam, id, 3, {2});
        addSeries(exam, 1, ids);
        addSeries(exam, 5, {ids[3], ids[2], ids[1], ids[0]});
        exam.setArchivoSalida(path(QStringLiteral("examen.kxt")));
        EXPECT_TRUE(exam.Export()) << exam.errorString().toStdString();

        // Worked example: two right, one wrong, one blank -> 2,5.
        KipsaResult ana = student(QStringLiteral("Ana"), 1);
        mark(ana, 1, {2});
        mark(ana, 2, {2});
        mark(ana, 3, {1});
        save(ana, QStringLiteral("ana.kxa"));
        // Series 5 is the exam's second series; all right -> 10.
        KipsaResult luis = student(QStringLiteral("Luis; \"el alto\""), 5);
        for (qint16 i = 1; i <= 4; ++i)
            mark(luis, i, {2});
        save(luis, QStringLiteral("luis.kxa"));

        QFile cut(path(QStringLiteral("ana.kxa")));
        EXPECT_TRUE(cut.open(QIODevice::ReadOnly));
        write(QStringLiteral("rota.kxa"), cut.readAll().chopped(3));

        KipsaResult other = student(QStringLiteral("Eva"), 1);
        other.setIdExamen(QStringLiteral("OTRO"));
        save(other, QStringLiteral("otro.kxa"));
        save(student(QStringLiteral("Pio"), 9), QStringLiteral("serie9.kxa"));
    }

    QString path(const QString& name) const { return dir_.filePath(name); }

    KipsaPrubex exam;

private:
    KipsaResult student(const QString& name, qint16 serie) const {
        KipsaResult r;
        r.setIdExamen(exam.IdExamen());
        r.setSerie(serie);
        r.setDatoAlumno(1, name);
        r.setDatoAlumno(2, QStringLiteral("2ºA"));
        return r;
    }
    void save(KipsaResult r, const QString& name) {
        r.setArchivoSalida(path(name));
        EXPECT_TRUE(r.Guardar(exam, 4));
    }
    void write(const QString& name, const QByteArray& bytes) {
        QFile f(path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QTemporaryDir dir_;
};

} // namespace

TEST(KxtGrade, TableAlignsOneRowPerFileAndReportsFailures) {
    GradeFiles f;
    const QString ana = f.path(QStringLiteral("ana.kxa"));
    const QString rota = f.path(QStringLiteral("rota.kxa"));
    const Output o = grade({f.path(QStringLiteral("examen.kxt")), ana, rota});
    EXPECT_EQ(o.status, 1);
    const QStringList lines = o.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << o.out.toStdString();
    const QString pad(rota.size() - ana.size(), u' ');
    EXPECT_EQ(lines[0], QStringLiteral("Archivo") + QString(rota.size() - 7, u' ') +
                            QStringLiteral("  Nombre  Grupo  Serie  Nota  Acertadas  Falladas  "
                                           "Blancas"));
    EXPECT_EQ(lines[1], ana + pad +
                            QString::fromUtf16(u"  Ana     2ºA        1   2,5          2         "
                                               u"1        1"));
    EXPECT_TRUE(lines[2].startsWith(rota + QStringLiteral("  error: archivo dañado: ")))
        << lines[2].toStdString();
    EXPECT_TRUE(o.err.contains(rota)) << o.err.toStdString();
}

TEST(KxtGrade, CsvUsesSemicolonsHeaderAndDecimalComma) {
    GradeFiles f;
    const QString ana = f.path(QStringLiteral("ana.kxa"));
    const QString luis = f.path(QStringLiteral("luis.kxa"));
    const QString otro = f.path(QStringLiteral("otro.kxa"));
    const Output o =
        grade({f.path(QStringLiteral("examen.kxt")), ana, QStringLiteral("--csv"), luis, otro});
    EXPECT_EQ(o.status, 1);
    const QStringList lines = o.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4) << o.out.toStdString();
    EXPECT_EQ(lines[0], u"archivo;IdExamen;Serie;DatoAlumno1;DatoAlumno2;DatoAlumno3;"
                        u"DatoAlumno4;DatoAlumno5;Nota;Acertadas;Falladas;Blancas;error");
    EXPECT_EQ(lines[1], ana + QString::fromUtf16(u";EXA-7;1;Ana;2ºA;;;;2,5;2;1;1;"));
    EXPECT_EQ(lines[2],
              luis + QString::fromUtf16(u";EXA-7;5;\"Luis; \"\"el alto\"\"\";2ºA;;;;10;4;0;0;"));
    EXPECT_EQ(lines[3], otro + QString::fromUtf16(u";OTRO;1;Eva;2ºA;;;;;;;;\"es del examen "
                                                  u"\"\"OTRO\"\", no de \"\"EXA-7\"\"\""))
        << lines[3].toStdString();
}

TEST(KxtGrade, JsonCarriesNumbersTextsAndErrors) {
    GradeFiles f;
    const QStringList names{QStringLiteral("ana.kxa"), QStringLiteral("luis.kxa"),
                            QStringLiteral("serie9.kxa"), QStringLiteral("rota.kxa"),
                            QStringLiteral("falta.kxa")};
    QStringList args{f.path(QStringLiteral("examen.kxt")), QStringLiteral("--json")};
    for (const QString& n : names)
        args << f.path(n);
    const Output o = grade(args);
    EXPECT_EQ(o.status, 1);
    QJsonParseError parseError{};
    const QJsonArray rows = QJsonDocument::fromJson(o.out.toUtf8(), &parseError).array();
    ASSERT_EQ(parseError.error, QJsonParseError::NoError) << o.out.toStdString();
    ASSERT_EQ(rows.size(), names.size());

    const QJsonObject ana = rows[0].toObject();
    EXPECT_EQ(ana[u"archivo"].toString(), f.path(names[0]));
    EXPECT_EQ(ana[u"IdExamen"].toString(), u"EXA-7");
    EXPECT_EQ(ana[u"Serie"].toInt(), 1);
    EXPECT_EQ(ana[u"DatoAlumno1"].toString(), u"Ana");
    EXPECT_EQ(ana[u"DatoAlumno2"].toString(), QString::fromUtf16(u"2ºA"));
    EXPECT_EQ(ana[u"DatoAlumno5"].toString(), u"");
    EXPECT_TRUE(ana[u"Nota"].isDouble());
    EXPECT_EQ(ana[u"Nota"].toDouble(), 2.5);
    EXPECT_EQ(ana[u"NotaTexto"].toString(), u"2,5");
    EXPECT_EQ(ana[u"Acertadas"].toInt(), 2);
    EXPECT_EQ(ana[u"Falladas"].toInt(), 1);
    EXPECT_EQ(ana[u"Blancas"].toInt(), 1);
    EXPECT_FALSE(ana.contains(u"error"));

    EXPECT_EQ(rows[1].toObject()[u"Nota"].toDouble(), 10.0);
    EXPECT_EQ(rows[1].toObject()[u"Serie"].toInt(), 5);
    const struct {
        int row;
        const char16_t* says;
    } failures[] = {{2, u"no tiene la serie 9"}, {3, u"archivo dañado"}, {4, u"no existe"}};
    for (const auto& c : failures) {
        const QJsonObject r = rows[c.row].toObject();
        EXPECT_TRUE(r[u"error"].toString().contains(QString::fromUtf16(c.says)))
            << r[u"error"].toString().toStdString();
        EXPECT_FALSE(r.contains(u"Nota"));
    }
}

TEST(KxtGrade, ExitStatusAndArguments) {
    GradeFiles f;
    const QString exam = f.path(QStringLiteral("examen.kxt"));
    const struct {
        const char* fault;
        QStringList args;
        int status;
    } cases[] = {
        {"every file graded",
         {exam, f.path(QStringLiteral("ana.kxa")), f.path(QStringLiteral("luis.kxa"))},
         0},
        {"no results file", {exam}, 2},
        {"unknown option", {exam, f.path(QStringLiteral("ana.kxa")), QStringLiteral("--xml")}, 2},
        {"exam that cannot be opened",
         {f.path(QStringLiteral("ana.kxa")), f.path(QStringLiteral("ana.kxa"))},
         1},
    };
    for (const auto& c : cases) {
        const Output o = grade(c.args);
        EXPECT_EQ(o.status, c.status) << c.fault << "\n" << o.err.toStdString();
    }
}
