#pragma once

#include "chart/Validation.h"

#include <QString>

#include <functional>

class QWidget;

// Shows a message box with the given icon, an OK button and the caption "Korvani". Blocks until
// the user closes it. `details`, when given, is shown in the box's scrolling details area.
void ShowMessage(MessageIcon icon, const QString& text, QWidget* parent = nullptr,
                 const QString& details = {});

// Replaces the message box, e.g. to record messages in tests; it receives the text, then any
// details after a blank line. An empty handler restores it.
using MessageHandler = std::function<void(MessageIcon, const QString&)>;
void SetMessageHandler(MessageHandler handler);

// Asks a yes-or-no question in a message box with the caption "Korvani"; true for Yes. No is the
// default answer.
bool AskYesNo(const QString& text, QWidget* parent = nullptr);
// Replaces the question box, e.g. to answer questions in tests. An empty handler restores it.
using QuestionHandler = std::function<bool(const QString&)>;
void SetQuestionHandler(QuestionHandler handler);
