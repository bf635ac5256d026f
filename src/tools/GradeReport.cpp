#include "tools/GradeReport.h"

#include "model/KipsaPrubex.h"
#include "tools/JsonWriter.h"

#include <QStringList>
#include <algorithm>

namespace kp::tools {

QString csvField(const QString& text) {
    if (!text.contains(u';') && !text.contains(u'"') && !text.contains(u'\n') &&
        !text.contains(u'\r'))
        return text;
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

GradeReport::GradeReport(const KipsaPrubex& exam, GradeFormat format, QTextStream& out,
                         qsizetype rows)
    : exam_(exam), format_(format), out_(out) {
    if (format_ == GradeFormat::Table)
        rows_.reserve(static_cast<size_t>(rows));
    if (format_ == GradeFormat::Csv) {
        out_ << "archivo;IdExamen;Serie;DatoAlumno1;DatoAlumno2;DatoAlumno3;DatoAlumno4;"
                "DatoAlumno5;Nota;Acertadas;Falladas;Blancas;error\n";
    } else if (format_ == GradeFormat::Json) {
        json_ = std::make_unique<JsonWriter>(out_);
        json_->beginArray();
    }
}

GradeReport::~GradeReport() = default;

void GradeReport::add(const GradeRow& row) {
    switch (format_) {
    case GradeFormat::Csv:
        csvRow(row);
        break;
    case GradeFormat::Json:
        jsonRow(row);
        break;
    case GradeFormat::Table:
        rows_.push_back(row);
        break;
    }
}

void GradeReport::finish() {
    if (format_ == GradeFormat::Json) {
        json_->endArray();
        json_->flush();
    } else if (format_ == GradeFormat::Table) {
        table();
    }
}

// archivo;IdExamen;Serie;DatoAlumno1..5;Nota;Acertadas;Falladas;Blancas;error
void GradeReport::csvRow(const GradeRow& r) {
    QString line;
    line += csvField(r.archivo);
    line += u';';
    line += csvField(r.idExamen);
    line += u';';
    if (!r.idExamen.isEmpty() || r.graded)
        line += QString::number(r.serie);
    for (const QString& d : r.datos) {
        line += u';';
        line += csvField(d);
    }
    if (r.graded) {
        line += u';' + r.notaTexto + u';' + QString::number(r.acertadas) + u';' +
                QString::number(r.falladas) + u';' + QString::number(r.blancas) + u';';
    } else {
        line += QStringLiteral(";;;;;");
        line += csvField(r.error);
    }
    line += u'\n';
    out_ << line;
}

// Members in key order, as QJsonObject writes them.
void GradeReport::jsonRow(const GradeRow& r) {
    JsonWriter& json = *json_;
    const auto member = [&json](QStringView name, const QString& text) {
        json.key(name);
        json.string(text);
    };
    const auto count = [&json](QStringView name, qint64 n) {
        json.key(name);
        json.integer(n);
    };
    json.beginObject();
    if (r.graded) {
        count(u"Acertadas", r.acertadas);
        count(u"Blancas", r.blancas);
    }
    static const QString datoAlumno[5] = {
        QStringLiteral("DatoAlumno1"), QStringLiteral("DatoAlumno2"), QStringLiteral("DatoAlumno3"),
        QStringLiteral("DatoAlumno4"), QStringLiteral("DatoAlumno5")};
    for (size_t i = 0; i < 5; ++i)
        member(datoAlumno[i], r.datos[i]);
    if (r.graded)
        count(u"Falladas", r.falladas);
    member(u"IdExamen", r.idExamen);
    if (r.graded) {
        json.key(u"Nota");
        json.number(shortestFloat(r.nota));
        member(u"NotaTexto", r.notaTexto);
    }
    count(u"Serie", r.serie);
    member(u"archivo", r.archivo);
    if (!r.graded)
        member(u"error", r.error);
    json.endObject();
}

void GradeReport::table() {
    // A data column is shown when the exam asks for it or some file carries a value for it.
    std::vector<size_t> dataColumns;
    for (size_t i = 0; i < 5; ++i) {
        bool used = !exam_.DatoAlumno(static_cast<int>(i) + 1).trimmed().isEmpty();
        for (const GradeRow& r : rows_)
            used = used || !r.datos[i].isEmpty();
        if (used)
            dataColumns.push_back(i);
    }
    QStringList header{QStringLiteral("Archivo")};
    for (const size_t i : dataColumns) {
        const QString label = exam_.DatoAlumno(static_cast<int>(i) + 1).trimmed();
        header << (label.isEmpty() ? QStringLiteral("Dato %1").arg(i + 1) : label);
    }
    const qsizetype firstNumeric = header.size();
    header << QStringLiteral("Serie") << QStringLiteral("Nota") << QStringLiteral("Acertadas")
           << QStringLiteral("Falladas") << QStringLiteral("Blancas");

    // The cells of a graded row, in the header's order.
    const auto cell = [&](const GradeRow& r, qsizetype k) -> QString {
        if (k == 0)
            return r.archivo;
        if (k < firstNumeric)
            return r.datos[dataColumns[static_cast<size_t>(k - 1)]];
        switch (k - firstNumeric) {
        case 0:
            return QString::number(r.serie);
        case 1:
            return r.notaTexto;
        case 2:
            return QString::number(r.acertadas);
        case 3:
            return QString::number(r.falladas);
        default:
            return QString::number(r.blancas);
        }
    };
    std::vector<qsizetype> width(static_cast<size_t>(header.size()));
    for (qsizetype k = 0; k < header.size(); ++k)
        width[static_cast<size_t>(k)] = header[k].size();
    for (const GradeRow& r : rows_)
        // An error row sets the width of the file name only; its message is not a column.
        for (qsizetype k = 0; k < (r.graded ? header.size() : 1); ++k)
            width[static_cast<size_t>(k)] =
                std::max(width[static_cast<size_t>(k)], cell(r, k).size());

    // Text columns are padded on the right, numbers on the left; two blanks between columns.
    const auto line = [&](const auto& cellAt) {
        QString text;
        for (qsizetype k = 0; k < header.size(); ++k) {
            if (k > 0)
                text += QStringLiteral("  ");
            const QString c = cellAt(k);
            const qsizetype w = width[static_cast<size_t>(k)];
            text += k >= firstNumeric ? c.rightJustified(w) : c.leftJustified(w);
        }
        text += u'\n';
        out_ << text;
    };
    line([&](qsizetype k) { return header[k]; });
    for (const GradeRow& r : rows_) {
        if (r.graded)
            line([&](qsizetype k) { return cell(r, k); });
        else // an error message runs to the end of the line
            out_ << r.archivo.leftJustified(width[0]) << QStringLiteral("  error: ") << r.error
                 << u'\n';
    }
}

} // namespace kp::tools
