#pragma once

#include <QHash>
#include <QString>
#include <vector>

namespace kp {
class KipsaPrubex;
}

namespace kp::tools {

// The questions of an exam as a class report counts them: one item per question (by its
// Id, whatever series and position it was asked at), with the answers a student could mark.
class ExamItems {
public:
    struct Option {
        qint16 numero = 0; // what a mark records
        QString texto;     // shortened, plain
        bool correcta = false;
    };
    struct Item {
        QString id;
        QString texto;               // shortened, plain
        std::vector<Option> options; // in the order the page shows them
        bool hasRight = false;
    };

    static constexpr qsizetype kQuestionChars = 90;
    static constexpr qsizetype kAnswerChars = 60;

    // Items in the order of first appearance: the first series' positions 1..N, then what
    // the other series add.
    ExamItems(const KipsaPrubex& exam, qint16 totalPreguntas);

    const std::vector<Item>& items() const { return items_; }
    qint16 totalPreguntas() const { return total_; }
    // True/false exams show two fixed options, "Verdadero" (1) and "Falso" (2).
    bool verdaderoFalso() const { return verdaderoFalso_; }

    // The item at a position (1..N) of the series at serieElegida, as correction finds the
    // question there (the last slot with that Orden); -1 when there is none.
    int itemAt(qint16 serieElegida, qsizetype position) const {
        return at_.value(key(serieElegida, position), -1);
    }
    // The option that a student's marks at a position count for: every mark in a
    // multiple-choice exam, only the first in a true/false one (as correction reads it).
    // -1 for an answer the question does not have.
    int optionOf(int item, qint16 mark) const;

private:
    static quint32 key(qint16 serieElegida, qsizetype position) {
        return (static_cast<quint32>(static_cast<quint16>(serieElegida)) << 16) |
               static_cast<quint32>(position & 0xFFFF);
    }

    std::vector<Item> items_;
    QHash<quint32, int> at_;
    qint16 total_ = 0;
    bool verdaderoFalso_ = false;
};

} // namespace kp::tools
