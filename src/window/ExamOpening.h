#pragma once

#include <QString>

class QWidget;

namespace kp {

class Prompts;
struct ExamState;

// Replaces the exam and results record of the run by new ones and loads the exam file into
// them. On failure shows the message and returns false; the new, partly filled objects stay.
// window, when given, gets the program's caption back.
bool AbrirExamen(ExamState& state, Prompts& prompts, const QString& path,
                 QWidget* window = nullptr);

} // namespace kp
