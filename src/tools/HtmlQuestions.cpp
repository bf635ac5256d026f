// The questions of the HTML report: the table of all of them, then each with its answers.

#include "tools/HtmlReport.h"

#include "tools/HtmlWriter.h"
#include "tools/ReportNumbers.h"
#include "tools/SvgCharts.h"

#include <QHash>

namespace kp::tools {

namespace {

using numbers::decimal;

const QString kN = QStringLiteral("n");

QString share(qint64 part, qint64 whole) {
    return whole > 0 ? numbers::percent(static_cast<double>(part) / static_cast<double>(whole))
                     : numbers::kNone;
}

// A warning in a word or two, for the table of all questions.
QString shortLabel(const QString& codigo) {
    static const QHash<QString, QString> labels = {
        {QStringLiteral("sin-correcta"), QStringLiteral("sin respuesta correcta")},
        {QStringLiteral("muy-facil"), QStringLiteral("muy fácil")},
        {QStringLiteral("muy-dificil"), QStringLiteral("muy difícil")},
        {QStringLiteral("discrimina-al-reves"), QStringLiteral("discrimina al revés")},
        {QStringLiteral("no-discrimina"), QStringLiteral("no discrimina")},
        {QStringLiteral("distractor"), QStringLiteral("distractor")}};
    return labels.value(codigo, codigo);
}

} // namespace

void HtmlReport::questionTable(HtmlWriter& html) const {
    html.start(QStringLiteral("section"), {{QStringLiteral("id"), QStringLiteral("preguntas")}});
    html.element(QStringLiteral("h2"), QStringLiteral("Preguntas"));
    html.element(QStringLiteral("p"),
                 QStringLiteral("Cada pregunta por su identificador, en todas las series. Grupos "
                                "superior e inferior: los %1 alumnos de nota más alta y los %1 "
                                "de nota más baja (27 %).")
                     .arg(r_.figures.grupo27),
                 {{QStringLiteral("class"), QStringLiteral("nota")}});
    html.start(QStringLiteral("table"), {{QStringLiteral("id"), QStringLiteral("tabla-preguntas")},
                                         {QStringLiteral("class"), QStringLiteral("ancha")}});
    html.start(QStringLiteral("thead"));
    html.start(QStringLiteral("tr"));
    html.element(QStringLiteral("th"), QStringLiteral("Nº"), {{QStringLiteral("class"), kN}});
    html.element(QStringLiteral("th"), QStringLiteral("Pregunta"));
    for (const auto* label : {u"Veces", u"Facilidad", u"Blancas", u"Discriminación", u"Biserial"})
        html.element(QStringLiteral("th"), QString::fromUtf16(label),
                     {{QStringLiteral("class"), kN}});
    html.element(QStringLiteral("th"), QStringLiteral("Avisos"));
    html.end();
    html.end();
    html.start(QStringLiteral("tbody"));
    const auto& items = r_.items.items();
    for (size_t i = 0; i < items.size(); ++i) {
        const ItemFigures& f = r_.figures.preguntas[i];
        html.start(QStringLiteral("tr"),
                   {{QStringLiteral("id"), QStringLiteral("fila-%1").arg(i + 1)}});
        html.element(QStringLiteral("td"), QString::number(i + 1), {{QStringLiteral("class"), kN}});
        html.start(QStringLiteral("td"));
        html.element(QStringLiteral("a"), items[i].id,
                     {{QStringLiteral("href"), QStringLiteral("#pregunta-%1").arg(i + 1)}});
        html.text(QStringLiteral(": ") + items[i].texto);
        html.end();
        html.element(QStringLiteral("td"), QString::number(f.veces),
                     {{QStringLiteral("class"), kN}});
        html.element(QStringLiteral("td"), decimal(f.facilidad, 2),
                     {{QStringLiteral("class"), kN}});
        html.element(QStringLiteral("td"), QString::number(f.blancas),
                     {{QStringLiteral("class"), kN}});
        html.element(QStringLiteral("td"), decimal(f.discriminacion, 2),
                     {{QStringLiteral("class"), kN}});
        html.element(QStringLiteral("td"), decimal(f.biserial, 2), {{QStringLiteral("class"), kN}});
        QStringList labels;
        for (const ItemFigures::Aviso& aviso : f.avisos)
            labels << shortLabel(aviso.codigo);
        html.element(QStringLiteral("td"), labels.join(QStringLiteral(", ")),
                     {{QStringLiteral("class"), QStringLiteral("avisos")}});
        html.end();
    }
    html.end();
    html.end();
    html.end();
}

void HtmlReport::question(HtmlWriter& html, int index) const {
    const ExamItems::Item& item = r_.items.items()[static_cast<size_t>(index)];
    const ItemFigures& f = r_.figures.preguntas[static_cast<size_t>(index)];
    html.start(QStringLiteral("section"),
               {{QStringLiteral("class"), QStringLiteral("pregunta")},
                {QStringLiteral("id"), QStringLiteral("pregunta-%1").arg(index + 1)}});
    html.element(QStringLiteral("h3"),
                 QStringLiteral("%1. %2: %3").arg(index + 1).arg(item.id, item.texto));

    html.start(QStringLiteral("table"), {{QStringLiteral("class"), QStringLiteral("cifras")}});
    html.start(QStringLiteral("tr"));
    const std::pair<const char16_t*, QString> cells[] = {
        {u"Veces", QString::number(f.veces)},
        {u"Aciertos", QString::number(f.aciertos)},
        {u"Fallos", QString::number(f.fallos)},
        {u"Blancas", QString::number(f.blancas)},
        {u"Facilidad", decimal(f.facilidad, 2)},
        {u"Discriminación", decimal(f.discriminacion, 2)},
        {u"Biserial corregida", decimal(f.biserial, 2)},
    };
    for (const auto& [label, value] : cells)
        html.element(QStringLiteral("th"), QString::fromUtf16(label));
    html.end();
    html.start(QStringLiteral("tr"));
    const char* const classes[] = {"veces",     "aciertos",       "fallos",  "blancas",
                                   "facilidad", "discriminacion", "biserial"};
    for (size_t c = 0; c < std::size(cells); ++c)
        html.element(QStringLiteral("td"), cells[c].second,
                     {{QStringLiteral("class"), QStringLiteral("n ") + QLatin1String(classes[c])}});
    html.end();
    html.end();

    html.start(QStringLiteral("table"), {{QStringLiteral("class"), QStringLiteral("respuestas")}});
    html.start(QStringLiteral("thead"));
    html.start(QStringLiteral("tr"));
    html.element(QStringLiteral("th"), QStringLiteral("Nº"), {{QStringLiteral("class"), kN}});
    html.element(QStringLiteral("th"), QStringLiteral("Respuesta"));
    html.element(QStringLiteral("th"), QStringLiteral("Marcada"), {{QStringLiteral("class"), kN}});
    html.element(QStringLiteral("th"), QString());
    html.element(QStringLiteral("th"), QStringLiteral("Superior"), {{QStringLiteral("class"), kN}});
    html.element(QStringLiteral("th"), QStringLiteral("Inferior"), {{QStringLiteral("class"), kN}});
    html.end();
    html.end();
    html.start(QStringLiteral("tbody"));
    for (size_t o = 0; o < item.options.size(); ++o) {
        const ExamItems::Option& option = item.options[o];
        const ItemFigures::Option& counts = f.opciones[o];
        html.start(QStringLiteral("tr"),
                   {{QStringLiteral("class"), option.correcta ? QStringLiteral("opcion correcta")
                                                              : QStringLiteral("opcion")}});
        html.element(QStringLiteral("td"), QString::number(option.numero),
                     {{QStringLiteral("class"), kN}});
        html.element(QStringLiteral("td"),
                     option.correcta ? option.texto + QStringLiteral(" ✔") : option.texto);
        html.element(
            QStringLiteral("td"),
            QStringLiteral("%1 (%2)").arg(counts.marcada).arg(share(counts.marcada, f.veces)),
            {{QStringLiteral("class"), QStringLiteral("n marcada")}});
        html.start(QStringLiteral("td"), {{QStringLiteral("class"), QStringLiteral("barra")}});
        SvgCharts::shareBar(
            html.xml(),
            f.veces > 0 ? static_cast<double>(counts.marcada) / static_cast<double>(f.veces) : 0,
            option.correcta);
        html.end();
        html.element(QStringLiteral("td"), QString::number(counts.superior),
                     {{QStringLiteral("class"), QStringLiteral("n superior")}});
        html.element(QStringLiteral("td"), QString::number(counts.inferior),
                     {{QStringLiteral("class"), QStringLiteral("n inferior")}});
        html.end();
    }
    if (f.otras > 0) {
        html.start(QStringLiteral("tr"), {{QStringLiteral("class"), QStringLiteral("otras")}});
        html.element(QStringLiteral("td"), QString());
        html.element(QStringLiteral("td"), QStringLiteral("Respuestas que la pregunta no tiene"));
        html.element(QStringLiteral("td"), QString::number(f.otras),
                     {{QStringLiteral("class"), kN}});
        html.element(QStringLiteral("td"), QString());
        html.element(QStringLiteral("td"), QString());
        html.element(QStringLiteral("td"), QString());
        html.end();
    }
    html.end();
    html.end();

    if (!f.avisos.empty()) {
        html.start(QStringLiteral("ul"), {{QStringLiteral("class"), QStringLiteral("avisos")}});
        for (const ItemFigures::Aviso& aviso : f.avisos)
            html.element(QStringLiteral("li"), aviso.texto,
                         {{QStringLiteral("class"), QStringLiteral("aviso ") + aviso.codigo}});
        html.end();
    }
    html.end();
}

} // namespace kp::tools
