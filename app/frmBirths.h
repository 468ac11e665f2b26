#pragma once

#include "library/BirthLibrary.h"

#include <QAbstractTableModel>
#include <QDialog>
#include <QHash>
#include <QTimer>

#include <vector>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTreeView;

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

  signals:
    // The user opened this birth; the window has closed.
    void birthChosen(const SavedBirth& birth);

  public slots:
    void cmdOpenBirth_Click();
    void cmdDeleteBirth_Click();

  private:
    void sortByColumn(int column, Qt::SortOrder direction);
    void showSelected();
    void showTimes(const SavedBirth* birth);
    void saveNote();
    // Writes the notes typed and not yet saved; while another writer holds the library they wait
    // and are tried again shortly, so the window never waits.
    void writeNotes();
    qint64 selectedId() const;

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
    QHash<qint64, QString> unsavedNotes_;
    QTimer noteRetry_;
    QString libraryPath_; // for notes still unsaved when the window goes
};
