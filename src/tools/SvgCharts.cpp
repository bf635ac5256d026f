#include "tools/SvgCharts.h"

#include "tools/ReportNumbers.h"

#include <algorithm>
#include <cmath>

namespace kp::tools {

namespace {

const QString kSvgNamespace = QStringLiteral("http://www.w3.org/2000/svg");
const QString kBarColour = QStringLiteral("#4a7ab5");
const QString kRightColour = QStringLiteral("#2e7d32");
const QString kWrongColour = QStringLiteral("#9aa7b0");
const QString kAxisColour = QStringLiteral("#555555");

QString num(double v) {
    return QString::number(std::round(v * 100) / 100, 'g', 10);
}

void startSvg(QXmlStreamWriter& xml, double width, double height, const QString& label) {
    xml.writeStartElement(QStringLiteral("svg"));
    xml.writeDefaultNamespace(kSvgNamespace);
    xml.writeAttribute(QStringLiteral("viewBox"),
                       QStringLiteral("0 0 %1 %2").arg(num(width), num(height)));
    xml.writeAttribute(QStringLiteral("width"), num(width));
    xml.writeAttribute(QStringLiteral("height"), num(height));
    xml.writeAttribute(QStringLiteral("role"), QStringLiteral("img"));
    xml.writeAttribute(QStringLiteral("aria-label"), label);
}

void rect(QXmlStreamWriter& xml, double x, double y, double w, double h, const QString& fill,
          const QString& title = {}) {
    xml.writeStartElement(QStringLiteral("rect"));
    xml.writeAttribute(QStringLiteral("x"), num(x));
    xml.writeAttribute(QStringLiteral("y"), num(y));
    xml.writeAttribute(QStringLiteral("width"), num(std::max(w, 0.0)));
    xml.writeAttribute(QStringLiteral("height"), num(std::max(h, 0.0)));
    xml.writeAttribute(QStringLiteral("fill"), fill);
    if (!title.isEmpty())
        xml.writeTextElement(QStringLiteral("title"), title);
    xml.writeEndElement();
}

void line(QXmlStreamWriter& xml, double x1, double y1, double x2, double y2,
          const QString& stroke = kAxisColour, double width = 1) {
    xml.writeEmptyElement(QStringLiteral("line"));
    xml.writeAttribute(QStringLiteral("x1"), num(x1));
    xml.writeAttribute(QStringLiteral("y1"), num(y1));
    xml.writeAttribute(QStringLiteral("x2"), num(x2));
    xml.writeAttribute(QStringLiteral("y2"), num(y2));
    xml.writeAttribute(QStringLiteral("stroke"), stroke);
    xml.writeAttribute(QStringLiteral("stroke-width"), num(width));
}

void text(QXmlStreamWriter& xml, double x, double y, const QString& content,
          const QString& anchor = QStringLiteral("middle"), double size = 11) {
    xml.writeStartElement(QStringLiteral("text"));
    xml.writeAttribute(QStringLiteral("x"), num(x));
    xml.writeAttribute(QStringLiteral("y"), num(y));
    xml.writeAttribute(QStringLiteral("font-size"), num(size));
    xml.writeAttribute(QStringLiteral("text-anchor"), anchor);
    xml.writeCharacters(content);
    xml.writeEndElement();
}

QString alumnos(qint64 n) {
    return n == 1 ? QStringLiteral("1 alumno") : QStringLiteral("%1 alumnos").arg(n);
}

} // namespace

double SvgCharts::niceStep(double top, int ticks) {
    if (!(top > 0) || !std::isfinite(top))
        return 1;
    const double raw = top / ticks;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double m : {1.0, 2.0, 5.0})
        if (m * power >= raw)
            return m * power;
    return 10 * power;
}

void SvgCharts::histogram(QXmlStreamWriter& xml, const std::vector<ReportFigures::Bin>& bins) {
    const double height = 260, left = 44, right = 10, top = 14, bottom = 44;
    const double plotW = kWidth - left - right, plotH = height - top - bottom;
    qint64 most = 1;
    for (const auto& b : bins)
        most = std::max(most, b.alumnos);
    const double step = std::max(1.0, niceStep(static_cast<double>(most), 5));
    const double yTop = std::ceil(static_cast<double>(most) / step) * step;
    startSvg(xml, kWidth, height, QStringLiteral("Histograma de las notas"));
    xml.writeAttribute(QStringLiteral("class"), QStringLiteral("histograma"));
    for (double v = 0; v <= yTop + 1e-9; v += step) {
        const double y = top + plotH - v / yTop * plotH;
        line(xml, left, y, left + plotW, y, QStringLiteral("#dddddd"));
        text(xml, left - 6, y + 4, numbers::decimal(v, 0), QStringLiteral("end"));
    }
    const double barW = plotW / static_cast<double>(std::max<size_t>(bins.size(), 1));
    const size_t labelEvery = std::max<size_t>(1, (bins.size() + 19) / 20);
    const int edgeDecimals = bins.size() > 1 && bins[1].desde != std::floor(bins[1].desde) ? 1 : 0;
    for (size_t i = 0; i < bins.size(); ++i) {
        const auto& b = bins[i];
        const double h = static_cast<double>(b.alumnos) / yTop * plotH;
        const double x = left + static_cast<double>(i) * barW;
        rect(xml, x + 1, top + plotH - h, barW - 2, h, kBarColour,
             QStringLiteral("De %1 a %2: %3")
                 .arg(numbers::decimal(b.desde, edgeDecimals),
                      numbers::decimal(b.hasta, edgeDecimals), alumnos(b.alumnos)));
        if (b.alumnos > 0 && bins.size() <= 40)
            text(xml, x + barW / 2, top + plotH - h - 3, QString::number(b.alumnos),
                 QStringLiteral("middle"), 10);
        if (i % labelEvery == 0)
            text(xml, x, top + plotH + 16, numbers::decimal(b.desde, edgeDecimals));
    }
    if (!bins.empty())
        text(xml, left + plotW, top + plotH + 16,
             numbers::decimal(bins.back().hasta, edgeDecimals));
    line(xml, left, top + plotH, left + plotW, top + plotH);
    text(xml, left + plotW / 2, height - 6, QStringLiteral("Nota"));
    xml.writeEndElement();
}

void SvgCharts::boxPlots(QXmlStreamWriter& xml, const std::vector<GroupFigures>& groups,
                         double scaleMax) {
    const double rowH = 36, left = 80, right = 16, top = 8, axisH = 34;
    const double plotW = kWidth - left - right;
    const double height = top + rowH * static_cast<double>(groups.size()) + axisH;
    const double scale = scaleMax > 0 && std::isfinite(scaleMax) ? scaleMax : 1;
    const auto x = [&](double v) { return left + std::clamp(v / scale, 0.0, 1.0) * plotW; };
    startSvg(xml, kWidth, height, QStringLiteral("Diagramas de caja de las notas por serie"));
    xml.writeAttribute(QStringLiteral("class"), QStringLiteral("cajas"));
    const double step = scale <= 20 ? 1 : niceStep(scale, 10);
    const double axisY = top + rowH * static_cast<double>(groups.size());
    for (double v = 0; v <= scale + 1e-9; v += step) {
        line(xml, x(v), top, x(v), axisY, QStringLiteral("#e4e4e4"));
        text(xml, x(v), axisY + 14, numbers::decimal(v, step < 1 ? 1 : 0), QStringLiteral("middle"),
             10);
    }
    line(xml, left, axisY, left + plotW, axisY);
    text(xml, left + plotW / 2, axisY + 30, QStringLiteral("Nota"));
    for (size_t g = 0; g < groups.size(); ++g) {
        const GroupFigures& f = groups[g];
        const double mid = top + rowH * (static_cast<double>(g) + 0.5);
        text(xml, left - 8, mid + 4, f.nombre, QStringLiteral("end"));
        if (f.notas.empty())
            continue;
        const double iqr = f.q3 - f.q1;
        double low = f.q1, high = f.q3;
        for (const double n : f.notas) {
            if (n >= f.q1 - 1.5 * iqr)
                low = std::min(low, n);
            if (n <= f.q3 + 1.5 * iqr)
                high = std::max(high, n);
        }
        xml.writeStartElement(QStringLiteral("g"));
        xml.writeAttribute(QStringLiteral("class"), QStringLiteral("caja"));
        xml.writeTextElement(
            QStringLiteral("title"),
            QStringLiteral("%1: mínima %2, primer cuartil %3, mediana %4, tercer cuartil %5, "
                           "máxima %6, media %7")
                .arg(f.nombre, numbers::decimal(f.minima, 2), numbers::decimal(f.q1, 2),
                     numbers::decimal(f.mediana, 2), numbers::decimal(f.q3, 2),
                     numbers::decimal(f.maxima, 2), numbers::decimal(f.media, 2)));
        line(xml, x(low), mid, x(f.q1), mid);
        line(xml, x(f.q3), mid, x(high), mid);
        line(xml, x(low), mid - 7, x(low), mid + 7);
        line(xml, x(high), mid - 7, x(high), mid + 7);
        xml.writeEmptyElement(QStringLiteral("rect"));
        xml.writeAttribute(QStringLiteral("x"), num(x(f.q1)));
        xml.writeAttribute(QStringLiteral("y"), num(mid - 11));
        xml.writeAttribute(QStringLiteral("width"), num(std::max(x(f.q3) - x(f.q1), 1.0)));
        xml.writeAttribute(QStringLiteral("height"), num(22));
        xml.writeAttribute(QStringLiteral("fill"), QStringLiteral("#cfe0f3"));
        xml.writeAttribute(QStringLiteral("stroke"), kBarColour);
        line(xml, x(f.mediana), mid - 11, x(f.mediana), mid + 11, QStringLiteral("#1a3e6e"), 2.5);
        xml.writeEmptyElement(QStringLiteral("path"));
        xml.writeAttribute(
            QStringLiteral("d"),
            QStringLiteral("M%1 %2 l4 4 l-4 4 l-4 -4 z").arg(num(x(f.media)), num(mid - 4)));
        xml.writeAttribute(QStringLiteral("fill"), QStringLiteral("#c62828"));
        for (const double n : f.notas)
            if (n < low || n > high) {
                xml.writeEmptyElement(QStringLiteral("circle"));
                xml.writeAttribute(QStringLiteral("cx"), num(x(n)));
                xml.writeAttribute(QStringLiteral("cy"), num(mid));
                xml.writeAttribute(QStringLiteral("r"), QStringLiteral("2.5"));
                xml.writeAttribute(QStringLiteral("fill"), kAxisColour);
            }
        xml.writeEndElement();
    }
    xml.writeEndElement();
}

void SvgCharts::shareBar(QXmlStreamWriter& xml, double share, bool right) {
    const double w = 110, h = 10;
    startSvg(xml, w, h, numbers::percent(share));
    rect(xml, 0, 0, w, h, QStringLiteral("#eeeeee"));
    rect(xml, 0, 0, w * std::clamp(share, 0.0, 1.0), h, right ? kRightColour : kWrongColour);
    xml.writeEndElement();
}

} // namespace kp::tools
