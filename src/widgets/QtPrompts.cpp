#include "widgets/QtPrompts.h"

#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

namespace kp {

PromptAnswer QtPrompts::message(QWidget* owner, const QString& title, const QString& text,
                                PromptIcon icon, PromptButtons buttons) {
    QMessageBox box(owner);
    box.setWindowTitle(title.isEmpty() ? QStringLiteral("Kipsa Prubex") : title);
    box.setTextFormat(Qt::PlainText);
    // Texts use a lone carriage return as the line break.
    QString shown = text;
    shown.replace(u'\r', u'\n');
    box.setText(shown);
    switch (icon) {
    case PromptIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case PromptIcon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case PromptIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case PromptIcon::None:
        break;
    }
    if (buttons == PromptButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? PromptAnswer::Yes : PromptAnswer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return PromptAnswer::Ok;
}

QString QtPrompts::openFile(QWidget* owner, const QString& title, const QString& filter,
                            const QString& initialName, bool mustExist) {
    // "Description (*.ext)|*.ext" pairs become Qt's "Description (*.ext)" entries.
    const QStringList parts = filter.split(u'|');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        entries << parts[i];
    const QString qtFilter = entries.join(QStringLiteral(";;"));
    if (mustExist)
        return QFileDialog::getOpenFileName(owner, title, initialName, qtFilter);
    // A results file may not exist yet: a save-style dialog that does not ask to overwrite.
    return QFileDialog::getSaveFileName(owner, title, initialName, qtFilter, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

void QtPrompts::showModal(QDialog& dialog) {
    dialog.setWindowModality(Qt::WindowModal);
    dialog.exec();
}

void QtPrompts::openUrl(const QString& url) {
    QDesktopServices::openUrl(QUrl(url));
}

} // namespace kp
