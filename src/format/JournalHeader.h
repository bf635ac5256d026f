#pragma once

#include <QDateTime>
#include <QString>
#include <array>

namespace kp {

class KipsaPrubex;
class KipsaResult;

// What a journal of the marks (the recovery file) records once, at the start of an exam:
// everything besides the marks that the results file will carry, and the exam's timing.
struct JournalHeader {
    QString IdExamen; // the results record's, as it will be written
    qint16 Serie = 0;
    qint16 TotalPreguntas = 0;
    qint16 TipoExamen = 1;
    qint32 SegundosLimite = 0;        // 0: no limit
    QDateTime HoraInicio;             // the wall clock at the start
    QString ArchivoSalida;            // where the results were to be written
    std::array<QString, 5> etiquetas; // the exam's labels of the five data fields
    std::array<QString, 5> datos;     // the student's values

    // The header of an exam that has just started with this exam and results record.
    static JournalHeader of(const KipsaPrubex& exam, const KipsaResult& result,
                            qint16 totalPreguntas, qint32 segundosLimite,
                            const QDateTime& horaInicio);
    // The other way: the exam's labels and kind, and the record's identifier, series, data and
    // results path (marks untouched).
    void applyTo(KipsaPrubex& exam, KipsaResult& result) const;

    bool operator==(const JournalHeader&) const = default;
};

} // namespace kp
