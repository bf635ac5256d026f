#pragma once

#include <QString>
#include <QStringList>
#include <memory>

namespace kp {

class Clock;
class Prompts;
class RandomSource;
class frmMain;
struct ExamState;

// The argument text of the command line: every argument after the program's name, joined by
// single blanks, quotes left as they came.
QString argumentText(const QStringList& arguments);

// The exam file the argument text names: the whole, untrimmed text when it ends in ".kxt"
// exactly (letter case counts, a trailing blank defeats it); empty otherwise.
QString examOnCommandLine(const QString& argumentText);

// The start-up: opens the exam the argument text names, if any, and prepares the exam window.
// Returns the window to show, or null when the program must end without a window (the failure
// message has been shown).
std::unique_ptr<frmMain> startUp(ExamState& state, Prompts& prompts, Clock& clock,
                                 RandomSource& random, const QString& argumentText);

} // namespace kp
