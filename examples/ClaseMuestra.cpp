// Makes the sample class: the results files of 60 students of the sample exam, with a
// plausible spread. Each student has an ability drawn from a normal distribution; each
// question a difficulty and a discrimination, and the chance of a right answer follows the
// logistic curve of the two (with a fifth left to guessing). Two questions behave on purpose:
// muestra-07 has two right answers and many students mark only one; in muestra-09 the strong
// students fall for "El Ebro", the longest river wholly in Spain.
//
//   clase_muestra EXAMEN.kxt CARPETA
//
// The draws come from a fixed seed, so the files change only when this program or the exam
// does. Files are written by the runner's own writer (KipsaResult::Guardar).

#include "model/Fields.h"
#include "model/KipsaPrubex.h"
#include "model/KipsaResult.h"
#include "model/KpError.h"

#include <QCoreApplication>
#include <QDir>
#include <QSet>
#include <QTextStream>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace {

using kp::KipsaPrubex;
using kp::KipsaResult;

// SplitMix64: small, fast and the same on every machine and compiler.
class Draws {
public:
    explicit Draws(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    double uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }
    double normal() { // Box-Muller
        const double u = 1 - uniform(), v = uniform();
        return std::sqrt(-2 * std::log(u)) * std::cos(2 * std::numbers::pi * v);
    }
    size_t below(size_t n) { return static_cast<size_t>(uniform() * static_cast<double>(n)); }

private:
    std::uint64_t state_;
};

double logistic(double x) {
    return 1 / (1 + std::exp(-x));
}

struct Model {
    double difficulty;
    double discrimination = 1.3;
};

// By question number (muestra-01 .. muestra-15).
const Model kModels[] = {{-2.8},     {-1.2},      {-3.0}, {-1.4}, {-0.2},
                         {0.4, 1.8}, {0.9},       {-0.4}, {0.0},  {0.1, 0.9},
                         {-2.4},     {-1.0, 1.7}, {-1.6}, {-1.9}, {0.9, 1.6}};

const char16_t* const kNombres[] = {
    u"Lucía",   u"Hugo",      u"Martina", u"Mateo",  u"Sofía", u"Leo",    u"Julia",   u"Daniel",
    u"Paula",   u"Alejandro", u"Valeria", u"Pablo",  u"Emma",  u"Manuel", u"Daniela", u"Álvaro",
    u"Carla",   u"Adrián",    u"Sara",    u"David",  u"Alba",  u"Mario",  u"Noa",     u"Diego",
    u"Claudia", u"Javier",    u"Irene",   u"Marcos", u"Elena", u"Iker"};
const char16_t* const kApellidos[] = {
    u"García",    u"Rodríguez", u"González", u"Fernández", u"López",     u"Martínez",
    u"Sánchez",   u"Pérez",     u"Gómez",    u"Martín",    u"Jiménez",   u"Ruiz",
    u"Hernández", u"Díaz",      u"Moreno",   u"Muñoz",     u"Álvarez",   u"Romero",
    u"Alonso",    u"Gutiérrez", u"Navarro",  u"Torres",    u"Domínguez", u"Vázquez",
    u"Ramos",     u"Gil",       u"Ramírez",  u"Serrano",   u"Blanco",    u"Molina"};

QString ascii(const QString& text) {
    QString out;
    for (const QChar c : text.normalized(QString::NormalizationForm_D))
        if (c.unicode() < 128 && c != u' ')
            out += c;
    return out;
}

// The answers one student marks on one question (numbers as the page shows them).
QList<int> answer(const QString& id, const kp::Pregunta& question, double ability, Draws& d) {
    const int number = id.right(2).toInt();
    const Model& m = kModels[std::clamp(number, 1, 15) - 1];
    QList<int> right, wrong;
    for (const auto& r : *question.respuestas())
        (r->Correcta() ? right : wrong) << r->Numero();
    if (number == 7) { // two right answers: 1 (el delfín) and 3 (el murciélago)
        if (d.uniform() < logistic(m.discrimination * (ability - m.difficulty)))
            return d.uniform() < 0.5 ? QList<int>{1, 3} : QList<int>{3, 1};
        const double u = d.uniform();
        return u < 0.55   ? QList<int>{1}
               : u < 0.75 ? QList<int>{1, 4}
               : u < 0.85 ? QList<int>{3}
                          : QList<int>{};
    }
    if (number == 9) { // the strong students choose El Ebro (1) over El Tajo (3)
        if (d.uniform() < logistic(-0.7 * ability - 0.1))
            return right;
        return d.uniform() < logistic(2 * ability)
                   ? QList<int>{1}
                   : QList<int>{
                         wrong[static_cast<qsizetype>(d.below(static_cast<size_t>(wrong.size())))]};
    }
    const double p = 0.2 + 0.8 * logistic(m.discrimination * (ability - m.difficulty));
    if (d.uniform() < p)
        return right;
    // Wrong answers cost a penalty, so a weak student often leaves the question blank.
    if (d.uniform() < 0.45 * logistic(-ability - 0.5))
        return {};
    return {wrong[static_cast<qsizetype>(d.below(static_cast<size_t>(wrong.size())))]};
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        err << "Uso: clase_muestra EXAMEN.kxt CARPETA\n";
        return 2;
    }
    KipsaPrubex exam;
    if (!exam.Cargar(args[1])) {
        err << "clase_muestra: no se puede abrir " << args[1] << ": " << exam.errorString() << '\n';
        return 1;
    }
    QDir().mkpath(args[2]);
    const qint16 total = exam.PreguntasPrimeraSerie();
    Draws d(20260305);
    QSet<QString> taken;
    for (int i = 0; taken.size() < 60; ++i) {
        const QString nombre = QString::fromUtf16(kNombres[(i * 7 + i / 30) % 30]);
        const QString apellido = QString::fromUtf16(kApellidos[(i * 11 + i / 13) % 30]);
        if (taken.contains(nombre + apellido))
            continue;
        taken.insert(nombre + apellido);
        const double ability = d.normal();
        const qint16 serieElegida = d.uniform() < 0.5 ? 1 : 2;
        const auto serie = exam.Series()->Item(static_cast<long>(serieElegida));
        KipsaResult r;
        r.setIdExamen(exam.IdExamen());
        r.setSerie(serie->Numero());
        r.setDatoAlumno(1, nombre + u' ' + apellido);
        r.setDatoAlumno(2, i % 2 ? QStringLiteral("2ºB") : QStringLiteral("2ºA"));
        for (const auto& slot : *serie->PreguntasSerie()) {
            const auto question =
                exam.Preguntas()->Item(kp::ClavePregunta(slot->IdPreguntaExamen()));
            for (const int a : answer(slot->IdPreguntaExamen(), *question, ability, d))
                r.RespuestasKipsa()->Marcar(slot->Orden(), static_cast<qint16>(a));
        }
        r.setArchivoSalida(QDir(args[2]).filePath(
            QStringLiteral("resultado_%1_%2.kxa").arg(ascii(nombre), ascii(apellido))));
        if (!r.Guardar(exam, total)) {
            err << "clase_muestra: no se puede escribir " << r.ArchivoSalida() << '\n';
            return 1;
        }
    }
    return 0;
}
