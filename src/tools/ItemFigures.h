#pragma once

#include <QString>
#include <optional>
#include <vector>

namespace kp::tools {

// What a class did with one question (an item of ExamItems, at the same index).
struct ItemFigures {
    // Students who marked one option (the option of the same index in ExamItems::Item).
    struct Option {
        qint64 marcada = 0;
        qint64 superior = 0; // of them, in the upper 27 % group
        qint64 inferior = 0; // in the lower 27 % group
    };
    // A likely fault, as a code for tools and a sentence for the examiner.
    struct Aviso {
        QString codigo;
        QString texto;
    };

    qint64 veces = 0; // times asked
    qint64 aciertos = 0, fallos = 0, blancas = 0;
    qint64 vecesSuperior = 0, aciertosSuperior = 0;
    qint64 vecesInferior = 0, aciertosInferior = 0;
    std::optional<double> facilidad;      // share right
    std::optional<double> discriminacion; // upper minus lower group's share right
    std::optional<double> biserial;       // corrected point-biserial correlation
    std::vector<Option> opciones;
    qint64 otras = 0; // marks of answer numbers the question does not have
    std::vector<Aviso> avisos;
};

} // namespace kp::tools
