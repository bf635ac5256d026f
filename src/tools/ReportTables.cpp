#include "tools/ReportTables.h"

#include "model/Fields.h"
#include "model/KipsaPrubex.h"
#include "tools/JsonWriter.h"
#include "tools/ReportNumbers.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QTextStream>

namespace kp::tools {

namespace {

QString csvNumber(const std::optional<double>& value) {
    return value ? numbers::decimal(*value, ReportTables::kCsvDecimals) : QString();
}

QString csvLine(const QStringList& fields) {
    QStringList escaped;
    for (const QString& f : fields)
        escaped << csvField(f);
    return escaped.join(u';') + u'\n';
}

QJsonValue jsonNumber(const std::optional<double>& value) {
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

QString avisosText(const ItemFigures& f) {
    QStringList texts;
    for (const auto& a : f.avisos)
        texts << a.texto;
    return texts.join(u' ');
}

QByteArray gradeCsv(const ClassReport& r) {
    std::vector<GradeRow> rows;
    for (const size_t s : r.studentsBy(StudentOrder::Name))
        rows.push_back(r.students[s].row);
    rows.insert(rows.end(), r.skipped.begin(), r.skipped.end());
    QString text;
    QTextStream out(&text);
    GradeReport report(r.exam, GradeFormat::Csv, out, static_cast<qsizetype>(rows.size()));
    for (const GradeRow& row : rows)
        report.add(row);
    report.finish();
    out.flush();
    return text.toUtf8();
}

QJsonObject gradeJson(const GradeRow& row) {
    QJsonObject o{{QStringLiteral("archivo"), row.archivo},
                  {QStringLiteral("IdExamen"), row.idExamen},
                  {QStringLiteral("Serie"), row.serie}};
    for (int i = 0; i < 5; ++i)
        o[QStringLiteral("DatoAlumno%1").arg(i + 1)] = row.datos[static_cast<size_t>(i)];
    if (row.graded) {
        o[QStringLiteral("Nota")] = shortestFloat(row.nota);
        o[QStringLiteral("NotaTexto")] = row.notaTexto;
        o[QStringLiteral("Acertadas")] = row.acertadas;
        o[QStringLiteral("Falladas")] = row.falladas;
        o[QStringLiteral("Blancas")] = row.blancas;
    } else {
        o[QStringLiteral("error")] = row.error;
    }
    return o;
}

} // namespace

const QStringList& ReportTables::csvFileNames() {
    static const QStringList names = {
        QStringLiteral("resumen.csv"), QStringLiteral("histograma.csv"),
        QStringLiteral("preguntas.csv"), QStringLiteral("respuestas.csv"),
        QStringLiteral("alumnos.csv")};
    return names;
}

QByteArray ReportTables::csvFile(const ClassReport& r, const QString& name) {
    if (name == u"alumnos.csv")
        return gradeCsv(r);
    QString out;
    if (name == u"resumen.csv") {
        out += csvLine({QStringLiteral("grupo"), QStringLiteral("Serie"),
                        QStringLiteral("Resultados"), QStringLiteral("Media"),
                        QStringLiteral("Mediana"), QStringLiteral("DesviacionTipica"),
                        QStringLiteral("NotaMinima"), QStringLiteral("NotaMaxima"),
                        QStringLiteral("PrimerCuartil"), QStringLiteral("TercerCuartil"),
                        QStringLiteral("Aprobados"), QStringLiteral("TasaAprobados"),
                        QStringLiteral("KR20"), QStringLiteral("ErrorTipicoMedida")});
        for (const GroupFigures& g : r.figures.grupos) {
            const bool any = g.resultados > 0;
            const auto figure = [&](double v) { return any ? csvNumber(v) : QString(); };
            out += csvLine({g.nombre, g.serie ? QString::number(g.serie) : QString(),
                            QString::number(g.resultados), figure(g.media), figure(g.mediana),
                            csvNumber(g.desviacion), figure(g.minima), figure(g.maxima),
                            figure(g.q1), figure(g.q3), QString::number(g.aprobados),
                            figure(g.tasaAprobados), csvNumber(g.alfa), csvNumber(g.errorTipico)});
        }
    } else if (name == u"histograma.csv") {
        out +=
            csvLine({QStringLiteral("Desde"), QStringLiteral("Hasta"), QStringLiteral("Alumnos")});
        for (const auto& b : r.figures.histograma)
            out += csvLine({csvNumber(b.desde), csvNumber(b.hasta), QString::number(b.alumnos)});
    } else if (name == u"preguntas.csv") {
        out +=
            csvLine({QStringLiteral("Numero"), QStringLiteral("Id"), QStringLiteral("Pregunta"),
                     QStringLiteral("Veces"), QStringLiteral("Aciertos"), QStringLiteral("Fallos"),
                     QStringLiteral("Blancas"), QStringLiteral("Facilidad"),
                     QStringLiteral("Discriminacion"), QStringLiteral("BiserialCorregida"),
                     QStringLiteral("Otras"), QStringLiteral("Avisos")});
        for (size_t i = 0; i < r.items.items().size(); ++i) {
            const auto& item = r.items.items()[i];
            const ItemFigures& f = r.figures.preguntas[i];
            out += csvLine({QString::number(i + 1), item.id, item.texto, QString::number(f.veces),
                            QString::number(f.aciertos), QString::number(f.fallos),
                            QString::number(f.blancas), csvNumber(f.facilidad),
                            csvNumber(f.discriminacion), csvNumber(f.biserial),
                            QString::number(f.otras), avisosText(f)});
        }
    } else if (name == u"respuestas.csv") {
        out +=
            csvLine({QStringLiteral("Numero"), QStringLiteral("Id"), QStringLiteral("Respuesta"),
                     QStringLiteral("Texto"), QStringLiteral("Correcta"), QStringLiteral("Marcada"),
                     QStringLiteral("Superior"), QStringLiteral("Inferior")});
        for (size_t i = 0; i < r.items.items().size(); ++i) {
            const auto& item = r.items.items()[i];
            for (size_t o = 0; o < item.options.size(); ++o) {
                const auto& counts = r.figures.preguntas[i].opciones[o];
                out +=
                    csvLine({QString::number(i + 1), item.id,
                             QString::number(item.options[o].numero), item.options[o].texto,
                             item.options[o].correcta ? QStringLiteral("sí") : QStringLiteral("no"),
                             QString::number(counts.marcada), QString::number(counts.superior),
                             QString::number(counts.inferior)});
            }
        }
    }
    return out.toUtf8();
}

bool ReportTables::writeCsv(const ClassReport& r, const QString& folder, QString& error) {
    if (!QDir().mkpath(folder)) {
        error = QStringLiteral("no se puede crear la carpeta %1").arg(folder);
        return false;
    }
    for (const QString& name : csvFileNames()) {
        QSaveFile file(QDir(folder).filePath(name));
        const QByteArray bytes = csvFile(r, name);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() ||
            !file.commit()) {
            error = QStringLiteral("no se puede escribir %1: %2")
                        .arg(file.fileName(), file.errorString());
            return false;
        }
    }
    return true;
}

QByteArray ReportTables::json(const ClassReport& r) {
    QJsonObject root;
    root[QStringLiteral("examen")] =
        QJsonObject{{QStringLiteral("IdExamen"), TrimBlanks(r.exam.IdExamen())},
                    {QStringLiteral("Titulo"), r.exam.Titulo()},
                    {QStringLiteral("NotaMaxima"), shortestFloat(r.exam.NotaMaxima())},
                    {QStringLiteral("TipoExamen"), r.exam.TipoExamen()},
                    {QStringLiteral("TotalPreguntas"), r.items.totalPreguntas()}};
    QJsonArray grupos;
    for (const GroupFigures& g : r.figures.grupos) {
        const bool any = g.resultados > 0;
        const auto figure = [&](double v) {
            return any ? QJsonValue(v) : QJsonValue(QJsonValue::Null);
        };
        grupos.append(QJsonObject{
            {QStringLiteral("nombre"), g.nombre},
            {QStringLiteral("Serie"), g.serie ? QJsonValue(g.serie) : QJsonValue(QJsonValue::Null)},
            {QStringLiteral("Resultados"), g.resultados},
            {QStringLiteral("Media"), figure(g.media)},
            {QStringLiteral("Mediana"), figure(g.mediana)},
            {QStringLiteral("DesviacionTipica"), jsonNumber(g.desviacion)},
            {QStringLiteral("NotaMinima"), figure(g.minima)},
            {QStringLiteral("NotaMaxima"), figure(g.maxima)},
            {QStringLiteral("PrimerCuartil"), figure(g.q1)},
            {QStringLiteral("TercerCuartil"), figure(g.q3)},
            {QStringLiteral("Aprobados"), g.aprobados},
            {QStringLiteral("TasaAprobados"), figure(g.tasaAprobados)},
            {QStringLiteral("KR20"), jsonNumber(g.alfa)},
            {QStringLiteral("ErrorTipicoMedida"), jsonNumber(g.errorTipico)}});
    }
    root[QStringLiteral("grupos")] = grupos;
    root[QStringLiteral("mismasPreguntas")] = r.figures.mismasPreguntas;
    root[QStringLiteral("grupo27")] = r.figures.grupo27;
    QJsonArray bins;
    for (const auto& b : r.figures.histograma)
        bins.append(QJsonObject{{QStringLiteral("Desde"), b.desde},
                                {QStringLiteral("Hasta"), b.hasta},
                                {QStringLiteral("Alumnos"), b.alumnos}});
    root[QStringLiteral("histograma")] = bins;
    QJsonArray preguntas;
    for (size_t i = 0; i < r.items.items().size(); ++i) {
        const auto& item = r.items.items()[i];
        const ItemFigures& f = r.figures.preguntas[i];
        QJsonArray respuestas;
        for (size_t o = 0; o < item.options.size(); ++o)
            respuestas.append(QJsonObject{{QStringLiteral("Numero"), item.options[o].numero},
                                          {QStringLiteral("Texto"), item.options[o].texto},
                                          {QStringLiteral("Correcta"), item.options[o].correcta},
                                          {QStringLiteral("Marcada"), f.opciones[o].marcada},
                                          {QStringLiteral("Superior"), f.opciones[o].superior},
                                          {QStringLiteral("Inferior"), f.opciones[o].inferior}});
        QJsonArray avisos;
        for (const auto& a : f.avisos)
            avisos.append(QJsonObject{{QStringLiteral("codigo"), a.codigo},
                                      {QStringLiteral("texto"), a.texto}});
        preguntas.append(
            QJsonObject{{QStringLiteral("Numero"), static_cast<qint64>(i + 1)},
                        {QStringLiteral("Id"), item.id},
                        {QStringLiteral("Texto"), item.texto},
                        {QStringLiteral("Veces"), f.veces},
                        {QStringLiteral("Aciertos"), f.aciertos},
                        {QStringLiteral("Fallos"), f.fallos},
                        {QStringLiteral("Blancas"), f.blancas},
                        {QStringLiteral("Facilidad"), jsonNumber(f.facilidad)},
                        {QStringLiteral("Discriminacion"), jsonNumber(f.discriminacion)},
                        {QStringLiteral("BiserialCorregida"), jsonNumber(f.biserial)},
                        {QStringLiteral("Otras"), f.otras},
                        {QStringLiteral("respuestas"), respuestas},
                        {QStringLiteral("Avisos"), avisos}});
    }
    root[QStringLiteral("preguntas")] = preguntas;
    QJsonArray alumnos;
    for (const size_t s : r.studentsBy(StudentOrder::Name))
        alumnos.append(gradeJson(r.students[s].row));
    root[QStringLiteral("alumnos")] = alumnos;
    QJsonArray omitidos;
    for (const GradeRow& row : r.skipped)
        omitidos.append(QJsonObject{{QStringLiteral("archivo"), row.archivo},
                                    {QStringLiteral("error"), row.error}});
    root[QStringLiteral("omitidos")] = omitidos;
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

} // namespace kp::tools
