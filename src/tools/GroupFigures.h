#pragma once

#include <QString>
#include <optional>
#include <vector>

namespace kp::tools {

// The summary of the grades of a group of students: the whole class or one series.
struct GroupFigures {
    QString nombre;   // "Todas" or "Serie 3"
    qint16 serie = 0; // the series' Numero; 0 for the whole class
    qsizetype resultados = 0;
    double media = 0, mediana = 0, minima = 0, maxima = 0;
    double q1 = 0, q3 = 0; // quartiles, for the box plot
    std::optional<double> desviacion;
    qsizetype aprobados = 0;           // grade at least half of NotaMaxima
    double tasaAprobados = 0;          // 0..1
    std::optional<double> alfa;        // KR-20 on right/wrong per question
    std::optional<double> errorTipico; // standard error of measurement, in grade points
    std::vector<double> notas;         // every grade, ascending
};

} // namespace kp::tools
