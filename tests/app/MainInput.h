#pragma once

// Keyboard and mouse input for the input-window tests, delivered to a widget as a person's
// keys and clicks would arrive: shortcuts (access keys, menus) first, then the key itself.

#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QWidget>

// Exported by Qt GUI for its own test library: offers a key to the shortcut map (after the
// ShortcutOverride round) and says whether a shortcut took it.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k,
                                               Qt::KeyboardModifiers mods, const QString& text,
                                               bool autorep, ushort count);

namespace input {

// The text a key types on a plain keyboard.
inline QString typedText(int key, Qt::KeyboardModifiers modifiers) {
    if (modifiers & (Qt::ControlModifier | Qt::MetaModifier)) {
        return {};
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        const QChar letter(u'a' + (key - Qt::Key_A));
        return (modifiers & Qt::ShiftModifier) ? QString(letter.toUpper()) : QString(letter);
    }
    if (key >= Qt::Key_Space && key <= Qt::Key_AsciiTilde) {
        return QString(QChar(key));
    }
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return QStringLiteral("\r");
    case Qt::Key_Backspace:
        return QStringLiteral("\b");
    case Qt::Key_Tab:
        return QStringLiteral("\t");
    case Qt::Key_Delete:
        return QString(QChar(0x7f));
    default:
        return {};
    }
}

// Press and release one key at `widget` (normally the focus widget), with its typed text.
inline void keyClick(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                     QString text = QString(u'\uffff')) {
    if (text == QString(u'\uffff')) {
        text = typedText(key, modifiers);
    }
    if (qt_sendShortcutOverrideEvent(widget, 0, key, modifiers, text, false, 1)) {
        return; // a shortcut took the key
    }
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(widget, &release);
}

// Types a text character by character.
inline void keyClicks(QWidget* widget, const QString& text) {
    for (QChar character : text) {
        const QChar upper = character.toUpper();
        const int key = upper.unicode() < 0x80 ? int(upper.unicode()) : int(Qt::Key_unknown);
        const Qt::KeyboardModifiers modifiers =
            character.isUpper() ? Qt::ShiftModifier : Qt::NoModifier;
        keyClick(widget, key, modifiers, QString(character));
    }
}

// A left click in the middle of the widget.
inline void mouseClick(QWidget* widget, Qt::MouseButton button = Qt::LeftButton) {
    const QPointF centre = QRectF(widget->rect()).center();
    const QPointF global = widget->mapToGlobal(centre);
    QMouseEvent press(QEvent::MouseButtonPress, centre, centre, global, button, button,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, centre, global, button, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

} // namespace input
