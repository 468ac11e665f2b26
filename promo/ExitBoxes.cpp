#include "promo/ExitBoxes.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>

BlankRefusal::BlankRefusal(QLineEdit* box)
    : QValidator(box), box(box), allowedBlanks(box->text().count(u' ')) {}

QValidator::State BlankRefusal::validate(QString& input, int& /*position*/) const {
    // setText() resets the modified flag before the text is checked, and every edit of the user
    // sets it: an unmodified text is the program's own and sets the allowance.
    if (!box->isModified()) {
        allowedBlanks = input.count(u' ');
        return Acceptable;
    }
    if (input.count(u' ') > allowedBlanks) {
        // The box asks again while the refusal is being told (the message box takes the focus,
        // and a box losing the focus checks its text, twice): one edit, one message.
        if (!telling) {
            telling = true;
            emit refused();
            telling = false;
        }
        return Invalid;
    }
    return Acceptable;
}

LimitedPlainTextEdit::LimitedPlainTextEdit(const QString& text, int maxLength, QWidget* parent)
    : QPlainTextEdit(text.left(maxLength), parent), limit(maxLength) {}

qsizetype LimitedPlainTextEdit::room() const {
    const QTextCursor cursor = textCursor();
    // characterCount() counts the closing paragraph separator as well.
    const qsizetype kept =
        document()->characterCount() - 1 - (cursor.selectionEnd() - cursor.selectionStart());
    return qMax<qsizetype>(0, limit - kept);
}

QString NormalizeLineBreaks(const QString& text) {
    if (!text.contains(u'\r')) {
        return text;
    }
    QString normal = text;
    normal.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normal.replace(u'\r', u'\n');
    return normal;
}

void LimitedPlainTextEdit::insertFromMimeData(const QMimeData* source) {
    if (isReadOnly() || !source || !source->hasText()) {
        return;
    }
    const qsizetype free = room();
    // Only the part that can go in is looked at: twice the room leaves enough for CR LF pairs.
    QString text = NormalizeLineBreaks(source->text().left(2 * free)).left(free);
    QTextCursor cursor = textCursor();
    cursor.insertText(text); // replaces the selection, as a line edit does
    setTextCursor(cursor);
    ensureCursorVisible();
}

void LimitedPlainTextEdit::keyPressEvent(QKeyEvent* event) {
    const bool lineBreak = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const QString typed = event->text();
    const bool typesText = !(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) &&
                           (lineBreak || (!typed.isEmpty() && typed.front().isPrint()));
    if (typesText && !isReadOnly()) {
        const qsizetype length = lineBreak ? 1 : typed.size();
        if (length > room()) {
            event->accept(); // a full box takes no more, as a line edit at its maximum
            return;
        }
    }
    QPlainTextEdit::keyPressEvent(event);
}

void LimitedPlainTextEdit::inputMethodEvent(QInputMethodEvent* event) {
    const QString committed = event->commitString();
    const qsizetype free = room() + event->replacementLength();
    if (committed.size() <= free) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent cut(event->preeditString(), event->attributes());
    cut.setCommitString(committed.left(free), event->replacementStart(),
                        event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&cut);
}
