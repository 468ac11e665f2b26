#pragma once

#include "links/modHelp.h"

#include <QLabel>

// A label that acts on a click: it emits clicked() when the left mouse button is pressed and
// released over it, or when it has the keyboard focus and Return, Enter or Space is pressed. It
// takes the focus with Tab and then shows a focus frame. The windows connect it to the page or
// action the label offers.
class ClickableLabel : public QLabel {
    Q_OBJECT
  public:
    explicit ClickableLabel(const QString& text = {}, QWidget* parent = nullptr);

  signals:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    bool pressed_ = false; // a left press began on this label
};

// A word-wrapped label in the link colour that opens `page` when clicked.
ClickableLabel* MakePageLink(QWidget* parent, const QString& objectName, const QString& text,
                             WebPage page);
