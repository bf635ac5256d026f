#pragma once

#include <QString>

namespace kp {

class Serie;
class genNorma;
class genNormas;
class genTema;
class genTemas;
class RandomSource;

// Appends to the series the slots that the rules ask for, block by block (kinds 1, 2, 3):
// first the fixed rules of the block, then its drawing rules, positions counted from 1 in
// every block. False at the first rule that cannot be applied, with the reason in *error;
// slots added before it stay.
bool Genera(Serie& serie, const genTemas& GenTemasTmp, const genNormas& GenNormasTmp,
            RandomSource& random, QString* error = nullptr);

// Draws the rule's NumPreguntas questions of kind `bloque` from the topic, skipping those the
// series already holds, and places them from `posicion` on (advanced past them). A rule that
// asks for more questions than the topic has left is refused before anything is drawn.
bool SorteaPreguntas(Serie& serie, const genNorma& norma, const genTema& tema, qint16& posicion,
                     qint16 bloque, RandomSource& random, QString* error = nullptr);

// Swaps the slot under PreguntaKey with its neighbour above (below) in the same block; the
// first (last) slot of a block and an unknown key change nothing.
void SubePregunta(Serie& serie, const QString& PreguntaKey);
void BajaPregunta(Serie& serie, const QString& PreguntaKey);

} // namespace kp
