#include "ui/Messages.h"

#include <QMessageBox>

namespace {
MessageHandler& currentHandler() {
    static MessageHandler handler;
    return handler;
}
} // namespace

void SetMessageHandler(MessageHandler handler) {
    currentHandler() = std::move(handler);
}

void ShowMessage(MessageIcon icon, const QString& text, QWidget* parent) {
    if (const MessageHandler& handler = currentHandler()) {
        handler(icon, text);
        return;
    }
    QMessageBox box(icon == MessageIcon::Error ? QMessageBox::Critical : QMessageBox::Information,
                    QStringLiteral("Korvani"), text, QMessageBox::Ok, parent);
    box.exec();
}
