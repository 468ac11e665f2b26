#pragma once

#include <QString>

#include <functional>

class QWidget;

// Asks where to save a file: a file dialog offering `filters` ("PNG image (*.png)" ...) with
// `suggestedName` filled in. Returns the chosen path, or an empty string when cancelled.
QString AskSaveFileName(QWidget* parent, const QString& title, const QString& suggestedName,
                        const QString& filters);

// Replaces the file dialog, e.g. to answer it in tests. An empty handler restores it.
using SaveFileNameHandler = std::function<QString(const QString& suggestedName)>;
void SetSaveFileNameHandler(SaveFileNameHandler handler);
