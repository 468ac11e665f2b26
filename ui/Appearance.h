#pragma once

#include <QColor>
#include <QPixmap>
#include <QString>

#include <initializer_list>

class QAbstractButton;
class QLabel;
class QObject;
class QWidget;

// The caption of every window of the program.
inline const QString programTitle = QStringLiteral("Korvani v1.20");

// Draws an SVG picture at `size` logical pixels, at the screen's pixel ratio so that it stays
// sharp on high-density screens. With a valid `ink` every drawn pixel takes that colour and keeps
// its opacity. A null pixmap when the picture cannot be read.
QPixmap RenderPicture(const QString& file, QSize size, const QColor& ink = {});

// The picture with every pixel in `ink`, each keeping its opacity.
QPixmap TintedPicture(const QPixmap& picture, const QColor& ink);

// The picture with its outer edge (a rim two device pixels wide) in `ink`, so that a picture in
// colours of its own stands out from any window.
QPixmap OutlinedPicture(const QPixmap& picture, const QColor& ink);

// Shows a picture in colours of its own on `label`, outlined in the text colour of the label's
// palette, and outlines it again whenever that palette changes.
void ShowWithOutline(QLabel* label, const QPixmap& picture);

// Shows a one-colour picture (a body symbol) on `label` in the text colour of the label's palette,
// and draws it again whenever that palette changes.
void ShowInTextColour(QLabel* label, const QPixmap& picture);

// Gives a label the colour that tells the user it is a link: the palette's link colour, or where
// that is too faint against the window, the nearest colour towards the text colour that reads.
// It follows later changes of the palette.
void ShowAsLink(QLabel* label);

// Gives a label the quiet grey of disabled text while it stays enabled, or where that grey is
// too faint against the window, the nearest colour towards the text colour that reads. It follows
// later changes of the palette.
void ShowAsQuiet(QLabel* label);

// A word-wrapped label with its control name.
QLabel* MakeWrappedLabel(QWidget* parent, const char* name, const QString& text);

// Makes a label the bold title line of a small window, `scale` times its font size.
void ShowAsTitle(QLabel* label, qreal scale);

// Outlines the circle of each radio button and the square of each check box in a colour drawn
// from the button's palette that stands out from the window colour, so that an empty circle or
// square shows in light and dark palettes alike. The drawing style it sets becomes a child of
// `owner`; made after the buttons, it is deleted after them when they are `owner`'s children too.
void OutlineIndicators(std::initializer_list<QAbstractButton*> buttons, QObject* owner);
