#pragma once

#include <QPlainTextEdit>
#include <QValidator>

class QLineEdit;

// Refuses every edit of an e-mail box that brings in a blank: typed, pasted, dropped or composed.
// The line edit itself undoes a refused edit whole, so the text before the edit is never tracked
// by hand. The number of blanks the box may hold is taken from the text last set by the program
// (the placeholder holds blanks); no edit of the user may go beyond it.
class BlankRefusal : public QValidator {
    Q_OBJECT
  public:
    explicit BlankRefusal(QLineEdit* box);

    State validate(QString& input, int& position) const override;

  signals:
    // An edit was refused; the box keeps the text it had before the edit. Emitted once per edit,
    // however often the box checks the refused text while the refusal is told.
    void refused() const;

  private:
    QLineEdit* box;
    mutable qsizetype allowedBlanks = 0;
    mutable bool telling = false; // a refusal is being told
};

// A box of several lines holding at most `maxLength` characters (a line break counts as one).
// Pasted, dropped and composed text is cut to the room left, as a line edit's maximum length
// cuts it; typing into a full box adds nothing.
class LimitedPlainTextEdit : public QPlainTextEdit {
    Q_OBJECT
  public:
    LimitedPlainTextEdit(const QString& text, int maxLength, QWidget* parent = nullptr);

    int maxLength() const { return limit; }

  protected:
    void insertFromMimeData(const QMimeData* source) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

  private:
    // Characters that may still go in, once the selection has made way.
    qsizetype room() const;

    int limit;
};

// Line breaks as the box keeps them: CR LF and CR become LF.
QString NormalizeLineBreaks(const QString& text);
