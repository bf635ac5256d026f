#pragma once

#include "widgets/Prompts.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

namespace kp::test {

// Answers prompts from queues and records what was asked. A message with no queued answer is
// answered Ok (or No for a Yes/No question); a file dialog with none is cancelled.
class FakePrompts final : public Prompts {
public:
    struct Message {
        QString title;
        QString text;
        PromptIcon icon;
        PromptButtons buttons;
    };
    struct FileDialog {
        QString title;
        QString filter;
        QString initialName;
        bool mustExist;
    };

    std::vector<Message> messages;
    std::vector<FileDialog> fileDialogs;
    std::vector<QString> modalWindows; // objectName of each modal window shown
    QStringList openedUrls;

    std::deque<PromptAnswer> answers;
    std::deque<QString> fileAnswers;
    // Called with each modal window while it is "open"; the test can read or click it.
    std::function<void(QDialog&)> onModal;
    // Called for each message before it is answered (for example to fire a timer tick).
    std::function<void(const Message&)> onMessage;

    PromptAnswer message(QWidget*, const QString& title, const QString& text, PromptIcon icon,
                         PromptButtons buttons) override;
    QString openFile(QWidget*, const QString& title, const QString& filter,
                     const QString& initialName, bool mustExist) override;
    void showModal(QDialog& dialog) override;
    void openUrl(const QString& url) override { openedUrls << url; }
};

} // namespace kp::test
