// Makes the big inputs of the benchmarks with our own writer, the same bytes on every run:
//
//   bench_inputs DIR
//
// DIR/texto.kxt       about 52 MB: 20,000 questions of 4 to 6 answers with long texts, every
//                     other question (and its answers) in RTF
// DIR/imagenes.kxt    about 200 MB: 100 questions with a picture of 2 MB each
// DIR/examen60.kxt    60 questions of 4 answers, series 1 and 2
// DIR/resultados/     10,000 results files of examen60.kxt
//
// A file already there is kept.
#include "format/Cp1252.h"
#include "model/KipsaPrubex.h"
#include "model/KipsaResult.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>

namespace {

using namespace Qt::StringLiterals;

// A fixed sequence of pseudo-random numbers (xorshift), so the inputs never change.
class Draws {
public:
    quint32 next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    int below(int n) { return static_cast<int>(next() % static_cast<quint32>(n)); }

private:
    quint32 state_ = 2463534242u;
};

const QStringList& words() {
    static const QStringList list = {
        u"el"_s,       u"examen"_s,    u"pregunta"_s, u"respuesta"_s, u"correcta"_s,  u"según"_s,
        u"análisis"_s, u"función"_s,   u"ecuación"_s, u"teoría"_s,    u"período"_s,   u"año"_s,
        u"niño"_s,     u"señal"_s,     u"camión"_s,   u"histórico"_s, u"geografía"_s, u"río"_s,
        u"montaña"_s,  u"química"_s,   u"energía"_s,  u"fórmula"_s,   u"órgano"_s,    u"célula"_s,
        u"número"_s,   u"triángulo"_s, u"área"_s,     u"volumen"_s,   u"de"_s,        u"la"_s,
        u"que"_s,      u"en"_s,        u"por"_s,      u"con"_s,       u"una"_s,       u"cuál"_s,
        u"cómo"_s,     u"dónde"_s,     u"también"_s,  u"además"_s,    u"€"_s,         u"«cita»"_s,
        u"—"_s,        u"¿por"_s,      u"qué?"_s,
    };
    return list;
}

QString sentence(Draws& draws, int length) {
    QString text;
    while (text.size() < length) {
        if (!text.isEmpty())
            text += u' ';
        text += words()[draws.below(static_cast<int>(words().size()))];
    }
    return text + u'.';
}

// The text as RTF the way the Windows control writes it: accents as \'xx, some bold and
// italic runs, a paragraph mark at the end.
QString asRtf(const QString& plain) {
    QString rtf =
        uR"({\rtf1\ansi\ansicpg1252\deff0\deflang3082{\fonttbl{\f0\fswiss\fcharset0 Arial;}})"
        uR"({\colortbl ;\red0\green0\blue128;}\viewkind4\uc1\pard\f0\fs20 )"_s;
    int word = 0;
    for (const QChar c : plain) {
        if (c == u' ' && ++word % 9 == 0)
            rtf += word % 2 ? uR"( \b )"_s : uR"( \i )"_s;
        else if (c == u' ' && word % 9 == 3)
            rtf += uR"(\b0\i0 )"_s;
        else if (c.unicode() < 0x80)
            rtf += c;
        else
            rtf += uR"(\'%1)"_s.arg(QString::fromLatin1(kp::Cp1252::encode(QString(c)).toHex()));
    }
    return rtf + uR"(\par
})"_s;
}

bool exists(const QString& path) {
    if (!QFileInfo::exists(path))
        return false;
    std::printf("kept %s\n", qPrintable(path));
    return true;
}

void exportExam(kp::KipsaPrubex& exam, const QString& path) {
    exam.setArchivoSalida(path);
    if (!exam.Export()) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(exam.errorString()));
        std::exit(1);
    }
    std::printf("wrote %s (%lld bytes)\n", qPrintable(path),
                static_cast<long long>(QFileInfo(path).size()));
}

void header(kp::KipsaPrubex& exam, const QString& id) {
    exam.setIdExamen(id);
    exam.setTitulo(u"Examen de rendimiento "_s + id);
    exam.setDatoAlumno(1, u"Nombre"_s);
    exam.setDatoAlumno(2, u"Grupo"_s);
    exam.setTipoExamen(1);
    exam.setNotaMaxima(10);
    exam.setTipoPenalizacion(3);
    exam.setPenalizarBlancas(2);
    exam.setColorFondo(16777215);
    exam.setMostrarNota(true);
}

// One series of every question, in order.
void oneSeries(kp::KipsaPrubex& exam, qint16 numero, bool reversed = false) {
    kp::Serie s;
    s.setNumero(numero);
    s.setKey(u"serie%1"_s.arg(numero));
    const long n = exam.Preguntas()->Count();
    for (long i = 1; i <= n; ++i) {
        const auto& p = exam.Preguntas()->Item(reversed ? n + 1 - i : i);
        s.PreguntasSerie()->Add(p->Id(), static_cast<qint16>(i), p->GetTipo(), p->Key());
    }
    exam.Series()->Add(s);
}

kp::Pregunta question(const QString& id, const QString& texto) {
    kp::Pregunta p;
    p.setId(id);
    p.setKey(u"pregunta"_s + id);
    p.setNombreAutor(u"Autora de la prueba"_s);
    p.setLicenciaAutor(u"123-456-7890"_s);
    p.setTextoPregunta(texto);
    return p;
}

void answer(kp::Pregunta& p, int numero, const QString& texto, bool correcta) {
    kp::Respuesta r;
    r.setNumero(static_cast<qint16>(numero));
    r.setKey(u"respuesta%1"_s.arg(numero));
    r.setTexto(texto);
    r.setCorrecta(correcta);
    p.respuestas()->Add(r);
}

// An exam of count questions in one series, question i made by make(i, draws) from one fixed
// sequence of draws. A file already at path is kept.
void oneSeriesExam(const QString& path, const QString& id, int count,
                   const std::function<kp::Pregunta(int, Draws&)>& make) {
    if (exists(path))
        return;
    Draws draws;
    kp::KipsaPrubex exam;
    header(exam, id);
    for (int i = 1; i <= count; ++i)
        exam.Preguntas()->Add(make(i, draws));
    oneSeries(exam, 1);
    exportExam(exam, path);
}

void textExam(const QString& path) {
    oneSeriesExam(path, u"texto"_s, 20000, [](int i, Draws& draws) {
        const bool rtf = i % 2 == 0;
        const auto text = [&](int length) {
            const QString plain = sentence(draws, length);
            return rtf ? asRtf(plain) : plain;
        };
        kp::Pregunta p = question(u"t%1"_s.arg(i), text(380 + draws.below(360)));
        const int answers = 4 + draws.below(3);
        for (int k = 1; k <= answers; ++k)
            answer(p, k, text(120 + draws.below(150)), k == 1 + i % answers);
        return p;
    });
}

void pictureExam(const QString& path) {
    oneSeriesExam(path, u"imagenes"_s, 100, [](int i, Draws& draws) {
        kp::Pregunta p = question(u"i%1"_s.arg(i), u"¿Qué muestra la imagen %1?"_s.arg(i));
        for (int k = 1; k <= 4; ++k)
            answer(p, k, sentence(draws, 40), k == 2);
        QByteArray picture(2 * 1000 * 1000, Qt::Uninitialized);
        for (qsizetype b = 0; b + 4 <= picture.size(); b += 4) {
            const quint32 v = draws.next();
            std::memcpy(picture.data() + b, &v, 4);
        }
        p.setImagen(u"imagen%1.png"_s.arg(i));
        p.setImagenBinary(picture);
        return p;
    });
}

void gradedExam(const QString& dir) {
    const QString examPath = dir + u"/examen60.kxt"_s;
    const QString resultsDir = dir + u"/resultados"_s;
    Draws draws;
    kp::KipsaPrubex exam;
    header(exam, u"examen60"_s);
    for (int i = 1; i <= 60; ++i) {
        kp::Pregunta p = question(u"q%1"_s.arg(i), sentence(draws, 80));
        for (int k = 1; k <= 4; ++k)
            answer(p, k, sentence(draws, 30), k == 1 + i % 4 || (i % 5 == 0 && k == 4));
        exam.Preguntas()->Add(p);
    }
    oneSeries(exam, 1);
    oneSeries(exam, 2, true);
    if (!exists(examPath))
        exportExam(exam, examPath);
    if (exists(resultsDir + u"/alumno10000.kxa"_s))
        return;
    QDir().mkpath(resultsDir);
    for (int n = 1; n <= 10000; ++n) {
        kp::KipsaResult result;
        result.setIdExamen(exam.IdExamen());
        result.setSerie(static_cast<qint16>(1 + n % 2));
        result.setDatoAlumno(1, u"Alumno número %1"_s.arg(n));
        result.setDatoAlumno(2, u"Grupo %1"_s.arg(1 + n % 7));
        for (int q = 1; q <= 60; ++q)
            for (int k = 1; k <= 4; ++k)
                if (draws.below(4) == 0)
                    result.RespuestasKipsa()->Marcar(static_cast<qint16>(q),
                                                     static_cast<qint16>(k));
        QFile file(resultsDir + u"/alumno%1.kxa"_s.arg(n, 5, 10, QChar(u'0')));
        if (!file.open(QIODevice::WriteOnly) || file.write(result.Contenido(exam, 60)) < 0) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(file.fileName()),
                         qPrintable(file.errorString()));
            std::exit(1);
        }
    }
    std::printf("wrote %s/ (10,000 results files)\n", qPrintable(resultsDir));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_inputs DIR\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(dir);
    textExam(dir + u"/texto.kxt"_s);
    pictureExam(dir + u"/imagenes.kxt"_s);
    gradedExam(dir);
    return 0;
}
