#pragma once

#include <QDateTime>
#include <QSet>
#include <QString>

#include <functional>
#include <optional>
#include <variant>
#include <vector>

// One saved birth, its fields as the input window holds them.
struct SavedBirth {
    qint64 id = 0; // 0 until stored
    QString name;  // capitals and blanks, as the name box holds it
    int year = 0;
    int month = 1; // 1..12
    int day = 1;
    int hour = 0;
    int minute = 0;
    QString longitudeDegrees; // txtLonD as typed
    QString longitudeMinutes; // txtLonM
    bool east = true;
    QString latitudeDegrees; // txtLatD
    QString latitudeMinutes; // txtLatM
    bool south = false;
    QString zoneRow; // the zone list's text; empty for a birth known by its IANA zone only
    bool daylightSaving = false;
    QString city;
    QString state;
    QString country;
    QString ianaZone;                 // from the place finder or --tz; may be empty
    std::optional<int> offsetSeconds; // the zone's exact offset at the birth, with the IANA zone
    QString note;                     // at most maxNoteLength characters
    QDateTime created;                // universal time
    QDateTime changed;

    bool operator==(const SavedBirth&) const = default;
};

// The longest note, in characters (UTF-16 code units counted as Qt counts a QString's length).
inline constexpr qsizetype maxNoteLength = 2000;

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
    Unwritable, // the folder or file cannot be made or written
    Corrupt,    // the file is not a library of births (damaged, or another program's)
    Newer,      // written by a newer version of the program
    Busy,       // another user holds the library for longer than the wait allows
    Failed      // any other database failure
};

struct LibraryError {
    LibraryFault fault;
    QString message; // for the user: what happened and, where it helps, the file's path
};

// The input window's rule for a name: not blank, capital letters and blanks only (a small letter
// counts as its capital, as the name box makes it one). The box's own message when it fails.
std::optional<QString> NameFault(const QString& name);
// The name as the name box would hold it: small letters made capitals.
QString NameAsHeld(const QString& name);

// Text folded for searching: compatibility decomposition, accents dropped, case folded.
QString SearchFolded(const QString& text);

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

    // Opens the file, making it (and its folder) when missing and migrating an older schema in
    // one transaction. A corrupt, foreign or newer file is left exactly as it is.
    std::optional<LibraryError> Open();
    // After a Corrupt error: renames the file beside itself (the new name is returned through
    // `keptAs`) and opens a new, empty library at the path.
    std::optional<LibraryError> StartNew(QString* keptAs = nullptr);

    // Saves a birth as new; a birth of the same name and date is replaced when `replace`, and
    // otherwise refused as Exists. The birth's id, created and changed times are set.
    enum class SaveOutcome { Saved, Exists };
    std::variant<SaveOutcome, LibraryError> Save(SavedBirth& birth, bool replace);

    // Adds many births in one transaction: all of them or none. Births whose name and date are
    // already saved are replaced when `replace`; the caller has refused them otherwise.
    // `afterRow` is called after each row is written (and may stop the process there).
    std::optional<LibraryError>
    AddAll(std::vector<SavedBirth>& births, bool replace,
           const std::function<void(qint64 rowsWritten)>& afterRow = {});

    // The saved birth of this name (case ignored) and date, if any.
    std::variant<std::optional<SavedBirth>, LibraryError> Find(const QString& name, int year,
                                                               int month, int day);
    // Births whose name matches, case ignored, ordered by date.
    std::variant<std::vector<SavedBirth>, LibraryError> FindByName(const QString& name);
    std::variant<std::optional<SavedBirth>, LibraryError> Load(qint64 id);

    // Ids of the births whose name or place holds `text` (case and accents ignored), in `order`;
    // every birth when the text is blank.
    std::variant<std::vector<qint64>, LibraryError> Search(const QString& text,
                                                           BirthOrder order = {});

    // Every birth, ordered by name and date, passed one by one.
    std::optional<LibraryError> ForEach(const std::function<void(const SavedBirth&)>& visit);

    // Sets the note and the time of the last change; the same note again changes nothing.
    std::optional<LibraryError> SetNote(qint64 id, const QString& note);
    std::optional<LibraryError> Remove(qint64 id);
    std::variant<qint64, LibraryError> Count();
    // The BirthKey of every saved birth.
    std::variant<QSet<QString>, LibraryError> KnownBirths();

    // A consistent copy of the library, write-ahead log included, while it is in use
    // (VACUUM INTO). An existing target is refused.
    std::optional<LibraryError> Backup(const QString& target);

  private:
    std::optional<LibraryError> Prepare();
    LibraryError ErrorOf(const class QSqlError& error, const QString& doing) const;

    QString path_;
    QString connection_;
    int busyTimeoutMs_;
    bool open_ = false;
};

// How a birth is known in the library: its name (case ignored) and birth date.
QString BirthKey(const QString& name, int year, int month, int day);

// A birth's date and time as the batch and the list write them: "1990-08-15", "10:30".
QString BirthDateText(int year, int month, int day);
inline QString BirthDateText(const SavedBirth& birth) {
    return BirthDateText(birth.year, birth.month, birth.day);
}
QString BirthTimeText(const SavedBirth& birth);
// Its coordinates from the boxes' texts as the batch writes them: "077:13E", "28:39N".
QString BirthLongitudeText(const SavedBirth& birth);
QString BirthLatitudeText(const SavedBirth& birth);
