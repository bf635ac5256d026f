// Loading exam files: one of many small questions and one of large images. Reports MB/s.
#include "model/KipsaPrubex.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdlib>

namespace {

// Writes an exam of `questions` questions of four answers, each with an image of imageSize
// bytes when imageSize > 0, and one series of all of them; returns its path.
QString makeExam(const QTemporaryDir& dir, const QString& name, int questions,
                 qsizetype imageSize) {
    kp::KipsaPrubex e;
    e.setTitulo(QStringLiteral("Examen de prueba de rendimiento"));
    e.setTipoExamen(1);
    e.setNotaMaxima(10);
    const QByteArray image(imageSize, '\x5a');
    kp::Serie s;
    s.setNumero(1);
    s.setKey(QStringLiteral("serie1"));
    for (int i = 1; i <= questions; ++i) {
        kp::Pregunta p;
        p.setId(QStringLiteral("id-%1").arg(i));
        p.setKey(QStringLiteral("preguntaid-%1").arg(i));
        p.setNombreAutor(QStringLiteral("Autora de la pregunta"));
        p.setTextoPregunta(QStringLiteral("¿Cuál de las siguientes respuestas es la correcta en "
                                          "la pregunta número %1?")
                               .arg(i));
        for (int k = 1; k <= 4; ++k) {
            kp::Respuesta r;
            r.setNumero(static_cast<qint16>(k));
            r.setKey(QStringLiteral("respuesta%1").arg(k));
            r.setTexto(QStringLiteral("Respuesta posible número %1 de la pregunta").arg(k));
            r.setCorrecta(k == 2);
            p.respuestas()->Add(r);
        }
        if (imageSize > 0) {
            p.setImagen(QStringLiteral("imagen%1.png").arg(i));
            p.setImagenBinary(image);
        }
        e.Preguntas()->Add(p);
        s.PreguntasSerie()->Add(p.Id(), static_cast<qint16>(i), 1, p.Key());
    }
    e.Series()->Add(s);
    e.setArchivoSalida(dir.filePath(name));
    if (!e.Export())
        std::abort();
    return e.ArchivoSalida();
}

void loadExam(benchmark::State& state, const QString& path) {
    const qint64 size = QFileInfo(path).size();
    for (auto _ : state) {
        kp::KipsaPrubex e;
        if (!e.Cargar(path))
            state.SkipWithError("the exam did not load");
        benchmark::DoNotOptimize(e.Preguntas()->Count());
    }
    state.SetBytesProcessed(state.iterations() * size);
    state.counters["file_MB"] = static_cast<double>(size) / 1e6;
}

QTemporaryDir& tempDir() {
    static QTemporaryDir dir;
    return dir;
}

void BM_Load20000Questions(benchmark::State& state) {
    static const QString path = makeExam(tempDir(), QStringLiteral("preguntas.kxt"), 20000, 0);
    loadExam(state, path);
}
BENCHMARK(BM_Load20000Questions)->Unit(benchmark::kMillisecond);

void BM_Load200MBOfImages(benchmark::State& state) {
    // 100 questions with a 2 MB image each.
    static const QString path =
        makeExam(tempDir(), QStringLiteral("imagenes.kxt"), 100, 2 * 1000 * 1000);
    loadExam(state, path);
}
BENCHMARK(BM_Load200MBOfImages)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
