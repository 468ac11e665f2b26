#pragma once

#include "app/InputFilters.h"

#include <QLineEdit>

// A text box whose typed, pasted, dropped and composed text passes the input window's
// keystroke rules (InputFilters.h) before it reaches the box. Keys that type no character
// (arrows, Tab, Delete, Backspace, shortcuts such as copy and undo) work as usual.
class FilteredLineEdit : public QLineEdit {
    Q_OBJECT
  public:
    enum class Rule { Name, Coordinate };

    explicit FilteredLineEdit(Rule rule, QWidget* parent = nullptr);

    // Puts a text into the box at the cursor as a paste does, through the box's rule.
    void pasteFiltered(const QString& text);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    KeystrokeVerdict filterKey(char16_t code) const;
    PasteVerdict filterPaste(const QString& text) const;
    void tell(MessageIcon icon, const QString& message);
    // Characters that may still go in; a paste first removes the selection, a drop does not.
    qsizetype room(bool replacesSelection) const;

    Rule rule_;
};
