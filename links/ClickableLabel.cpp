#include "links/ClickableLabel.h"

#include "links/Appearance.h"

#include <QMouseEvent>

ClickableLabel::ClickableLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setCursor(Qt::PointingHandCursor);
}

void ClickableLabel::mousePressEvent(QMouseEvent* event) {
    // Accepting the press makes the release come back to this label.
    if (event->button() == Qt::LeftButton) {
        event->accept();
        return;
    }
    QLabel::mousePressEvent(event);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
    // A release outside the label is the user changing their mind.
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        event->accept();
        emit clicked();
        return;
    }
    QLabel::mouseReleaseEvent(event);
}

ClickableLabel* makePageLink(QWidget* parent, const QString& objectName, const QString& text,
                             WebPage page) {
    auto* label = new ClickableLabel(text, parent);
    label->setObjectName(objectName);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    showAsLink(label);
    QObject::connect(label, &ClickableLabel::clicked, label, [page] { openWebPage(page); });
    return label;
}
