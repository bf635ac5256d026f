#include "FakePrompts.h"

#include <QDialog>

namespace kp::test {

PromptAnswer FakePrompts::message(QWidget*, const QString& title, const QString& text,
                                  PromptIcon icon, PromptButtons buttons) {
    messages.push_back({title, text, icon, buttons});
    if (onMessage)
        onMessage(messages.back());
    if (!answers.empty()) {
        const PromptAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    return buttons == PromptButtons::YesNo ? PromptAnswer::No : PromptAnswer::Ok;
}

QString FakePrompts::openFile(QWidget*, const QString& title, const QString& filter,
                              const QString& initialName, bool mustExist) {
    fileDialogs.push_back({title, filter, initialName, mustExist});
    if (fileAnswers.empty())
        return {};
    QString a = fileAnswers.front();
    fileAnswers.pop_front();
    return a;
}

void FakePrompts::showModal(QDialog& dialog) {
    modalWindows.push_back(dialog.objectName());
    dialog.show();
    if (onModal)
        onModal(dialog);
    dialog.hide();
}

} // namespace kp::test
