#pragma once

#include <QString>
#include <QStringList>

class QTranslator;

namespace kp {

// The folders searched for Qt's own Spanish texts (standard buttons, file dialogs), in order:
// Qt's translations folder, then the copy installed beside the program for systems without it.
QStringList qtTranslationFolders();

// Loads Qt's Spanish texts ("qtbase_es.qm") from the first folder that has them; returns that
// folder, or an empty text when none has them (the texts then stay in English).
QString loadSpanishQtTranslations(QTranslator& translator, const QStringList& folders);

} // namespace kp
