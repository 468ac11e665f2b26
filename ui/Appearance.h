#pragma once

#include <QPixmap>
#include <QString>

class QLabel;
class QWidget;

// The caption of every window of the program.
inline const QString programTitle = QStringLiteral("Korvani v1.20");

// Draws an SVG picture at `size` logical pixels, at the screen's pixel ratio so that it stays
// sharp on high-density screens. A null pixmap when the picture cannot be read.
QPixmap renderPicture(const QString& file, QSize size);

// Gives a label the colour that tells the user it is a link.
void showAsLink(QLabel* label);

// A word-wrapped label with its control name.
QLabel* makeWrappedLabel(QWidget* parent, const char* name, const QString& text);

// Makes a label the bold title line of a small window, `scale` times its font size.
void showAsTitle(QLabel* label, qreal scale);
