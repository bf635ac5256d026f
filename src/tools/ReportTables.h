#pragma once

#include "tools/ClassReport.h"

#include <QByteArray>
#include <QString>

namespace kp::tools {

// The figures of a class report as tables for other programs.
//
// CSV: a folder of files for Spanish spreadsheets (";" between fields, decimal comma, fields
// holding ";", quotes or line breaks in double quotes, an empty field for a figure that
// cannot be computed): resumen.csv, histograma.csv, preguntas.csv, respuestas.csv and
// alumnos.csv, the last exactly as kxt grade --csv writes it (every student by name, then
// the files left out with their error).
//
// JSON: one object with examen, grupos, mismasPreguntas, grupo27, histograma, preguntas (each
// with respuestas and Avisos), alumnos (as kxt grade --json) and omitidos; null for a figure
// that cannot be computed.
class ReportTables {
public:
    static constexpr int kCsvDecimals = 4;

    // Writes the CSV files into folder (created if missing); false with error on failure.
    static bool writeCsv(const ClassReport& report, const QString& folder, QString& error);
    static QByteArray json(const ClassReport& report);

    // Each CSV file by name, as writeCsv writes it.
    static QByteArray csvFile(const ClassReport& report, const QString& name);
    static const QStringList& csvFileNames();
};

} // namespace kp::tools
