#include "ui/FileDialogs.h"

#include <QFileDialog>

namespace {
SaveFileNameHandler& currentHandler() {
    static SaveFileNameHandler handler;
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
