#pragma once

#include "tools/ClassReport.h"

class QIODevice;

namespace kp::tools {

class HtmlWriter;

// The class report as one self-contained HTML page in Spanish: summary, charts (inline SVG),
// every question with its answers and warnings, the students' grades, the files left out
// and how to read the figures. No scripts, no fonts, pictures or styles from elsewhere; a
// print style lays it out on A4.
//
// Elements that hold a figure carry an id or class, so other tools (and tests) can find them:
// the summary rows are "resumen-<cifra>" with one cell per group, each question is the section
// "pregunta-<n>" (n from 1, in item order) with cells classed by figure, and the students'
// tables are "alumnos-por-nombre" and "alumnos-por-nota".
class HtmlReport {
public:
    HtmlReport(const ClassReport& report, StudentOrder order) : r_(report), order_(order) {}

    void write(QIODevice& device) const;

private:
    void head(HtmlWriter& html) const;
    void summary(HtmlWriter& html) const;
    void distribution(HtmlWriter& html) const;
    void questionTable(HtmlWriter& html) const;
    void question(HtmlWriter& html, int item) const;
    void students(HtmlWriter& html, StudentOrder order) const;
    void skippedFiles(HtmlWriter& html) const;
    void glossary(HtmlWriter& html) const;

    const ClassReport& r_;
    const StudentOrder order_;
};

} // namespace kp::tools
