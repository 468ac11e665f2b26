#pragma once

#include "library/BirthLibrary.h"

#include <QAbstractTableModel>
#include <QDeadlineTimer>
#include <QDialog>
#include <QFutureWatcher>
#include <QHash>
#include <QTimer>

#include <optional>

#include <vector>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTreeView;

// Where a birth was: its city, state and country as far as they are known, else its coordinates
// ("28°39′N 77°13′E").
QString BirthPlaceText(const SavedBirth& birth);
// A birth named in full, so that two of one name read differently: "ASHA VERMA, born 1990-08-15
// at 10:30 in Delhi".
QString BirthSummaryText(const SavedBirth& birth);

// The saved births as rows of name, date, time and place. It holds only the ids; a birth is
// read from the library when its row is first shown.
class BirthListModel : public QAbstractTableModel {
  public:
    explicit BirthListModel(BirthLibrary& library, QObject* parent = nullptr);

    // Shows the births whose name or place holds `text`, in the current order; false (the rows
    // unchanged) when the library fails, the fault passed through `fault`.
    bool search(const QString& text, LibraryError* fault = nullptr);
    // Shows the same births in another order. Persistent indexes (the view's selection and
    // current row) follow their births to their new rows. False, as above, when the library fails.
    bool sortBy(BirthOrder order, LibraryError* fault = nullptr);
    BirthOrder order() const { return order_; }
    qint64 idAt(int row) const;
    // The birth of a row, read once and kept.
    const SavedBirth* birthAt(int row) const;
    // Forgets a kept birth, e.g. after its note changed.
    void forget(qint64 id) { loaded_.remove(id); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    BirthLibrary& library_;
    QString text_; // the search shown
    BirthOrder order_;
    std::vector<qint64> ids_;
    mutable QHash<qint64, SavedBirth> loaded_;
};

// The births window: search, pick, annotate, open or delete a saved birth.
class frmBirths : public QDialog {
    Q_OBJECT
  public:
    explicit frmBirths(BirthLibrary& library, QWidget* parent = nullptr);
    // Parts deleted with the window no longer reach the library, which may be gone already.
    ~frmBirths() override;

    // Fills the list afresh and puts the focus in the search box.
    void refresh();

    // How long a deletion waits for another writer before it reports the library busy. Only
    // tests set it.
    void setPatience(int milliseconds) { patienceMs_ = milliseconds; }

    // The pause in typing after which a note is saved.
    static constexpr int notePauseMs = 500;

  signals:
    // The user opened this birth; the window has closed.
    void birthChosen(const SavedBirth& birth);

  public slots:
    void cmdOpenBirth_Click();
    void cmdDeleteBirth_Click();

  protected:
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void sortByColumn(int column, Qt::SortOrder direction);
    void showSelected();
    void showTimes(const SavedBirth* birth);
    // Takes the note box's text as the note of the birth it shows; it is written after a pause
    // in typing, or at once (off the window thread) when `now`.
    void takeNote(bool now);
    // Writes the notes typed and not yet saved in a worker with a connection of its own, which
    // waits for another writer; one worker at a time, so that notes are written in order.
    void writeNotes();
    void notesWritten(const QHash<qint64, LibraryError>& faults);
    void tryRemove();
    // Open acts on the current birth, Delete on the selected one only.
    void enableActions();
    void showEmptyText();
    void followPalette();
    qint64 selectedId() const;
    // The row selected in view, or -1: Delete acts on nothing else.
    int selectedRow() const;

    BirthLibrary& library_;
    BirthListModel* model_ = nullptr;
    QLineEdit* txtSearchBirths = nullptr;
    QTreeView* lstBirths = nullptr;
    QPlainTextEdit* txtBirthNote = nullptr;
    QLabel* lblBirthTimes = nullptr;
    QPushButton* cmdOpenBirth = nullptr;
    QPushButton* cmdDeleteBirth = nullptr;
    QPushButton* cmdCloseBirths = nullptr;
    qint64 noteOwner_ = 0; // the birth whose note the box shows
    QString noteShown_;    // the note as shown or last saved, to tell an edit from a move
    QLabel* lblNoBirths = nullptr;
    QLabel* lblBirthsStatus = nullptr;
    QHash<qint64, QString> unsavedNotes_;
    QHash<qint64, QString> writingNotes_;                    // in the worker's hands
    QFutureWatcher<QHash<qint64, LibraryError>> noteWriter_; // the faults, by birth
    QTimer notePause_;
    QString libraryPath_; // for the notes' worker and for notes still unsaved when the window goes
    struct PendingRemove {
        qint64 id = 0;
        QDeadlineTimer deadline;
    };
    std::optional<PendingRemove> pendingRemove_;
    QTimer removeRetry_;
    int patienceMs_ = 15000;
};
