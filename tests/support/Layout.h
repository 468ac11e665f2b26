#pragma once

#include <QLabel>
#include <QStringList>
#include <QWidget>

// The visible word-wrapped labels of a window that are lower than their text needs at their
// width, i.e. whose text the user would see cut off.
inline QStringList clippedLabels(const QWidget& window) {
    QStringList clipped;
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (label->isVisibleTo(&window) && label->wordWrap() && !label->text().isEmpty() &&
            label->height() < label->heightForWidth(label->width())) {
            clipped << label->objectName();
        }
    }
    return clipped;
}
