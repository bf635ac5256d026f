#pragma once

#include "Kxt.h"
#include "TestExamBuilder.h"

#include "model/KipsaResult.h"

#include <QDir>
#include <QFileInfo>
#include <QList>
#include <memory>
#include <vector>

namespace kp::test {

// An exam written into a temporary folder and the results files of its students, for the
// class report's tests.
struct ReportClass : ToolFiles {
    std::shared_ptr<KipsaPrubex> exam;
    QString examPath;

    explicit ReportClass(std::shared_ptr<KipsaPrubex> e) : exam(std::move(e)) {
        exam->setArchivoSalida(path(QStringLiteral("examen.kxt")));
        examPath = exam->Export() ? exam->ArchivoSalida() : QString();
    }

    QString dir() const { return QTemporaryDir::path(); }
    static QByteArray bytes(const QString& file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // The results file `file` of a student of series `serie`: for each position in turn the
    // answers marked there (none: blank). The name goes into the first data field.
    QString student(const QString& file, const QString& name, qint16 serie,
                    const std::vector<QList<int>>& marks, const QString& idExamen = {}) const {
        KipsaResult r;
        r.setIdExamen(idExamen.isEmpty() ? exam->IdExamen() : idExamen);
        r.setSerie(serie);
        r.setDatoAlumno(1, name);
        for (size_t p = 0; p < marks.size(); ++p)
            for (const int answer : marks[p])
                r.RespuestasKipsa()->Marcar(static_cast<qint16>(p + 1),
                                            static_cast<qint16>(answer));
        const auto total = static_cast<qint16>(exam->Series()->Item(1)->PreguntasSerie()->Count());
        QDir().mkpath(QFileInfo(path(file)).absolutePath());
        return write(file, r.Contenido(*exam, total));
    }
};

// Five students and four questions (answer 1 right in each, NotaMaxima 4, no penalties, so
// the grade is the number right), worked out by hand:
//
//            q1  q2  q3  q4   right
//   Zoe      R   R   R   R    4      upper group (27 % of 5 is one student)
//   Bea      R   R   R   2    3
//   Carlos   R   R   2   -    2
//   álvaro   R   3   2   R    2
//   Eva      2   2   3   R    1      lower group
//
// Facility 4/5, 3/5, 2/5, 3/5. Discrimination (upper minus lower) 1, 1, 1, 0. The corrected
// point-biserial of q1 correlates x = (1,1,1,1,0) with the rest y = (3,2,1,1,1): Sxy = 0.6,
// Sxx = 0.8, Syy = 3.2, r = 0.6 / sqrt(0.8 * 3.2) = 0.375; likewise q2 0.6 / sqrt(1.2 * 2.8),
// q3 1 / sqrt(1.2 * 2), q4 -1.4 / sqrt(1.2 * 6.8). KR-20: sum pq = 0.16 + 3 * 0.24 = 0.88,
// variance of (4,3,2,2,1) = 5.2 / 5 = 1.04, alpha = 4/3 (1 - 0.88 / 1.04) = 0.205128...
// Grades: mean 2.4, median 2, sample s.d. sqrt(5.2 / 4), SEM s.d. * sqrt(1 - alpha); four
// of five reach 2. By name: álvaro, Bea, Carlos, Eva, Zoe; by grade: Zoe, Bea, álvaro,
// Carlos, Eva.
struct HandClass : ReportClass {
    HandClass() : ReportClass(TestExamBuilder::simple(4, 3).build()) {
        exam->setNotaMaxima(4);
        exam->setTipoPenalizacion(0);
        exam->Export();
        student(QStringLiteral("zoe.kxa"), QStringLiteral("Zoe"), 1, {{1}, {1}, {1}, {1}});
        student(QStringLiteral("bea.kxa"), QStringLiteral("Bea"), 1, {{1}, {1}, {1}, {2}});
        student(QStringLiteral("carlos.kxa"), QStringLiteral("Carlos"), 1, {{1}, {1}, {2}, {}});
        student(QStringLiteral("alvaro.kxa"), QStringLiteral("álvaro"), 1, {{1}, {3}, {2}, {1}});
        student(QStringLiteral("eva.kxa"), QStringLiteral("Eva"), 1, {{2}, {2}, {3}, {1}});
    }
};

} // namespace kp::test
