#pragma once

#include <QWidget>

// The exit promotion window: the last window of every run. Closing it in any way ends the
// program through closeAllAndEnd().
class frmExit : public QWidget {
    Q_OBJECT
  public:
    explicit frmExit(QWidget* parent = nullptr);
    // (members are the implementer's; controls carry their names as objectName)
};

// The one exit promotion window, created hidden on first use.
frmExit* exitWindow();

// Shows the exit promotion window without making it modal, creating it on first use.
void showExitWindow();

// Hides the exit promotion window, creating it hidden if it is not there yet.
void hideExitWindow();
