#pragma once

#include "library/SavedBirth.h"

#include <QSet>
#include <QString>
#include <QVariantList>

#include <functional>
#include <optional>
#include <variant>
#include <vector>

// The schema version the program writes (PRAGMA user_version).
inline constexpr int birthLibrarySchemaVersion = 3;

// The orders the births list offers: by one column, either way. Rows equal in that column follow
// one another by name, then date, always ascending; no two births share both, so every order is
// total.
enum class BirthOrderColumn {
    Name,  // case ignored
    Date,  // year, month, day
    Time,  // hour, minute
    Place, // city, then state, then country, each with case and accents ignored
};
struct BirthOrder {
    BirthOrderColumn column = BirthOrderColumn::Name;
    Qt::SortOrder direction = Qt::AscendingOrder;
    bool operator==(const BirthOrder&) const = default;
};

// Why the library could not do what was asked.
enum class LibraryFault {
    Unwritable,  // the folder or file cannot be made or written
    NotALibrary, // the file is not a library of births: damaged, or another program's
    Newer,       // written by a newer version of the program
    Busy,        // another user holds the library for longer than the wait allows
    Gone,        // the birth asked for is no longer in the library
    Missing,     // there is no library at the path, and reading does not make one
    Failed       // any other database failure
};

// Fields that a source of births may not carry. A birth stored over a saved one keeps the saved
// values of the fields its source leaves out.
struct FieldsLeftOut {
    bool note = false;
    bool place = false;    // city, state and country
    bool ianaZone = false; // the IANA zone beside a zone-list row, with its offset
};

// What storing one birth did.
enum class StoreOutcome {
    Added,     // a new birth
    Replaced,  // written over the saved birth of its name and date, which keeps its id
    Unchanged, // the saved birth already held every field
    Exists     // the saved birth was kept, as replacing was not asked for
};

// The fault of an SQLite result code, primary or extended (sqlite3.h).
LibraryFault FaultOfSqliteCode(int code);

struct LibraryError {
    LibraryFault fault;
    QString message;      // for the user: what was not done and why, naming the file where it helps
    QString details = {}; // the database's own words, for a message's details
};

// What the library was asked to do, which a message about its failure names.
enum class LibraryAction { Open, Read, Save, Import, SaveNote, Delete, BackUp, Restore };

// What a restore did.
struct RestoreOutcome {
    qint64 restored = 0;        // the births of the backup, now the library's
    std::optional<qint64> held; // the births the library held before; none when there was none
    QString keptAs;             // where the library as it was is kept; empty when there was none
};

// The library of saved births: one SQLite file. Every change is one transaction, and values are
// always bound. Each object holds its own connection and belongs to the thread that made it.
class BirthLibrary {
  public:
    // `busyTimeoutMs`: how long a statement waits for another user's transaction to end.
    explicit BirthLibrary(QString path, int busyTimeoutMs = 10000);
    ~BirthLibrary();
    BirthLibrary(const BirthLibrary&) = delete;
    BirthLibrary& operator=(const BirthLibrary&) = delete;

    // births.sqlite in korvani/ under the generic data folder, or in $KORVANI_DATA_DIR.
    static QString DefaultPath();

    const QString& Path() const { return path_; }
    // After Open: the library cannot be written, and was opened for reading only.
    bool ReadOnly() const { return readOnly_; }

    // Opens the file, making it (and its folder) when missing and migrating an older schema in
    // one transaction. A corrupt, foreign or newer file is left exactly as it is.
    // A failure's message names `action` as what was not done.
    std::optional<LibraryError> Open(LibraryAction action = LibraryAction::Open);
    // After a NotALibrary error: renames the file beside itself (the new name is returned through
    // `keptAs`) and opens a new, empty library at the path.
    std::optional<LibraryError> StartNew(QString* keptAs = nullptr);

    // Saves a birth as new; a birth of the same name and date is replaced when `replace`, and
    // otherwise refused as Exists. The birth's id, created and changed times are set. A birth
    // without a note keeps the saved birth's note (the input window has no note box).
    enum class SaveOutcome { Saved, Exists };
    std::variant<SaveOutcome, LibraryError> Save(SavedBirth& birth, bool replace);

    // Stores many births in one transaction: all of them or none. A birth whose name and date
    // are already saved replaces the saved one when `replace` (keeping its id, its time of
    // creation and the fields `leftOut` names for it) and is otherwise left out as Exists.
    // `leftOut` is empty or has one entry per birth; `outcomes`, when given, receives one per
    // birth. `afterRow` is called after each row is written (and may stop the process there).
    std::optional<LibraryError> AddAll(std::vector<SavedBirth>& births, bool replace,
                                       const std::function<void(qint64 rowsWritten)>& afterRow = {},
                                       const std::vector<FieldsLeftOut>& leftOut = {},
                                       std::vector<StoreOutcome>* outcomes = nullptr);

    // The saved birth of this name (case ignored) and date, if any.
    std::variant<std::optional<SavedBirth>, LibraryError> Find(const QString& name, int year,
                                                               int month, int day);
    // Births whose name matches, case ignored, ordered by date.
    std::variant<std::vector<SavedBirth>, LibraryError> FindByName(const QString& name);
    std::variant<std::optional<SavedBirth>, LibraryError> Load(qint64 id);

    // Ids of the births whose name or place holds `text` (case and accents ignored), or whose
    // birth date it names (see DateSearchOf), in `order`; every birth when the text is blank.
    std::variant<std::vector<qint64>, LibraryError> Search(const QString& text,
                                                           BirthOrder order = {});

    // Every birth, ordered by name and date, passed one by one.
    std::optional<LibraryError> ForEach(const std::function<void(const SavedBirth&)>& visit);

    // Sets the note and the time of the last change; the same note again changes nothing. A
    // birth that is no longer saved is reported as Gone.
    std::optional<LibraryError> SetNote(qint64 id, const QString& note);
    std::optional<LibraryError> Remove(qint64 id);
    // The BirthKey of every saved birth.
    std::variant<QSet<QString>, LibraryError> KnownBirths();

    // A consistent copy of the library, write-ahead log included, while it is in use
    // (VACUUM INTO). An existing target is refused.
    std::optional<LibraryError> Backup(const QString& target);

    // Checks that the file at `backup` is a library of births of this or an older version and
    // undamaged (PRAGMA quick_check), and counts its births. Writes nothing to it.
    static std::variant<qint64, LibraryError> BirthsInBackup(const QString& backup);
    // How many births the library holds.
    std::variant<qint64, LibraryError> Count();
    // Replaces the library with the backup, after checking it as BirthsInBackup does. The library
    // as it was is first kept beside it (its path + ".before-restore-" + the time), then the
    // backup's pages are copied over it in one transaction (SQLite's online backup), so that the
    // file is either the old library or the restored one, whole, whenever the copy stops. An
    // older backup is brought up to date at once. `afterStep` is called after each step of the
    // copy but the last (and may stop the process there). On a failure nothing has changed.
    std::variant<RestoreOutcome, LibraryError>
    Restore(const QString& backup, const std::function<void(qint64 stepsDone)>& afterStep = {});

  private:
    std::optional<LibraryError> Prepare();
    void Close();
    // Open for the reading calls: a missing file is reported as Missing, never made.
    std::optional<LibraryError> OpenToRead(LibraryAction action);
    std::optional<LibraryError> OpenNow();
    // PRAGMA quick_check once before the first write of this object: a damaged file is refused
    // before anything is written to it.
    std::optional<LibraryError> CheckBeforeWriting();
    LibraryError NotALibraryError(const QString& detail) const;
    // The births a WHERE clause picks (a fixed text, never made from input, which may end in an
    // ORDER BY), with `values` bound to its placeholders in order; SelectOne gives the first.
    std::variant<std::vector<SavedBirth>, LibraryError> Select(const char* where,
                                                               const QVariantList& values);
    std::variant<std::optional<SavedBirth>, LibraryError> SelectOne(const char* where,
                                                                    const QVariantList& values);
    // A database failure, its message naming action_ and the cause in the user's words.
    LibraryError ErrorOf(const class QSqlError& error) const;
    // "The birth was not saved: " and the like, for action_.
    QString Failed(const QString& cause) const;

    QString path_;
    QString connection_;
    int busyTimeoutMs_;
    bool open_ = false;
    bool checked_ = false;
    bool readOnly_ = false;
    LibraryAction action_ = LibraryAction::Open; // what the call under way does
};
