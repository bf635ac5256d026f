// kxt report on a large class: 10,000 results files of a 50-question exam (two series), timed
// as a whole and stage by stage: reading and grading the files, the statistics, the HTML.
#include "model/KipsaPrubex.h"
#include "model/KipsaResult.h"
#include "tools/ClassReader.h"
#include "tools/ClassReport.h"
#include "tools/ClassStatistics.h"
#include "tools/Commands.h"
#include "tools/ExamItems.h"
#include "tools/HtmlReport.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <memory>

namespace {

constexpr int kQuestions = 50;
constexpr int kStudents = 10'000;

// The exam and the class, written once for every benchmark.
struct LargeClass {
    QTemporaryDir dir;
    kp::KipsaPrubex exam;
    QString examPath;
    QString classDir;

    LargeClass() {
        exam.setIdExamen(QStringLiteral("BENCH-1"));
        exam.setTitulo(QStringLiteral("Examen de prueba de rendimiento"));
        exam.setTipoExamen(1);
        exam.setNotaMaxima(10);
        exam.setTipoPenalizacion(3);
        kp::Serie first, second;
        first.setNumero(1);
        first.setKey(QStringLiteral("serie1"));
        second.setNumero(2);
        second.setKey(QStringLiteral("serie2"));
        for (int i = 1; i <= kQuestions; ++i) {
            kp::Pregunta p;
            p.setId(QStringLiteral("id-%1").arg(i));
            p.setKey(QStringLiteral("preguntaid-%1").arg(i));
            p.setTextoPregunta(QStringLiteral("¿Cuál es la respuesta de la pregunta %1?").arg(i));
            for (int k = 1; k <= 4; ++k) {
                kp::Respuesta r;
                r.setNumero(static_cast<qint16>(k));
                r.setKey(QStringLiteral("respuesta%1").arg(k));
                r.setTexto(QStringLiteral("Respuesta %1").arg(k));
                r.setCorrecta(k == 2);
                p.respuestas()->Add(r);
            }
            exam.Preguntas()->Add(p);
            first.PreguntasSerie()->Add(p.Id(), static_cast<qint16>(i), 1, p.Key());
            second.PreguntasSerie()->Add(p.Id(), static_cast<qint16>(kQuestions + 1 - i), 1,
                                         p.Key());
        }
        exam.Series()->Add(first);
        exam.Series()->Add(second);
        exam.setArchivoSalida(dir.filePath(QStringLiteral("examen.kxt")));
        if (!exam.Export())
            std::abort();
        examPath = exam.ArchivoSalida();
        classDir = dir.filePath(QStringLiteral("clase"));
        QDir().mkpath(classDir);
        std::uint64_t seed = 12345;
        const auto draw = [&seed](int n) {
            seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
            return static_cast<int>((seed >> 33) % static_cast<std::uint64_t>(n));
        };
        for (int s = 0; s < kStudents; ++s) {
            kp::KipsaResult r;
            r.setIdExamen(exam.IdExamen());
            r.setSerie(static_cast<qint16>(1 + s % 2));
            r.setDatoAlumno(1, QStringLiteral("Alumno %1").arg(s));
            const int skill = draw(100);
            for (int q = 1; q <= kQuestions; ++q) {
                const int roll = draw(100);
                if (roll < skill)
                    r.RespuestasKipsa()->Marcar(static_cast<qint16>(q), 2);
                else if (roll < skill + 10)
                    continue; // blank
                else
                    r.RespuestasKipsa()->Marcar(static_cast<qint16>(q),
                                                static_cast<qint16>(1 + 2 * draw(2)));
            }
            r.setArchivoSalida(QDir(classDir).filePath(QStringLiteral("r%1.kxa").arg(s)));
            if (!r.Guardar(exam, kQuestions))
                std::abort();
        }
    }
};

LargeClass& large() {
    static LargeClass c;
    return c;
}

void BM_ReportWhole(benchmark::State& state) {
    LargeClass& c = large();
    const QString out = c.dir.filePath(QStringLiteral("informe.html"));
    for (auto _ : state) {
        QString ignored;
        QTextStream outStream(&ignored), errStream(&ignored);
        if (kp::tools::runReport({c.examPath, c.classDir, QStringLiteral("-o"), out}, outStream,
                                 errStream) != 0)
            state.SkipWithError("the report failed");
    }
    state.counters["archivos"] = kStudents;
}

void BM_ReadingAndGrading(benchmark::State& state) {
    LargeClass& c = large();
    for (auto _ : state) {
        kp::tools::ClassReader reader(c.exam, kQuestions);
        reader.addPaths({c.classDir});
        reader.read();
        benchmark::DoNotOptimize(reader.students().size());
    }
}

void BM_Statistics(benchmark::State& state) {
    LargeClass& c = large();
    kp::tools::ClassReader reader(c.exam, kQuestions);
    reader.addPaths({c.classDir});
    reader.read();
    const kp::tools::ExamItems items(c.exam, kQuestions);
    for (auto _ : state)
        benchmark::DoNotOptimize(kp::tools::computeFigures(c.exam, items, reader.students()));
}

void BM_Html(benchmark::State& state) {
    LargeClass& c = large();
    kp::tools::ClassReader reader(c.exam, kQuestions);
    reader.addPaths({c.classDir});
    reader.read();
    const kp::tools::ExamItems items(c.exam, kQuestions);
    const auto figures = kp::tools::computeFigures(c.exam, items, reader.students());
    const kp::tools::ClassReport report{c.exam, items, figures, reader.students(),
                                        reader.skipped()};
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        kp::tools::HtmlReport(report, kp::tools::StudentOrder::Both).write(buffer);
        state.counters["MB"] = static_cast<double>(buffer.size()) / 1e6;
    }
}

} // namespace

BENCHMARK(BM_ReportWhole)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadingAndGrading)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Statistics)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Html)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
