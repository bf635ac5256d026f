#pragma once

#include <QString>
#include <QTextStream>
#include <array>
#include <vector>

namespace kp {
class KipsaPrubex;
}

namespace kp::tools {

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

// Writes the rows: an aligned table headed with the exam's data labels, semicolon-separated
// values with a header row, or a JSON array of objects.
void writeGradeReport(const std::vector<GradeRow>& rows, const KipsaPrubex& exam,
                      GradeFormat format, QTextStream& out);

} // namespace kp::tools
