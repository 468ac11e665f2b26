#include "ui/FileDialogs.h"

#include <QFileDialog>

namespace {
SaveFileNameHandler& currentHandler() {
    static SaveFileNameHandler handler;
    return handler;
}
OpenFileNameHandler& currentOpenHandler() {
    static OpenFileNameHandler handler;
    return handler;
}
} // namespace

void SetSaveFileNameHandler(SaveFileNameHandler handler) {
    currentHandler() = std::move(handler);
}

QString AskSaveFileName(QWidget* parent, const QString& title, const QString& suggestedName,
                        const QString& filters) {
    if (const SaveFileNameHandler& handler = currentHandler()) {
        return handler(suggestedName);
    }
    return QFileDialog::getSaveFileName(parent, title, suggestedName, filters);
}

void SetOpenFileNameHandler(OpenFileNameHandler handler) {
    currentOpenHandler() = std::move(handler);
}

QString AskOpenFileName(QWidget* parent, const QString& title, const QString& filters) {
    if (const OpenFileNameHandler& handler = currentOpenHandler()) {
        return handler();
    }
    return QFileDialog::getOpenFileName(parent, title, QString(), filters);
}
