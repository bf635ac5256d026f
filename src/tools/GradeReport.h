#pragma once

#include <QString>
#include <QTextStream>
#include <array>
#include <memory>
#include <vector>

namespace kp {
class KipsaPrubex;
}

namespace kp::tools {

class JsonWriter;

// One results file as kxt grade reports it. When graded is false, error says why; the other
// fields hold what could be read.
struct GradeRow {
    QString archivo;
    QString idExamen;
    qint16 serie = 0;
    std::array<QString, 5> datos;
    bool graded = false;
    float nota = 0;
    QString notaTexto; // as the grade window shows it
    qint16 acertadas = 0;
    qint16 falladas = 0;
    qint16 blancas = 0;
    QString error;
};

enum class GradeFormat { Table, Csv, Json };

// text as one field of a line of semicolon-separated values: as it is, or in double quotes
// (those inside doubled) when it holds a semicolon, a double quote or a line break.
QString csvField(const QString& text);

// Writes the rows of kxt grade: an aligned table headed with the exam's data labels,
// semicolon-separated values with a header row, or a JSON array of objects. CSV and JSON rows
// are written as they come; the table waits for every row, since they set its column widths.
class GradeReport {
public:
    // rows: how many will come (the table keeps room for them).
    GradeReport(const KipsaPrubex& exam, GradeFormat format, QTextStream& out, qsizetype rows);
    ~GradeReport();
    GradeReport(const GradeReport&) = delete;
    GradeReport& operator=(const GradeReport&) = delete;

    void add(const GradeRow& row);
    // Ends the report: the whole table, or the end of the JSON array.
    void finish();

private:
    void csvRow(const GradeRow& r);
    void jsonRow(const GradeRow& r);
    void table();

    const KipsaPrubex& exam_;
    GradeFormat format_;
    QTextStream& out_;
    std::unique_ptr<JsonWriter> json_;
    std::vector<GradeRow> rows_; // for the table
};

} // namespace kp::tools
