#include "tools/HtmlReport.h"

#include "model/Fields.h"
#include "model/KipsaPrubex.h"
#include "tools/HtmlWriter.h"
#include "tools/ReportNumbers.h"
#include "tools/SvgCharts.h"

#include <algorithm>
#include <utility>

namespace kp::tools {

namespace {

using numbers::decimal;

// Quotes, ">" and "&" are left out: the style sheet is written as escaped text.
const char16_t* const kStyle = uR"(
@page { size: A4; margin: 14mm 12mm; }
body { font-family: DejaVu Sans, Arial, Helvetica, sans-serif; font-size: 10pt; color: #222;
       max-width: 186mm; margin: 0 auto; padding: 8px; line-height: 1.35; }
h1 { font-size: 18pt; margin: 0 0 4px; }
h2 { font-size: 13.5pt; border-bottom: 2px solid #4a7ab5; padding-bottom: 2px; margin-top: 22px;
     break-after: avoid; page-break-after: avoid; }
h3 { font-size: 11pt; margin: 14px 0 4px; break-after: avoid; page-break-after: avoid; }
p.examen { font-size: 12pt; margin: 0; }
p.nota, p.vacio { color: #555; }
nav ul { padding-left: 18px; margin: 6px 0; }
table { border-collapse: collapse; margin: 4px 0 10px; }
table.ancha { width: 100%; }
#tabla-preguntas { font-size: 9pt; }
#tabla-preguntas td:nth-child(2) { width: 45%; }
th, td { border: 1px solid #c4c4c4; padding: 2px 6px; vertical-align: top; }
th { background: #eef2f7; text-align: left; font-weight: bold; }
td.n { text-align: right; white-space: nowrap; }
th.n { text-align: right; }
td.archivo { word-break: break-all; font-size: 8.5pt; }
thead { display: table-header-group; }
tr, figure, section.pregunta { break-inside: avoid; page-break-inside: avoid; }
figure { margin: 6px 0 12px; }
figcaption { font-size: 9pt; color: #555; }
svg { max-width: 100%; height: auto; }
td.barra { padding: 3px 6px 0; }
tr.correcta td { font-weight: bold; }
ul.avisos { margin: 2px 0 8px; padding-left: 18px; color: #a31515; }
td.avisos { color: #a31515; font-size: 9pt; }
dl dt { font-weight: bold; margin-top: 6px; }
dl dd { margin-left: 14px; }
@media print {
  body { padding: 0; }
  nav { display: none; }
  a { color: inherit; text-decoration: none; }
  section.alumnos + section.alumnos { break-before: page; page-break-before: always; }
}
)";

} // namespace

void HtmlReport::write(QIODevice& device) const {
    HtmlWriter html(&device);
    html.xml().writeDTD(QStringLiteral("<!DOCTYPE html>"));
    html.start(QStringLiteral("html"), {{QStringLiteral("lang"), QStringLiteral("es")}});
    html.xml().writeDefaultNamespace(QStringLiteral("http://www.w3.org/1999/xhtml"));
    head(html);
    html.start(QStringLiteral("body"));
    html.element(QStringLiteral("h1"), QStringLiteral("Informe del examen"));
    const KipsaPrubex& exam = r_.exam;
    html.element(QStringLiteral("p"),
                 QStringLiteral("%1 (%2)").arg(exam.Titulo(), TrimBlanks(exam.IdExamen())),
                 {{QStringLiteral("class"), QStringLiteral("examen")}});
    html.element(QStringLiteral("p"),
                 QStringLiteral("%1 resultados, %2 preguntas por alumno, nota sobre %3; %4 "
                                "archivos no incluidos.")
                     .arg(r_.students.size())
                     .arg(r_.items.totalPreguntas())
                     .arg(decimal(r_.figures.notaMaxima, 2).remove(QStringLiteral(",00")))
                     .arg(r_.skipped.size()),
                 {{QStringLiteral("id"), QStringLiteral("cabecera")}});
    html.start(QStringLiteral("nav"));
    html.start(QStringLiteral("ul"));
    const std::pair<const char16_t*, const char16_t*> contents[] = {
        {u"resumen", u"Resumen"},
        {u"distribucion", u"Distribución de las notas"},
        {u"preguntas", u"Preguntas"},
        {u"alumnos", u"Alumnos"},
        {u"omitidos", u"Archivos no incluidos"},
        {u"glosario", u"Cómo leer este informe"}};
    for (const auto& [anchor, label] : contents) {
        html.start(QStringLiteral("li"));
        html.element(QStringLiteral("a"), QString::fromUtf16(label),
                     {{QStringLiteral("href"), u'#' + QString::fromUtf16(anchor)}});
        html.end();
    }
    html.end();
    html.end();
    summary(html);
    distribution(html);
    questionTable(html);
    for (int i = 0; i < static_cast<int>(r_.items.items().size()); ++i)
        question(html, i);
    if (order_ != StudentOrder::Grade)
        students(html, StudentOrder::Name);
    if (order_ != StudentOrder::Name)
        students(html, StudentOrder::Grade);
    skippedFiles(html);
    glossary(html);
    html.end(); // body
    html.end(); // html
    html.finish();
}

void HtmlReport::head(HtmlWriter& html) const {
    html.start(QStringLiteral("head"));
    html.empty(QStringLiteral("meta"), {{QStringLiteral("charset"), QStringLiteral("utf-8")}});
    html.element(QStringLiteral("title"),
                 QStringLiteral("Informe del examen: %1").arg(r_.exam.Titulo()));
    html.element(QStringLiteral("style"), QString::fromUtf16(kStyle));
    html.end();
}

void HtmlReport::summary(HtmlWriter& html) const {
    const auto& groups = r_.figures.grupos;
    html.start(QStringLiteral("section"), {{QStringLiteral("id"), QStringLiteral("resumen")}});
    html.element(QStringLiteral("h2"), QStringLiteral("Resumen"));
    html.start(QStringLiteral("table"), {{QStringLiteral("class"), QStringLiteral("resumen")}});
    html.start(QStringLiteral("thead"));
    html.start(QStringLiteral("tr"));
    html.element(QStringLiteral("th"), QString());
    for (const GroupFigures& g : groups)
        html.element(QStringLiteral("th"), g.nombre,
                     {{QStringLiteral("class"), QStringLiteral("n")}});
    html.end();
    html.end();
    html.start(QStringLiteral("tbody"));
    const auto row = [&](const QString& id, const QString& label, auto value) {
        html.start(QStringLiteral("tr"), {{QStringLiteral("id"), QStringLiteral("resumen-") + id}});
        html.element(QStringLiteral("th"), label);
        for (const GroupFigures& g : groups)
            html.element(QStringLiteral("td"), value(g),
                         {{QStringLiteral("class"), QStringLiteral("n")}});
        html.end();
    };
    row(QStringLiteral("resultados"), QStringLiteral("Resultados"),
        [](const GroupFigures& g) { return QString::number(g.resultados); });
    row(QStringLiteral("media"), QStringLiteral("Media"),
        [](const GroupFigures& g) { return g.resultados ? decimal(g.media, 2) : numbers::kNone; });
    row(QStringLiteral("mediana"), QStringLiteral("Mediana"), [](const GroupFigures& g) {
        return g.resultados ? decimal(g.mediana, 2) : numbers::kNone;
    });
    row(QStringLiteral("desviacion"), QStringLiteral("Desviación típica"),
        [](const GroupFigures& g) { return decimal(g.desviacion, 2); });
    row(QStringLiteral("minima"), QStringLiteral("Nota mínima"),
        [](const GroupFigures& g) { return g.resultados ? decimal(g.minima, 2) : numbers::kNone; });
    row(QStringLiteral("maxima"), QStringLiteral("Nota máxima"),
        [](const GroupFigures& g) { return g.resultados ? decimal(g.maxima, 2) : numbers::kNone; });
    row(QStringLiteral("aprobados"), QStringLiteral("Aprobados"), [](const GroupFigures& g) {
        return g.resultados ? QStringLiteral("%1 (%2)")
                                  .arg(g.aprobados)
                                  .arg(numbers::percent(g.tasaAprobados))
                            : numbers::kNone;
    });
    row(QStringLiteral("alfa"), QStringLiteral("Consistencia interna (KR-20)"),
        [](const GroupFigures& g) { return decimal(g.alfa, 2); });
    row(QStringLiteral("error-tipico"), QStringLiteral("Error típico de medida"),
        [](const GroupFigures& g) { return decimal(g.errorTipico, 2); });
    html.end();
    html.end();
    html.element(QStringLiteral("p"),
                 QStringLiteral("Aprueba quien tiene al menos la mitad de la nota máxima (%1).")
                     .arg(decimal(r_.figures.notaMaxima / 2.0, 2)),
                 {{QStringLiteral("class"), QStringLiteral("nota")}});
    if (!r_.figures.mismasPreguntas && !r_.students.empty())
        html.element(QStringLiteral("p"),
                     QStringLiteral("Las series no tienen las mismas preguntas: la consistencia "
                                    "interna se da solo por serie."),
                     {{QStringLiteral("class"), QStringLiteral("nota")}});
    html.end();
}

void HtmlReport::distribution(HtmlWriter& html) const {
    html.start(QStringLiteral("section"), {{QStringLiteral("id"), QStringLiteral("distribucion")}});
    html.element(QStringLiteral("h2"), QStringLiteral("Distribución de las notas"));
    html.start(QStringLiteral("figure"));
    SvgCharts::histogram(html.xml(), r_.figures.histograma);
    html.element(QStringLiteral("figcaption"),
                 QStringLiteral("Alumnos por nota, en tramos de un punto (el último incluye la "
                                "nota máxima)."));
    html.end();
    html.start(QStringLiteral("figure"));
    double scaleMax = r_.figures.notaMaxima;
    for (const GroupFigures& g : r_.figures.grupos)
        if (g.resultados)
            scaleMax = std::max(scaleMax, g.maxima);
    SvgCharts::boxPlots(html.xml(), r_.figures.grupos, scaleMax);
    html.element(QStringLiteral("figcaption"),
                 QStringLiteral("Por serie: la caja va del primer al tercer cuartil, la raya es "
                                "la mediana y el rombo la media; los bigotes llegan a la nota "
                                "más baja y más alta que no se aleja más de 1,5 cajas, y cada "
                                "punto es una nota más alejada."));
    html.end();
    html.end();
}

void HtmlReport::students(HtmlWriter& html, StudentOrder order) const {
    const bool byName = order == StudentOrder::Name;
    html.start(QStringLiteral("section"),
               {{QStringLiteral("class"), QStringLiteral("alumnos")},
                {QStringLiteral("id"),
                 byName ? QStringLiteral("alumnos") : QStringLiteral("alumnos-nota")}});
    html.element(QStringLiteral("h2"), byName ? QStringLiteral("Alumnos por orden alfabético")
                                              : QStringLiteral("Alumnos por nota"));
    const std::vector<int> columns = r_.dataColumns();
    html.start(QStringLiteral("table"),
               {{QStringLiteral("id"), byName ? QStringLiteral("alumnos-por-nombre")
                                              : QStringLiteral("alumnos-por-nota")},
                {QStringLiteral("class"), QStringLiteral("ancha")}});
    html.start(QStringLiteral("thead"));
    html.start(QStringLiteral("tr"));
    html.element(QStringLiteral("th"), QStringLiteral("Archivo"));
    for (const int c : columns)
        html.element(QStringLiteral("th"), r_.dataLabel(c));
    for (const auto* label : {u"Serie", u"Nota", u"Acertadas", u"Falladas", u"Blancas"})
        html.element(QStringLiteral("th"), QString::fromUtf16(label),
                     {{QStringLiteral("class"), QStringLiteral("n")}});
    html.end();
    html.end();
    html.start(QStringLiteral("tbody"));
    for (const size_t s : r_.studentsBy(order)) {
        const GradeRow& row = r_.students[s].row;
        html.start(QStringLiteral("tr"));
        html.element(QStringLiteral("td"), row.archivo,
                     {{QStringLiteral("class"), QStringLiteral("archivo")}});
        for (const int c : columns)
            html.element(QStringLiteral("td"), row.datos[static_cast<size_t>(c - 1)]);
        const QString n = QStringLiteral("n");
        html.element(QStringLiteral("td"), QString::number(row.serie),
                     {{QStringLiteral("class"), n}});
        html.element(QStringLiteral("td"), row.notaTexto,
                     {{QStringLiteral("class"), QStringLiteral("n nota")}});
        html.element(QStringLiteral("td"), QString::number(row.acertadas),
                     {{QStringLiteral("class"), n}});
        html.element(QStringLiteral("td"), QString::number(row.falladas),
                     {{QStringLiteral("class"), n}});
        html.element(QStringLiteral("td"), QString::number(row.blancas),
                     {{QStringLiteral("class"), n}});
        html.end();
    }
    html.end();
    html.end();
    html.end();
}

void HtmlReport::skippedFiles(HtmlWriter& html) const {
    html.start(QStringLiteral("section"), {{QStringLiteral("id"), QStringLiteral("omitidos")}});
    html.element(QStringLiteral("h2"), QStringLiteral("Archivos no incluidos"));
    if (r_.skipped.empty()) {
        html.element(QStringLiteral("p"),
                     QStringLiteral("Ninguno: se han contado todos los archivos."),
                     {{QStringLiteral("class"), QStringLiteral("vacio")}});
    } else {
        html.start(QStringLiteral("table"),
                   {{QStringLiteral("id"), QStringLiteral("tabla-omitidos")},
                    {QStringLiteral("class"), QStringLiteral("ancha")}});
        html.start(QStringLiteral("thead"));
        html.start(QStringLiteral("tr"));
        html.element(QStringLiteral("th"), QStringLiteral("Archivo"));
        html.element(QStringLiteral("th"), QStringLiteral("Motivo"));
        html.end();
        html.end();
        html.start(QStringLiteral("tbody"));
        for (const GradeRow& row : r_.skipped) {
            html.start(QStringLiteral("tr"));
            html.element(QStringLiteral("td"), row.archivo,
                         {{QStringLiteral("class"), QStringLiteral("archivo")}});
            html.element(QStringLiteral("td"), row.error,
                         {{QStringLiteral("class"), QStringLiteral("motivo")}});
            html.end();
        }
        html.end();
        html.end();
    }
    html.end();
}

void HtmlReport::glossary(HtmlWriter& html) const {
    html.start(QStringLiteral("section"), {{QStringLiteral("id"), QStringLiteral("glosario")}});
    html.element(QStringLiteral("h2"), QStringLiteral("Cómo leer este informe"));
    html.start(QStringLiteral("dl"));
    const std::pair<const char16_t*, const char16_t*> terms[] = {
        {u"Facilidad",
         u"Parte de los alumnos que acertaron la pregunta, de 0 a 1, entre quienes la tuvieron. "
         u"Se avisa por encima de 0,95 (muy fácil) y por debajo de 0,2 (muy difícil)."},
        {u"Discriminación",
         u"Facilidad en el 27 % de alumnos de nota más alta menos la facilidad en el 27 % de "
         u"nota más baja, de −1 a 1. Desde 0,3 la pregunta separa bien a quien sabe de quien "
         u"no; cerca de 0 apenas separa, y negativa separa al revés."},
        {u"Biserial corregida",
         u"Correlación entre acertar la pregunta y el número de aciertos en el resto del "
         u"examen. Se lee como la discriminación y no depende de los grupos del 27 %."},
        {u"Respuestas",
         u"Cuántos alumnos marcaron cada respuesta, y cuántos de ellos estaban en el grupo de "
         u"nota más alta (superior) y en el de nota más baja (inferior). Una respuesta errónea "
         u"que el grupo superior marca más que una correcta suele delatar una pregunta ambigua "
         u"o mal corregida."},
        {u"Consistencia interna (KR-20)",
         u"Alfa de Cronbach sobre acierto o fallo en cada pregunta, de 0 a 1: indica si las "
         u"preguntas miden lo mismo. En un examen de clase se considera aceptable desde 0,7."},
        {u"Error típico de medida",
         u"Desviación típica de las notas por la raíz de (1 − KR-20): cuánto puede variar la "
         u"nota de un alumno por azar."},
    };
    for (const auto& [term, definition] : terms) {
        html.element(QStringLiteral("dt"), QString::fromUtf16(term));
        html.element(QStringLiteral("dd"), QString::fromUtf16(definition));
    }
    html.end();
    html.end();
}

} // namespace kp::tools
