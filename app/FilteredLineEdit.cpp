#include "app/FilteredLineEdit.h"

#include "ui/Messages.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>

namespace {

constexpr char16_t enterCode = 13;

// Whether a key event types characters that the keystroke rules must see. Keys that type nothing
// (arrows, Delete, Escape, Tab, function keys) and shortcuts do not.
bool TypesCharacters(const QKeyEvent& event) {
    if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) {
        return true;
    }
    const QString text = event.text();
    if (text.isEmpty() || !text.front().isPrint()) {
        return false;
    }
    const Qt::KeyboardModifiers held =
        event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    // Ctrl+Alt is how AltGr reaches us on Windows: it types characters.
    return held == Qt::NoModifier || held == (Qt::ControlModifier | Qt::AltModifier);
}

// An Alt or Meta key with a printable text that no shortcut took (an access key while the window
// is not active, say). A plain line edit would type its letter; here it types nothing.
bool IsUnclaimedAltKey(const QKeyEvent& event) {
    const QString text = event.text();
    return (event.modifiers() & (Qt::AltModifier | Qt::MetaModifier)) && !text.isEmpty() &&
           text.front().isPrint();
}

} // namespace

FilteredLineEdit::FilteredLineEdit(Rule rule, QWidget* parent) : QLineEdit(parent), rule_(rule) {}

KeystrokeVerdict FilteredLineEdit::filterKey(char16_t code) const {
    return rule_ == Rule::Name ? FilterNameKey(code) : FilterCoordinateKey(code);
}

PasteVerdict FilteredLineEdit::filterPaste(const QString& text) const {
    return rule_ == Rule::Name ? FilterNamePaste(text) : FilterCoordinatePaste(text);
}

void FilteredLineEdit::tell(MessageIcon icon, const QString& message) {
    ShowMessage(icon, message, window());
}

qsizetype FilteredLineEdit::room(bool replacesSelection) const {
    const qsizetype kept = text().size() - (replacesSelection ? selectedText().size() : 0);
    return qMax<qsizetype>(0, maxLength() - kept);
}

void FilteredLineEdit::pasteFiltered(const QString& text) {
    if (isReadOnly()) {
        return;
    }
    const PasteVerdict verdict = filterPaste(text);
    if (!verdict.text.isEmpty()) {
        // Replaces the selection. The text is cut to the room left here rather than by the box:
        // the box would copy the whole pasted text once for every character it keeps.
        insert(verdict.text.left(room(true)));
    }
    if (!verdict.message.isEmpty()) {
        tell(verdict.icon, verdict.message);
    }
}

void FilteredLineEdit::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) {
        pasteFiltered(QGuiApplication::clipboard()->text(QClipboard::Clipboard));
        event->accept();
        return;
    }
    if (!TypesCharacters(*event)) {
        if (IsUnclaimedAltKey(*event)) {
            event->ignore(); // on to the window, as an access key would go
            return;
        }
        QLineEdit::keyPressEvent(event);
        return;
    }

    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const QString typed = enter ? QString(QChar(enterCode)) : event->text();
    QString passed;
    for (QChar character : typed) {
        const KeystrokeVerdict verdict = filterKey(character.unicode());
        if (!verdict.accepted) {
            // One message per refused key; the key does not reach the box.
            event->accept();
            tell(verdict.icon, verdict.message);
            return;
        }
        passed.append(QChar(verdict.character));
    }
    if (enter || passed == event->text()) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    QKeyEvent changed(event->type(), event->key(), event->modifiers(), passed,
                      event->isAutoRepeat(), static_cast<ushort>(event->count()));
    QLineEdit::keyPressEvent(&changed);
    event->setAccepted(changed.isAccepted());
}

void FilteredLineEdit::inputMethodEvent(QInputMethodEvent* event) {
    const QString committed = event->commitString();
    if (committed.isEmpty()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    const PasteVerdict verdict = filterPaste(committed);
    QInputMethodEvent changed(event->preeditString(), event->attributes());
    changed.setCommitString(verdict.text.left(room(true) + event->replacementLength()),
                            event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(&changed);
    if (!verdict.message.isEmpty()) {
        tell(verdict.icon, verdict.message);
    }
}

void FilteredLineEdit::contextMenuEvent(QContextMenuEvent* event) {
    // The standard menu, with its Paste going through the box's rule.
    QMenu* menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // The Paste item shows the paste keys after a tab, whatever the language of its text.
    const QString pasteKeys =
        QLatin1Char('\t') + QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
    for (QAction* action : menu->actions()) {
        if (action->objectName() == QLatin1String("edit-paste") ||
            action->text().endsWith(pasteKeys)) {
            action->setObjectName(QStringLiteral("edit-paste"));
            disconnect(action, &QAction::triggered, this, nullptr);
            connect(action, &QAction::triggered, this, [this] {
                pasteFiltered(QGuiApplication::clipboard()->text(QClipboard::Clipboard));
            });
        }
    }
    menu->popup(event->globalPos());
}

void FilteredLineEdit::mouseReleaseEvent(QMouseEvent* event) {
    // The middle button pastes the selection where the system keeps one (X11).
    if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection() &&
        !isReadOnly()) {
        deselect();
        pasteFiltered(QGuiApplication::clipboard()->text(QClipboard::Selection));
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void FilteredLineEdit::dropEvent(QDropEvent* event) {
    if (!event->mimeData()->hasText() || isReadOnly()) {
        QLineEdit::dropEvent(event);
        return;
    }
    const QString dropped = event->mimeData()->text();
    const PasteVerdict verdict = filterPaste(dropped);
    // A drop lands beside the selection; what does not fit is cut here (see pasteFiltered).
    const qsizetype free = room(false);
    if (verdict.message.isEmpty() && verdict.text == dropped && dropped.size() <= free) {
        QLineEdit::dropEvent(event); // passes as it is, moves included
        return;
    }
    if (verdict.text.isEmpty()) {
        event->ignore(); // refused whole: the source keeps its text
    } else {
        deselect();
        setCursorPosition(cursorPositionAt(event->position().toPoint()));
        insert(verdict.text.left(free));
        event->setDropAction(Qt::CopyAction);
        event->accept();
    }
    if (!verdict.message.isEmpty()) {
        tell(verdict.icon, verdict.message);
    }
}
