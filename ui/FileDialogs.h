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

// Asks which file to open: a file dialog offering `filters`. Returns the chosen path, or an empty
// string when cancelled.
QString AskOpenFileName(QWidget* parent, const QString& title, const QString& filters);

// Replaces the open-file dialog, e.g. to answer it in tests. An empty handler restores it.
using OpenFileNameHandler = std::function<QString()>;
void SetOpenFileNameHandler(OpenFileNameHandler handler);
