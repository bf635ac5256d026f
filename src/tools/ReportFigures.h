#pragma once

#include "tools/GroupFigures.h"
#include "tools/ItemFigures.h"

#include <vector>

namespace kp::tools {

// Every figure of a class report.
struct ReportFigures {
    struct Bin {
        double desde = 0, hasta = 0; // grades from desde up to (not including) hasta; the last
                                     // bin includes its upper edge
        qint64 alumnos = 0;
    };

    float notaMaxima = 0;
    std::vector<GroupFigures> grupos;   // the whole class first, then each series sat
    std::vector<Bin> histograma;        // the whole class
    std::vector<ItemFigures> preguntas; // parallel to ExamItems::items()
    qsizetype grupo27 = 0;              // students in each of the upper and lower groups
    // Every student was asked every question once, so the class's KR-20 compares like with
    // like; otherwise it is given per series only.
    bool mismasPreguntas = true;
};

} // namespace kp::tools
