#include "tools/GradeReport.h"

#include "model/KipsaPrubex.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <charconv>
#include <cstdlib>

namespace kp::tools {

namespace {

// The float's shortest decimal text read as a double, so JSON shows 9.999999 rather than the
// double expansion 9.999999046325684 of the same float.
double shortestDouble(float value) {
    char buffer[64];
    const auto res = std::to_chars(buffer, buffer + sizeof buffer - 1, value);
    *res.ptr = '\0';
    return std::strtod(buffer, nullptr);
}

QString csvField(const QString& text) {
    if (!text.contains(u';') && !text.contains(u'"') && !text.contains(u'\n') &&
        !text.contains(u'\r'))
        return text;
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

void writeCsv(const std::vector<GradeRow>& rows, QTextStream& out) {
    out << "archivo;IdExamen;Serie;DatoAlumno1;DatoAlumno2;DatoAlumno3;DatoAlumno4;"
           "DatoAlumno5;Nota;Acertadas;Falladas;Blancas;error\n";
    for (const GradeRow& r : rows) {
        QStringList f;
        f << csvField(r.archivo) << csvField(r.idExamen)
          << (r.idExamen.isEmpty() && !r.graded ? QString() : QString::number(r.serie));
        for (const QString& d : r.datos)
            f << csvField(d);
        if (r.graded)
            f << r.notaTexto << QString::number(r.acertadas) << QString::number(r.falladas)
              << QString::number(r.blancas) << QString();
        else
            f << QString() << QString() << QString() << QString() << csvField(r.error);
        out << f.join(u';') << '\n';
    }
}

void writeJson(const std::vector<GradeRow>& rows, QTextStream& out) {
    QJsonArray array;
    for (const GradeRow& r : rows) {
        QJsonObject o;
        o[QStringLiteral("archivo")] = r.archivo;
        o[QStringLiteral("IdExamen")] = r.idExamen;
        o[QStringLiteral("Serie")] = r.serie;
        for (int i = 0; i < 5; ++i)
            o[QStringLiteral("DatoAlumno%1").arg(i + 1)] = r.datos[static_cast<size_t>(i)];
        if (r.graded) {
            o[QStringLiteral("Nota")] = shortestDouble(r.nota);
            o[QStringLiteral("NotaTexto")] = r.notaTexto;
            o[QStringLiteral("Acertadas")] = r.acertadas;
            o[QStringLiteral("Falladas")] = r.falladas;
            o[QStringLiteral("Blancas")] = r.blancas;
        } else {
            o[QStringLiteral("error")] = r.error;
        }
        array.append(o);
    }
    out << QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Indented));
}

void writeTable(const std::vector<GradeRow>& rows, const KipsaPrubex& exam, QTextStream& out) {
    // A data column is shown when the exam asks for it or some file carries a value for it.
    std::vector<int> dataColumns;
    for (int i = 0; i < 5; ++i) {
        bool used = !exam.DatoAlumno(i + 1).trimmed().isEmpty();
        for (const GradeRow& r : rows)
            used = used || !r.datos[static_cast<size_t>(i)].isEmpty();
        if (used)
            dataColumns.push_back(i);
    }
    QStringList header{QStringLiteral("Archivo")};
    for (const int i : dataColumns) {
        const QString label = exam.DatoAlumno(i + 1).trimmed();
        header << (label.isEmpty() ? QStringLiteral("Dato %1").arg(i + 1) : label);
    }
    const qsizetype firstNumeric = header.size();
    header << QStringLiteral("Serie") << QStringLiteral("Nota") << QStringLiteral("Acertadas")
           << QStringLiteral("Falladas") << QStringLiteral("Blancas");

    std::vector<QStringList> cells;
    for (const GradeRow& r : rows) {
        QStringList c{r.archivo};
        if (!r.graded) {
            c << QStringLiteral("error: ") + r.error;
            cells.push_back(c);
            continue;
        }
        for (const int i : dataColumns)
            c << r.datos[static_cast<size_t>(i)];
        c << QString::number(r.serie) << r.notaTexto << QString::number(r.acertadas)
          << QString::number(r.falladas) << QString::number(r.blancas);
        cells.push_back(c);
    }
    std::vector<qsizetype> width(static_cast<size_t>(header.size()));
    for (qsizetype k = 0; k < header.size(); ++k)
        width[static_cast<size_t>(k)] = header[k].size();
    for (const QStringList& c : cells)
        // An error row sets the width of the file name only; its message is not a column.
        for (qsizetype k = 0; k < (c.size() == header.size() ? c.size() : 1); ++k)
            width[static_cast<size_t>(k)] = std::max(width[static_cast<size_t>(k)], c[k].size());

    const auto line = [&](const QStringList& c) {
        QStringList padded;
        for (qsizetype k = 0; k < c.size(); ++k) {
            const bool last = k == c.size() - 1;
            const qsizetype w = k < header.size() ? width[static_cast<size_t>(k)] : 0;
            if (c.size() != header.size() && k > 0)
                padded << c[k]; // an error message runs to the end of the line
            else if (k >= firstNumeric)
                padded << c[k].rightJustified(w);
            else
                padded << (last ? c[k] : c[k].leftJustified(w));
        }
        out << padded.join(QStringLiteral("  ")) << '\n';
    };
    line(header);
    for (const QStringList& c : cells)
        line(c);
}

} // namespace

void writeGradeReport(const std::vector<GradeRow>& rows, const KipsaPrubex& exam,
                      GradeFormat format, QTextStream& out) {
    switch (format) {
    case GradeFormat::Csv:
        writeCsv(rows, out);
        break;
    case GradeFormat::Json:
        writeJson(rows, out);
        break;
    case GradeFormat::Table:
        writeTable(rows, exam, out);
        break;
    }
}

} // namespace kp::tools
