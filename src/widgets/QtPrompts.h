#pragma once

#include "widgets/Prompts.h"

namespace kp {

// The real dialogs: Qt message boxes and file dialogs, in Spanish.
class QtPrompts final : public Prompts {
public:
    PromptAnswer message(QWidget* owner, const QString& title, const QString& text, PromptIcon icon,
                         PromptButtons buttons) override;
    QString openFile(QWidget* owner, const QString& title, const QString& filter,
                     const QString& initialName, bool mustExist) override;
    void showModal(QDialog& dialog) override;
    void openUrl(const QString& url) override;
};

} // namespace kp
