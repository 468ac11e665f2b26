#pragma once

#include "chart/Validation.h"

#include <QString>

#include <functional>

class QWidget;

// Shows a message box with the given icon, an OK button and the caption "Korvani". Blocks until
// the user closes it.
void ShowMessage(MessageIcon icon, const QString& text, QWidget* parent = nullptr);

// Replaces the message box, e.g. to record messages in tests. An empty handler restores it.
using MessageHandler = std::function<void(MessageIcon, const QString&)>;
void SetMessageHandler(MessageHandler handler);
