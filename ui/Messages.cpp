#include "ui/Messages.h"

#include <QMessageBox>

namespace {
MessageHandler& currentHandler() {
    static MessageHandler handler;
    return handler;
}
QuestionHandler& currentQuestionHandler() {
    static QuestionHandler handler;
    return handler;
}
} // namespace

void SetQuestionHandler(QuestionHandler handler) {
    currentQuestionHandler() = std::move(handler);
}

bool AskYesNo(const QString& text, QWidget* parent) {
    if (const QuestionHandler& handler = currentQuestionHandler()) {
        return handler(text);
    }
    QMessageBox box(QMessageBox::Question, QStringLiteral("Korvani"), text,
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void SetMessageHandler(MessageHandler handler) {
    currentHandler() = std::move(handler);
}

void ShowMessage(MessageIcon icon, const QString& text, QWidget* parent, const QString& details) {
    if (const MessageHandler& handler = currentHandler()) {
        handler(icon, details.isEmpty() ? text : text + QStringLiteral("\n\n") + details);
        return;
    }
    QMessageBox box(icon == MessageIcon::Error ? QMessageBox::Critical : QMessageBox::Information,
                    QStringLiteral("Korvani"), text, QMessageBox::Ok, parent);
    box.setDetailedText(details);
    box.exec();
}
