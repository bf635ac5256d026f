#pragma once

#include "tools/ItemFigures.h"
#include "tools/StudentResult.h"

#include <vector>

namespace kp::tools {

class ExamItems;

// Item analysis: per question, how often it was asked, answered right, wrong or left blank,
// how well it tells strong students from weak ones, and which answers drew whom.
//
// Upper and lower groups: the students are ranked by grade (then by questions right, then by
// file name, so the ranking is fixed) and the top and bottom 27 % (rounded, at least one each
// when there are two students or more) form the groups.
//
// Facility: right / times asked. Discrimination: the upper group's facility minus the lower
// group's, each among those of the group who were asked the question. Corrected
// point-biserial: Pearson's correlation between the question's score x (1 right, 0 otherwise)
// and the rest of the test, y = questions right - x, over the students asked it.
class ItemAnalysis {
public:
    static constexpr double kGroupShare = 0.27;
    static constexpr double kTooEasy = 0.95;
    static constexpr double kTooHard = 0.2;
    static constexpr double kNearZero = 0.1;

    // The group of each student: 1 upper, -1 lower, 0 neither; and the size of each group.
    static std::vector<qint8> extremeGroups(const std::vector<StudentResult>& students,
                                            qsizetype& groupSize);

    // The figures of every item of items, parallel to items.items().
    static std::vector<ItemFigures> analyse(const ExamItems& items,
                                            const std::vector<StudentResult>& students,
                                            const std::vector<qint8>& groups);

    // The warnings of one analysed item, in words.
    static std::vector<ItemFigures::Aviso> warnings(const ExamItems& items, int item,
                                                    const ItemFigures& figures);
};

} // namespace kp::tools
