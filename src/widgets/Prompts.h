#pragma once

#include <QString>

class QDialog;
class QWidget;

namespace kp {

enum class PromptIcon { None, Information, Exclamation, Question };
enum class PromptButtons { Ok, YesNo };
enum class PromptAnswer { Ok, Yes, No };

// Every message box, file dialog and modal window of the program goes through here, so tests
// can answer them without a real modal loop.
class Prompts {
public:
    virtual ~Prompts() = default;

    // A message box. An empty title means the program's default title.
    virtual PromptAnswer message(QWidget* owner, const QString& title, const QString& text,
                                 PromptIcon icon, PromptButtons buttons) = 0;

    // A file-open dialog. filter is "Description (*.ext)|*.ext"; when mustExist is false a
    // name that does not exist yet is accepted. Returns the chosen path, empty on cancel.
    virtual QString openFile(QWidget* owner, const QString& title, const QString& filter,
                             const QString& initialName, bool mustExist) = 0;

    // Shows a modal window owned by its parent and waits until it is closed.
    virtual void showModal(QDialog& dialog) = 0;

    // Opens a web address with the desktop's handler.
    virtual void openUrl(const QString& url) = 0;
};

} // namespace kp
