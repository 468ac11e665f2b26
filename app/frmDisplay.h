#pragma once

#include "decanates/modVedicDecanates.h"

#include <QMainWindow>

class ImageList;
class QLabel;

// The result window: one tab per displayed body with its picture, position and decanate texts.
// Created on first use, unloaded (deleted) by Back and Exit.
class frmDisplay : public QMainWindow {
    Q_OBJECT
  public:
    explicit frmDisplay(QWidget* parent = nullptr);

    // Element i (0..9) of the label arrays, as named on the tabs.
    void setPositionCaption(int body, const QString& text);
    // ... further accessors are the implementer's; every control carries its objectName.
};

// The one result window, created (hidden) on first use.
frmDisplay* displayWindow();

// The decanate stage: determines the decanates of positionText 0..9 into decanateResults, then
// for each body sets picture i + 1 of `pictures` and the eight decanate captions on the
// result window. A body whose sign is not recognised keeps what it showed.
void fillDecanates(const ChartState& chart, DecanateResults& decanateResults, frmDisplay& window,
                   const ImageList* pictures);
