#pragma once

#include <QPixmap>
#include <QString>

class QLabel;

// The caption of every window of the program.
inline const QString programTitle = QStringLiteral("Korvani v1.20");

// Draws an SVG picture at `size` logical pixels, at the screen's pixel ratio so that it stays
// sharp on high-density screens. A null pixmap when the picture cannot be read.
QPixmap renderPicture(const QString& file, QSize size);

// Gives a label the colour that tells the user it is a link.
void showAsLink(QLabel* label);
