#include "tools/JsonExamBuilder.h"

#include "format/ByteCursor.h"
#include "model/Fields.h"
#include "model/KipsaPrubex.h"
#include "model/KpError.h"
#include "tools/BuildError.h"
#include "tools/JsonSource.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <functional>

namespace kp::tools {
namespace {

constexpr qint64 kMax16 = 32767;
constexpr qint64 kMaxColour = 0xFFFFFF;
// The largest grade whose thousandths still fit the file's 32-bit field.
constexpr double kMaxGrade = 2147483.0;
// Largest build source read: descriptions are small; pictures are separate files.
constexpr qint64 kMaxSourceSize = 64 << 20;
// A picture of an exam is a logo or an illustration: far below this.
constexpr qint64 kMaxPictureSize = 64 << 20;

// The exam's settings that the description may give, with their readers.
struct Setting {
    const char16_t* name;
    std::function<void(const JsonSource&, KipsaPrubex&)> read;
};

template <typename Setter> Setting text(const char16_t* name, Setter set) {
    return {name, [set](const JsonSource& v, KipsaPrubex& e) { (e.*set)(v.string()); }};
}
template <typename Setter> Setting flag(const char16_t* name, Setter set) {
    return {name, [set](const JsonSource& v, KipsaPrubex& e) { (e.*set)(v.boolean()); }};
}
template <typename Setter, typename T = qint16>
Setting whole(const char16_t* name, Setter set, qint64 min, qint64 max) {
    return {name, [=](const JsonSource& v, KipsaPrubex& e) {
                (e.*set)(static_cast<T>(v.integer(min, max)));
            }};
}
template <typename Setter> Setting grade(const char16_t* name, Setter set) {
    return {name, [set](const JsonSource& v, KipsaPrubex& e) {
                (e.*set)(static_cast<float>(v.number(0, kMaxGrade)));
            }};
}

const std::vector<Setting>& settings() {
    using E = KipsaPrubex;
    static const std::vector<Setting> all = {
        text(u"IdExamen", &E::setIdExamen),
        text(u"Titulo", &E::setTitulo),
        {u"DatoAlumno1", [](const JsonSource& v, E& e) { e.setDatoAlumno(1, v.string()); }},
        {u"DatoAlumno2", [](const JsonSource& v, E& e) { e.setDatoAlumno(2, v.string()); }},
        {u"DatoAlumno3", [](const JsonSource& v, E& e) { e.setDatoAlumno(3, v.string()); }},
        {u"DatoAlumno4", [](const JsonSource& v, E& e) { e.setDatoAlumno(4, v.string()); }},
        {u"DatoAlumno5", [](const JsonSource& v, E& e) { e.setDatoAlumno(5, v.string()); }},
        whole(u"TipoExamen", &E::setTipoExamen, 1, 2),
        flag(u"LogoDerecha", &E::setLogoDerecha),
        whole<decltype(&E::setColorFondo), qint32>(u"ColorFondo", &E::setColorFondo, 0, kMaxColour),
        whole<decltype(&E::setColorFuente), qint32>(u"ColorFuente", &E::setColorFuente, 0,
                                                    kMaxColour),
        whole(u"MinutosLimite", &E::setMinutosLimite, 0, kMax16),
        flag(u"SoloUnaRespuesta", &E::setSoloUnaRespuesta),
        flag(u"MostrarNota", &E::setMostrarNota),
        flag(u"MostrarFallos", &E::setMostrarFallos),
        flag(u"GuardarArchivoResultados", &E::setGuardarArchivoResultados),
        flag(u"AlumnoDefineArchivoResultados", &E::setAlumnoDefineArchivoResultados),
        text(u"RutaArchivoResultados", &E::setRutaArchivoResultados),
        grade(u"NotaMaxima", &E::setNotaMaxima),
        grade(u"Penalizacion", &E::setPenalizacion),
        whole(u"PenalizarBlancas", &E::setPenalizarBlancas, 0, kMax16),
        whole(u"TipoPenalizacion", &E::setTipoPenalizacion, 0, kMax16),
        whole(u"UnaRespuestaSuficiente", &E::setUnaRespuestaSuficiente, 0, kMax16),
    };
    return all;
}

} // namespace

JsonExamBuilder::JsonExamBuilder(const Clock& clock, RandomSource& random)
    : clock_(clock), random_(random), readPictureFile_([](const QString& path) {
          return ByteCursor::readFile(path, kMaxPictureSize);
      }) {}

void JsonExamBuilder::build(const QString& jsonPath, KipsaPrubex& exam) {
    QByteArray bytes;
    try {
        bytes = ByteCursor::readFile(jsonPath, kMaxSourceSize);
    } catch (const KpError& e) {
        throw BuildError(e.message());
    }
    build(bytes, jsonPath, QFileInfo(jsonPath).absoluteDir(), exam);
}

void JsonExamBuilder::build(const QByteArray& json, const QString& name, const QDir& base,
                            KipsaPrubex& exam) {
    if (json.size() > kMaxSourceSize)
        throw BuildError(QStringLiteral("%1 pasa de %2 bytes").arg(name).arg(kMaxSourceSize));
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        throw BuildError(QStringLiteral("%1: JSON no válido en el byte %2: %3")
                             .arg(name)
                             .arg(parseError.offset)
                             .arg(parseError.errorString()));
    base_ = base;
    keyPaths_.clear();

    const JsonSource root(doc.object(), QString());
    if (!doc.isObject())
        throw BuildError(QStringLiteral("%1: se esperaba un objeto").arg(name));
    QStringList allowed = {QStringLiteral("ArchivoLogo"), QStringLiteral("Preguntas"),
                           QStringLiteral("Series"), QStringLiteral("shuffle")};
    for (const Setting& s : settings())
        allowed << QString::fromUtf16(s.name);
    root.requireObject(allowed);

    readSettings(root, exam);
    readQuestions(root.member(QStringLiteral("Preguntas")), exam);
    if (root.has(QStringLiteral("shuffle")) && root.member(QStringLiteral("shuffle")).boolean())
        for (const auto& p : *exam.Preguntas())
            p->enredaRespuestas(random_);
    const JsonSource series = root.member(QStringLiteral("Series"));
    if (series.isMissing())
        addWholeExamSeries(exam);
    else
        readSeries(series, exam);
}

void JsonExamBuilder::readSettings(const JsonSource& root, KipsaPrubex& exam) const {
    // Defaults for what the description leaves out: a multiple-choice exam graded out of 10,
    // black text on white, no penalties, no time limit.
    exam.setTipoExamen(1);
    exam.setNotaMaxima(10);
    exam.setColorFondo(kMaxColour);
    exam.setPenalizarBlancas(2);
    for (const Setting& s : settings()) {
        const JsonSource v = root.member(QString::fromUtf16(s.name));
        if (!v.isMissing())
            s.read(v, exam);
    }
    if (exam.TipoExamen() == 2)
        exam.setSoloUnaRespuesta(true);
    // A blank logo name means no logo, as in the exam file.
    const JsonSource logo = root.member(QStringLiteral("ArchivoLogo"));
    if (!logo.isMissing() && !TrimBlanks(logo.string()).isEmpty()) {
        QString path;
        readPicture(logo, path);
        // Export reads the logo again from the path the member holds.
        exam.setArchivoLogo(path);
    }
}

QByteArray JsonExamBuilder::readPicture(const JsonSource& at, QString& absolutePath) const {
    const QString name = at.string();
    if (TrimBlanks(name).isEmpty())
        at.fail(QStringLiteral("se esperaba un nombre de archivo"));
    absolutePath = QDir::cleanPath(base_.absoluteFilePath(name));
    try {
        return readPictureFile_(absolutePath);
    } catch (const KpError& e) {
        at.fail(QStringLiteral("no se puede leer la imagen: ") + e.message());
    }
}

void JsonExamBuilder::readQuestions(const JsonSource& list, KipsaPrubex& exam) {
    if (list.isMissing())
        return;
    const qsizetype count = list.arraySize();
    if (count > kMax16)
        list.fail(QStringLiteral("como mucho %1 preguntas").arg(kMax16));
    for (qsizetype i = 0; i < count; ++i) {
        const JsonSource q = list.at(i);
        q.requireObject({QStringLiteral("Id"), QStringLiteral("NombreAutor"),
                         QStringLiteral("LicenciaAutor"), QStringLiteral("TextoPregunta"),
                         QStringLiteral("Imagen"), QStringLiteral("respuestas")});
        Pregunta p;
        if (q.has(QStringLiteral("NombreAutor")))
            p.setNombreAutor(q.member(QStringLiteral("NombreAutor")).string());
        if (q.has(QStringLiteral("LicenciaAutor")))
            p.setLicenciaAutor(q.member(QStringLiteral("LicenciaAutor")).string());
        const JsonSource texto = q.member(QStringLiteral("TextoPregunta"));
        if (texto.isMissing())
            texto.fail(QStringLiteral("falta"));
        p.setTextoPregunta(texto.string());

        const JsonSource id = q.member(QStringLiteral("Id"));
        if (!id.isMissing()) {
            p.setId(id.string());
            if (TrimBlanks(p.Id()).isEmpty())
                id.fail(QStringLiteral("no puede estar en blanco"));
        } else {
            // Identifiers made within one second differ only by their random digits: draw
            // again on a clash.
            for (int tries = 0;
                 tries < 1000 &&
                 (p.Id().isEmpty() || keyPaths_.contains(ClavePregunta(p.Id()).toCaseFolded()));
                 ++tries)
                p.setId(p.getNewID(clock_, random_));
        }
        const QString folded = ClavePregunta(p.Id()).toCaseFolded();
        if (keyPaths_.contains(folded))
            id.fail(QStringLiteral("el mismo identificador que %1").arg(keyPaths_.value(folded)));
        keyPaths_.insert(folded, q.path());
        p.setKey(ClavePregunta(p.Id()));

        const JsonSource imagen = q.member(QStringLiteral("Imagen"));
        if (!imagen.isMissing()) {
            QString path;
            p.setImagenBinary(readPicture(imagen, path));
            p.setImagen(DameNombreArchivo(path));
        }

        const JsonSource answers = q.member(QStringLiteral("respuestas"));
        const qsizetype n = answers.isMissing() ? 0 : answers.arraySize();
        if (n > kMax16)
            answers.fail(QStringLiteral("como mucho %1 respuestas").arg(kMax16));
        for (qsizetype k = 0; k < n; ++k) {
            const JsonSource a = answers.at(k);
            a.requireObject({QStringLiteral("Texto"), QStringLiteral("Correcta")});
            const JsonSource answerText = a.member(QStringLiteral("Texto"));
            if (answerText.isMissing())
                answerText.fail(QStringLiteral("falta"));
            Respuesta r;
            r.setTexto(answerText.string());
            const JsonSource right = a.member(QStringLiteral("Correcta"));
            r.setCorrecta(!right.isMissing() && right.boolean());
            r.setNumero(static_cast<qint16>(k + 1));
            r.setKey(QStringLiteral("respuesta%1").arg(k + 1));
            p.respuestas()->Add(r);
        }
        exam.Preguntas()->Add(p);
    }
}

void JsonExamBuilder::readSeries(const JsonSource& list, KipsaPrubex& exam) const {
    const qsizetype count = list.arraySize();
    if (count == 0)
        list.fail(QStringLiteral("un examen necesita al menos una serie"));
    if (count > kMax16)
        list.fail(QStringLiteral("como mucho %1 series").arg(kMax16));
    for (qsizetype i = 0; i < count; ++i) {
        const JsonSource entry = list.at(i);
        entry.requireObject(
            {QStringLiteral("Numero"), QStringLiteral("Preguntas"), QStringLiteral("Reglas")});
        Serie s;
        const JsonSource numero = entry.member(QStringLiteral("Numero"));
        s.setNumero(static_cast<qint16>(numero.isMissing() ? i + 1 : numero.integer(0, kMax16)));
        s.setKey(QStringLiteral("serie%1").arg(s.Numero()));
        if (exam.Series()->contains(s.Key()))
            numero.fail(QStringLiteral("otra serie tiene el número %1").arg(s.Numero()));
        s.setCreadaManualmente(true);
        const JsonSource ids = entry.member(QStringLiteral("Preguntas"));
        const JsonSource rules = entry.member(QStringLiteral("Reglas"));
        if (!ids.isMissing() && !rules.isMissing())
            entry.fail(QStringLiteral("indique Preguntas o Reglas, no ambos"));
        if (!rules.isMissing())
            addRuleSeries(rules, s, exam);
        else if (!ids.isMissing())
            addListedSeries(ids, s, exam);
        else
            entry.fail(
                QStringLiteral("se esperaba Preguntas (una lista de identificadores de pregunta)"));
        exam.Series()->Add(s);
    }
}

void JsonExamBuilder::addListedSeries(const JsonSource& ids, Serie& serie,
                                      const KipsaPrubex& exam) const {
    const qsizetype n = ids.arraySize();
    if (n > kMax16)
        ids.fail(QStringLiteral("como mucho %1 preguntas").arg(kMax16));
    for (qsizetype k = 0; k < n; ++k) {
        const JsonSource ref = ids.at(k);
        const auto question = exam.Preguntas()->find(ClavePregunta(ref.string()));
        if (!question)
            ref.fail(
                QStringLiteral("ninguna pregunta tiene el identificador \"%1\"").arg(ref.string()));
        if (serie.PreguntasSerie()->contains(question->Key()))
            ref.fail(QStringLiteral("la pregunta ya está en esta serie"));
        serie.PreguntasSerie()->Add(question->Id(), static_cast<qint16>(k + 1), question->GetTipo(),
                                    question->Key());
    }
}

// addRuleSeries, series made from topics and rules, lives in BuildRules.cpp.

void JsonExamBuilder::addWholeExamSeries(KipsaPrubex& exam) const {
    Serie s;
    s.setNumero(1);
    s.setKey(QStringLiteral("serie1"));
    s.setCreadaManualmente(true);
    qint16 orden = 1;
    for (const auto& p : *exam.Preguntas())
        s.PreguntasSerie()->Add(p->Id(), orden++, p->GetTipo(), p->Key());
    exam.Series()->Add(s);
}

} // namespace kp::tools
