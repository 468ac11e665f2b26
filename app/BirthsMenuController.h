#pragma once

#include "library/BirthLibrary.h"

#include <QDeadlineTimer>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <memory>
#include <optional>

class QFutureWatcherBase;
class QMenu;
class QWidget;

// A library's failure in a message box: its message as the text, the database's own words in the
// details.
void ShowLibraryError(const LibraryError& error, QWidget* parent);

// The library behind the input window's births items. The window's own connection never waits
// for another writer: a save that finds the library busy is tried again from the event loop
// until the writer is done (or the patience runs out, when it is reported as busy). Import,
// export and backup run in a worker thread on a connection of their own. Messages and questions
// go through the message seam with the window as their parent.
class BirthsMenuController : public QObject {
    Q_OBJECT
  public:
    explicit BirthsMenuController(QWidget* window);
    ~BirthsMenuController() override;

    // The library, opened at its first use. A fault is told then (a corrupt file offers a new
    // library, keeping the old file beside it), naming `action` as what was not done; null when it
    // cannot be used.
    BirthLibrary* library(LibraryAction action = LibraryAction::Open);

    // Saves the birth; asks before replacing one of the same name and date. Returns at once:
    // `saved` follows when the library has it, or a message tells why not.
    void save(const SavedBirth& birth);
    bool isSaving() const { return pending_.has_value(); }

    // File > Import Births, Export Births, Back Up Births: ask for a file, then work in a worker.
    void importBirths();
    void exportBirths();
    void backUpBirths();
    // File > Restore Births: asks for a backup, counts the births of both files in a worker, asks
    // naming both, and restores in a worker.
    void restoreBirths();
    bool isWorking() const { return !worker_.isNull(); }

    // The recent births, newest first ("YYYY-MM-DD NAME"), at most recentBirthCount.
    QStringList recent() const;
    // Puts a birth first among the recent ones.
    void remember(const SavedBirth& birth);
    // Fills `menu` with the recent births (mnuRecentBirths_0 ...), and again whenever they change
    // (from the event loop, as the item chosen may be the one replaced); disabled when empty.
    void fillRecentMenu(QMenu* menu);

    // How long a save waits for another writer before it reports the library busy. Only tests
    // set it: without, a test would wait the whole default before it sees the busy report.
    void setPatience(int milliseconds) { patienceMs_ = milliseconds; }

    static constexpr int recentBirthCount = 5;

  signals:
    void saved(const SavedBirth& birth);
    // A recent birth was chosen and read from the library.
    void recentChosen(const SavedBirth& birth);
    // A passing state for the window's status line ("Importing births…"); empty when done.
    void statusChanged(const QString& text);
    // The library's births were replaced by a backup's.
    void restored();

  private:
    void trySave();
    // Runs `work` in a worker; `done` gets its message on the window thread.
    template <typename Result, typename Work, typename Done>
    void runWorker(Work work, Done done);
    bool refuseWhileWorking();
    // The library for a File item's work; null (and told) while a worker runs or when the
    // library cannot be used.
    BirthLibrary* libraryForWork(LibraryAction action);
    // The window messages and questions stand over.
    QWidget* messageParent() const;

    QWidget* window_;
    std::unique_ptr<BirthLibrary> library_;
    struct PendingSave {
        SavedBirth birth;
        bool replace = false;
        QDeadlineTimer deadline;
    };
    std::optional<PendingSave> pending_;
    QTimer retry_;
    int patienceMs_ = 15000;
    void refillRecentMenu();

    QPointer<QFutureWatcherBase> worker_;
    QPointer<QMenu> recentMenu_;
};
