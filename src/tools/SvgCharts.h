#pragma once

#include "tools/GroupFigures.h"
#include "tools/ReportFigures.h"

#include <QXmlStreamWriter>
#include <vector>

namespace kp::tools {

// Inline SVG charts of the report, drawn from the figures alone: plain shapes and text, no
// scripts, fonts or pictures from elsewhere, so they show and print anywhere.
class SvgCharts {
public:
    static constexpr double kWidth = 680;

    // One bar per bin, its count above it, the grade scale below.
    static void histogram(QXmlStreamWriter& xml, const std::vector<ReportFigures::Bin>& bins);

    // One horizontal box plot per group on a common scale from 0 to scaleMax: the box from the
    // first to the third quartile, the median across it, whiskers to the lowest and highest
    // grades within 1.5 box lengths of the box (Tukey), every grade beyond them as a dot, and
    // the mean as a diamond.
    static void boxPlots(QXmlStreamWriter& xml, const std::vector<GroupFigures>& groups,
                         double scaleMax);

    // A small bar of a share 0..1 (an answer's marks), green for a right answer.
    static void shareBar(QXmlStreamWriter& xml, double share, bool right);

    // A "nice" step for about `ticks` divisions of 0..top: 1, 2 or 5 times a power of ten.
    static double niceStep(double top, int ticks);
};

} // namespace kp::tools
