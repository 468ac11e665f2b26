#pragma once

#include <QDialog>

// The about window: program name, description and two links; OK closes it.
class frmAbout : public QDialog {
    Q_OBJECT
  public:
    explicit frmAbout(QWidget* parent = nullptr);
};

// Shows the about window modally over `owner` and returns when it is closed.
void ShowAboutWindow(QWidget* owner);
