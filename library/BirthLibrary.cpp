#include "library/BirthLibrary.h"

#include "library/BirthSchema.h"
#include "library/DateSearch.h"
#include "library/SqlTransaction.h"

#include <QAtomicInteger>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QThread>
#include <QUrl>
#include <QVariant>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include <sqlite3.h>
#include <unistd.h>

namespace {

// SQLite's primary result codes (sqlite3.h), as the QSQLITE driver reports them.
constexpr int sqlitePerm = 3;
constexpr int sqliteBusy = 5;
constexpr int sqliteLocked = 6;
constexpr int sqliteReadOnly = 8;
constexpr int sqliteIoError = 10;
constexpr int sqliteCorrupt = 11;
constexpr int sqliteFull = 13;
constexpr int sqliteCantOpen = 14;
constexpr int sqliteNotADatabase = 26;

const QString fileName = QStringLiteral("births.sqlite");

// Page caches as PRAGMA cache_size takes them: negative numbers are KiB. SQLite's default is
// -2000 (SQLITE_DEFAULT_CACHE_SIZE, sqlite.org/pragma.html#pragma_cache_size); an import of
// 100,000 births touches about 60 MiB of pages.
constexpr int defaultCacheKiB = -2000;
constexpr int importCacheKiB = -65536;

// How long a library's switch to the write-ahead log waits before it tries again.
constexpr unsigned long switchRetryMs = 10;

// Pages a restore copies in one step of SQLite's online backup (4 MiB at the usual 4 KiB).
constexpr int restorePagesPerStep = 1024;

const char* const columns =
    "id, name, year, month, day, hour, minute, lonDegrees, lonMinutes, east, latDegrees, "
    "latMinutes, south, zoneRow, dst, city, state, country, ianaZone, offsetSeconds, note, "
    "created, changed";

// A moment as the library stores it: universal time in ISO 8601 with milliseconds,
// "2026-12-08T15:23:44.123Z"; and back, an unreadable text giving an invalid time.
QString StampText(const QDateTime& time) {
    return time.toUTC().toString(Qt::ISODateWithMs);
}

QDateTime StampOf(const QString& text) {
    QDateTime time = QDateTime::fromString(text, Qt::ISODateWithMs);
    return time.isValid() ? time.toUTC() : QDateTime();
}

SavedBirth RowOf(const QSqlQuery& query) {
    SavedBirth birth;
    int at = 0;
    const auto next = [&] { return query.value(at++); };
    birth.id = next().toLongLong();
    birth.name = next().toString();
    birth.year = next().toInt();
    birth.month = next().toInt();
    birth.day = next().toInt();
    birth.hour = next().toInt();
    birth.minute = next().toInt();
    birth.longitudeDegrees = next().toString();
    birth.longitudeMinutes = next().toString();
    birth.east = next().toBool();
    birth.latitudeDegrees = next().toString();
    birth.latitudeMinutes = next().toString();
    birth.south = next().toBool();
    birth.zoneRow = next().toString();
    birth.daylightSaving = next().toBool();
    birth.city = next().toString();
    birth.state = next().toString();
    birth.country = next().toString();
    birth.ianaZone = next().toString();
    const QVariant offset = next();
    if (!offset.isNull()) {
        birth.offsetSeconds = offset.toInt();
    }
    birth.note = next().toString();
    birth.created = StampOf(next().toString());
    birth.changed = StampOf(next().toString());
    return birth;
}

// A search reads the births in name order, as the births_search index holds them, and sorts them
// by the date or the time, or into descending names, here: over 100,000 births, SQLite's own sort
// of the found rows took longer than the search itself. Name and date together are unique in the
// library (births_known), so the read order is total, and a stable sort by an order's columns
// leaves its ties by name, then date, ascending. Sorting by place here took as long as SQLite
// does, so SQLite sorts the places.
const char* const nameOrder = "nameKey, year, month, day";
const char* const placeOrders[2] = {"placeKey, nameKey, year, month, day",
                                    "placeKey DESC, nameKey, year, month, day"};

// The columns read beside the id to sort by, for the name, date and time orders: fixed texts. A
// name is read as the bytes SQLite holds, which its BINARY order compares.
const char* const sortColumns[3] = {"CAST(nameKey AS BLOB)", "year, month, day", "hour, minute"};

// A birth found, with the integers it sorts by: the date or the time as they are, a name as its
// rank among the names found.
struct Found {
    qint64 id = 0;
    std::array<int, 3> keys{};
};

// A text for a NOT NULL column: Qt binds a null QString as NULL.
QString Text(const QString& text) {
    return text.isNull() ? QStringLiteral("") : text;
}

// StampText of the moment last asked for, kept: the births of one import share their times.
class StampTexts {
  public:
    const QString& Of(const QDateTime& time) {
        if (time != time_ || text_.isNull()) {
            time_ = time;
            text_ = StampText(time);
        }
        return text_;
    }

  private:
    QDateTime time_;
    QString text_;
};

// Binds the stored fields of a birth, in the order of `columns` after the id, then the keys.
void BindFields(QSqlQuery& query, const SavedBirth& birth, StampTexts& stamps) {
    query.addBindValue(Text(birth.name));
    query.addBindValue(birth.year);
    query.addBindValue(birth.month);
    query.addBindValue(birth.day);
    query.addBindValue(birth.hour);
    query.addBindValue(birth.minute);
    query.addBindValue(Text(birth.longitudeDegrees));
    query.addBindValue(Text(birth.longitudeMinutes));
    query.addBindValue(birth.east ? 1 : 0);
    query.addBindValue(Text(birth.latitudeDegrees));
    query.addBindValue(Text(birth.latitudeMinutes));
    query.addBindValue(birth.south ? 1 : 0);
    query.addBindValue(Text(birth.zoneRow));
    query.addBindValue(birth.daylightSaving ? 1 : 0);
    query.addBindValue(Text(birth.city));
    query.addBindValue(Text(birth.state));
    query.addBindValue(Text(birth.country));
    query.addBindValue(Text(birth.ianaZone));
    query.addBindValue(birth.offsetSeconds ? QVariant(*birth.offsetSeconds)
                                           : QVariant(QMetaType::fromType<int>()));
    query.addBindValue(Text(birth.note));
    query.addBindValue(stamps.Of(birth.created));
    query.addBindValue(stamps.Of(birth.changed));
    query.addBindValue(NameKey(birth.name));
    query.addBindValue(SearchKey(birth));
    query.addBindValue(PlaceKey(birth));
}

const char* const insertStatement =
    "INSERT INTO births (name, year, month, day, hour, minute, lonDegrees, lonMinutes, east, "
    "latDegrees, latMinutes, south, zoneRow, dst, city, state, country, ianaZone, offsetSeconds, "
    "note, created, changed, nameKey, searchKey, placeKey) "
    "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";

// The same fields written over a saved birth, which keeps its id.
const char* const updateStatement =
    "UPDATE births SET name = ?, year = ?, month = ?, day = ?, hour = ?, minute = ?, "
    "lonDegrees = ?, lonMinutes = ?, east = ?, latDegrees = ?, latMinutes = ?, south = ?, "
    "zoneRow = ?, dst = ?, city = ?, state = ?, country = ?, ianaZone = ?, offsetSeconds = ?, "
    "note = ?, created = ?, changed = ?, nameKey = ?, searchKey = ?, placeKey = ? WHERE id = ?";

// Stores births inside a transaction its caller holds, with the statements prepared once for
// many births.
class BirthWriter {
  public:
    explicit BirthWriter(const QSqlDatabase& db) : find_(db), insert_(db), update_(db) {
        find_.setForwardOnly(true);
        find_.prepare(QStringLiteral("SELECT %1 FROM births WHERE nameKey = ? AND year = ? AND "
                                     "month = ? AND day = ?")
                          .arg(QLatin1StringView(columns)));
        insert_.prepare(QString::fromLatin1(insertStatement) +
                        QStringLiteral(" ON CONFLICT DO NOTHING"));
        update_.prepare(QString::fromLatin1(updateStatement));
    }

    // A new birth is added with the times it carries, or `now`. Over the saved birth of its name
    // and date, when `replace`, it keeps the saved id, time of creation and values of the fields
    // left out, and its time of change moves to `now` only when a field differs. `birth` receives
    // what the library then holds, unless the outcome is Exists.
    std::variant<StoreOutcome, QSqlError> Store(SavedBirth& birth, bool replace,
                                                FieldsLeftOut leftOut, const QDateTime& now) {
        // A new birth is written at once; one whose name and date are saved writes nothing
        // here (the unique key refuses it) and is looked up.
        SavedBirth added = birth;
        added.created = birth.created.isValid() ? birth.created : now;
        added.changed = birth.changed.isValid() ? birth.changed : added.created;
        BindFields(insert_, added, stamps_);
        if (!insert_.exec()) {
            return insert_.lastError();
        }
        if (insert_.numRowsAffected() == 1) {
            added.id = insert_.lastInsertId().toLongLong();
            birth = added;
            return StoreOutcome::Added;
        }
        find_.addBindValue(NameKey(birth.name));
        find_.addBindValue(birth.year);
        find_.addBindValue(birth.month);
        find_.addBindValue(birth.day);
        if (!find_.exec()) {
            return find_.lastError();
        }
        if (!find_.next()) {
            return find_.lastError().isValid()
                       ? find_.lastError()
                       : QSqlError(QStringLiteral("no saved birth"),
                                   QStringLiteral("a birth refused as saved was not found"),
                                   QSqlError::StatementError);
        }
        const SavedBirth saved = RowOf(find_);
        find_.finish();
        if (!replace) {
            return StoreOutcome::Exists;
        }
        SavedBirth stored = birth;
        stored.id = saved.id;
        stored.created = saved.created.isValid() ? saved.created : now;
        if (leftOut.note) {
            stored.note = saved.note;
        }
        if (leftOut.place) {
            stored.city = saved.city;
            stored.state = saved.state;
            stored.country = saved.country;
        }
        // The saved zone's offset holds only for the same zone row at the same local time.
        if (leftOut.ianaZone && !stored.zoneRow.isEmpty() && stored.zoneRow == saved.zoneRow &&
            stored.hour == saved.hour && stored.minute == saved.minute) {
            stored.ianaZone = saved.ianaZone;
            stored.offsetSeconds = saved.offsetSeconds;
        }
        stored.changed = saved.changed;
        if (stored == saved) {
            birth = stored;
            return StoreOutcome::Unchanged;
        }
        stored.changed = now;
        BindFields(update_, stored, stamps_);
        update_.addBindValue(stored.id);
        if (!update_.exec()) {
            return update_.lastError();
        }
        birth = stored;
        return StoreOutcome::Replaced;
    }

  private:
    QSqlQuery find_;
    QSqlQuery insert_;
    QSqlQuery update_;
    StampTexts stamps_;
};

// LIKE's wildcards in a typed text taken literally (with ESCAPE '\').
QString LikeLiteral(const QString& text) {
    QString escaped;
    escaped.reserve(text.size() + 2);
    for (const QChar character : text) {
        if (character == u'%' || character == u'_' || character == u'\\') {
            escaped += u'\\';
        }
        escaped += character;
    }
    return escaped;
}

// A name beside `path` that no file has yet: the path, a tag and the time ("yyyyMMdd-HHmmss",
// which every file system takes), with "-2", "-3", ... when one is taken.
QString UnusedStampedName(const QString& path, const char* tag) {
    const QString stamp =
        QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString base = QStringLiteral("%1.%2-%3").arg(path, QLatin1StringView(tag), stamp);
    QString name = base;
    for (int n = 2; QFileInfo::exists(name); ++n) {
        name = QStringLiteral("%1-%2").arg(base).arg(n);
    }
    return name;
}

// The SQLite connection under a Qt connection, or null.
sqlite3* HandleOf(const QSqlDatabase& db) {
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0) {
        return nullptr;
    }
    return *static_cast<sqlite3* const*>(handle.constData());
}

// An SQLite result code as the QSQLITE driver reports one.
QSqlError SqliteError(int code) {
    return QSqlError(QString(), QString::fromUtf8(sqlite3_errstr(code)), QSqlError::StatementError,
                     QString::number(code));
}

// A restore's message: what was not done, then `cause`.
QString NotRestored(const QString& cause) {
    return QStringLiteral("The library of births was not restored: ") + cause;
}

// A file offered as a backup of the library, opened for reading only.
class BackupFile {
  public:
    explicit BackupFile(QString path) : path_(std::move(path)) {
        static QAtomicInteger<quint64> made;
        connection_ = QStringLiteral("korvani-backup-%1").arg(made.fetchAndAddRelaxed(1));
    }
    ~BackupFile() {
        if (QSqlDatabase::contains(connection_)) {
            QSqlDatabase::database(connection_, false).close();
            QSqlDatabase::removeDatabase(connection_);
        }
    }
    BackupFile(const BackupFile&) = delete;
    BackupFile& operator=(const BackupFile&) = delete;

    // Opens the file and checks that it is an undamaged library of births of this or an older
    // version; the count of its births.
    std::variant<qint64, LibraryError> Check() {
        const QString shown = QDir::toNativeSeparators(path_);
        const QFileInfo file(path_);
        if (!file.isFile()) {
            return LibraryError{LibraryFault::Missing,
                                NotRestored(QStringLiteral("there is no file %1.")).arg(shown)};
        }
        if (!file.isReadable()) {
            return LibraryError{
                LibraryFault::Failed,
                NotRestored(QStringLiteral("the file %1 cannot be read.")).arg(shown)};
        }
        // The database's own words go to the details.
        const auto refused = [&shown](const QString& details) {
            return LibraryError{LibraryFault::NotALibrary,
                                NotRestored(QStringLiteral("the file %1 is not a library of "
                                                           "births, or it is damaged."))
                                    .arg(shown),
                                details};
        };
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
        db.setDatabaseName(path_);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!db.open()) {
            return refused(db.lastError().databaseText());
        }
        const auto found = ReadSchema(db);
        if (const auto* error = std::get_if<QSqlError>(&found)) {
            return refused(error->databaseText());
        }
        const SchemaOnFile schema = std::get<SchemaOnFile>(found);
        if (schema.empty || schema.foreign) {
            return refused(schema.empty ? QStringLiteral("it is empty")
                                        : QStringLiteral("it belongs to another program"));
        }
        if (schema.version > birthLibrarySchemaVersion) {
            return LibraryError{LibraryFault::Newer,
                                NotRestored(QStringLiteral("the file %1 is a library of births "
                                                           "written by a newer version of Korvani "
                                                           "(schema %2; this version reads up to "
                                                           "%3)."))
                                    .arg(shown)
                                    .arg(schema.version)
                                    .arg(birthLibrarySchemaVersion)};
        }
        QSqlQuery query(db);
        query.setForwardOnly(true);
        if (!query.exec(QStringLiteral("PRAGMA quick_check"))) {
            return refused(query.lastError().databaseText());
        }
        QStringList problems;
        while (query.next()) {
            problems.append(query.value(0).toString());
        }
        if (query.lastError().isValid()) {
            return refused(query.lastError().databaseText());
        }
        if (problems != QStringList{QStringLiteral("ok")}) {
            return refused(problems.value(0));
        }
        if (!query.exec(QStringLiteral("SELECT count(*) FROM births")) || !query.next()) {
            return refused(query.lastError().databaseText());
        }
        return query.value(0).toLongLong();
    }

    sqlite3* Handle() const { return HandleOf(QSqlDatabase::database(connection_, false)); }

  private:
    QString path_;
    QString connection_;
};

} // namespace

BirthLibrary::BirthLibrary(QString path, int busyTimeoutMs)
    : path_(std::move(path)), busyTimeoutMs_(busyTimeoutMs) {
    static QAtomicInteger<quint64> made;
    connection_ = QStringLiteral("korvani-births-%1").arg(made.fetchAndAddRelaxed(1));
}

BirthLibrary::~BirthLibrary() {
    if (QSqlDatabase::contains(connection_)) {
        QSqlDatabase::database(connection_, false).close();
        QSqlDatabase::removeDatabase(connection_);
    }
}

QString BirthLibrary::DefaultPath() {
    QString folder = qEnvironmentVariable("KORVANI_DATA_DIR");
    if (folder.isEmpty()) {
        folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                 QStringLiteral("/korvani");
    }
    return QDir(folder).filePath(fileName);
}

LibraryError BirthLibrary::NotALibraryError(const QString& detail) const {
    return {LibraryFault::NotALibrary,
            QStringLiteral("The file %1 is not a library of births, or it is damaged. It has not "
                           "been changed.")
                .arg(QDir::toNativeSeparators(path_)),
            detail};
}

LibraryFault FaultOfSqliteCode(int code) {
    // An extended result code keeps its primary code in the low byte.
    switch (code & 0xff) {
    case sqliteBusy:
    case sqliteLocked:
        return LibraryFault::Busy;
    case sqliteCorrupt:
    case sqliteNotADatabase:
        return LibraryFault::NotALibrary;
    case sqlitePerm:
    case sqliteReadOnly:
    case sqliteIoError:
    case sqliteFull:
    case sqliteCantOpen:
        return LibraryFault::Unwritable;
    default:
        return LibraryFault::Failed;
    }
}

QString BirthLibrary::Failed(const QString& cause) const {
    static const char* const heads[] = {
        "The library of births could not be opened", // Open
        "The saved births could not be read",        // Read
        "The birth was not saved",                   // Save
        "No births were imported",                   // Import
        "The note was not saved",                    // SaveNote
        "The birth was not deleted",                 // Delete
        "The library of births was not backed up",   // BackUp
        "The library of births was not restored",    // Restore
    };
    return QLatin1StringView(heads[static_cast<std::size_t>(action_)]) + QStringLiteral(": ") +
           cause;
}

LibraryError BirthLibrary::ErrorOf(const QSqlError& error) const {
    const QString detail = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    const int code = error.nativeErrorCode().toInt();
    const QString file = QDir::toNativeSeparators(path_);
    const QString folder = QDir::toNativeSeparators(QFileInfo(path_).absolutePath());
    switch (FaultOfSqliteCode(code)) {
    case LibraryFault::Busy:
        return {LibraryFault::Busy,
                Failed(QStringLiteral("the library of births is busy: another window or "
                                      "command is writing to it. Please try again.")),
                detail};
    case LibraryFault::NotALibrary:
        return NotALibraryError(detail);
    case LibraryFault::Unwritable: {
        QString cause;
        if ((code & 0xff) == sqliteFull) {
            cause = QStringLiteral("the disk that holds %1 is full.").arg(folder);
        } else if ((code & 0xff) == sqliteIoError) {
            cause = QStringLiteral("the disk that holds %1 reported an error.").arg(file);
        } else if (::access(QFile::encodeName(QFileInfo(path_).absolutePath()).constData(), W_OK) !=
                   0) {
            cause = QStringLiteral("the folder %1 cannot be written.").arg(folder);
        } else if (QFileInfo::exists(path_) &&
                   ::access(QFile::encodeName(path_).constData(), W_OK) != 0) {
            cause = QStringLiteral("the file %1 cannot be written.").arg(file);
        } else {
            cause =
                QStringLiteral("the library of births %1 cannot be opened or written.").arg(file);
        }
        return {LibraryFault::Unwritable, Failed(cause), detail};
    }
    default:
        return {LibraryFault::Failed,
                Failed(QStringLiteral("the library of births %1 reported a fault.").arg(file)),
                detail};
    }
}

std::optional<LibraryError> BirthLibrary::Open(LibraryAction action) {
    action_ = action;
    return OpenNow();
}

std::optional<LibraryError> BirthLibrary::OpenNow() {
    if (open_) {
        return std::nullopt;
    }
    const QString folder = QFileInfo(path_).absolutePath();
    if (!QDir().mkpath(folder)) {
        return LibraryError{LibraryFault::Unwritable,
                            Failed(QStringLiteral("the folder %1 cannot be made. Charts can still "
                                                  "be calculated; only births cannot be kept.")
                                       .arg(QDir::toNativeSeparators(folder)))};
    }
    // A library on storage that cannot be written (a read-only file, folder or file system) is
    // opened for reading only: SQLite then keeps the log's index in memory.
    const QByteArray file = QFile::encodeName(path_);
    readOnly_ = QFileInfo::exists(path_) && (::access(file.constData(), W_OK) != 0 ||
                                             ::access(QFile::encodeName(folder), W_OK) != 0);
    // Where not even the log's shared-memory file can be made, SQLite reads a write-ahead-logged
    // file only as one that nothing changes ("immutable").
    const bool immutable = readOnly_ &&
                           ::access(QFile::encodeName(folder).constData(), W_OK) != 0 &&
                           !QFileInfo::exists(path_ + QStringLiteral("-shm"));
    if (!QSqlDatabase::contains(connection_)) {
        QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    }
    QSqlDatabase::database(connection_, false)
        .setDatabaseName(immutable ? QUrl::fromLocalFile(path_).toString(QUrl::FullyEncoded) +
                                         QStringLiteral("?immutable=1")
                                   : path_);
    QSqlDatabase::database(connection_, false)
        .setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1%2")
                               .arg(busyTimeoutMs_)
                               .arg(readOnly_ ? QStringLiteral(";QSQLITE_OPEN_READONLY;"
                                                               "QSQLITE_OPEN_URI")
                                              : QString()));
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (!db.open()) {
        const LibraryError error = ErrorOf(db.lastError());
        return error.fault == LibraryFault::Failed
                   ? LibraryError{LibraryFault::Unwritable, error.message, error.details}
                   : error;
    }
    if (auto error = Prepare()) {
        db.close();
        return error;
    }
    open_ = true;
    return std::nullopt;
}

std::optional<LibraryError> BirthLibrary::OpenToRead(LibraryAction action) {
    action_ = action;
    if (!open_ && !QFileInfo::exists(path_)) {
        return LibraryError{LibraryFault::Missing,
                            QStringLiteral("There is no library of births at %1.")
                                .arg(QDir::toNativeSeparators(path_))};
    }
    return OpenNow();
}

std::optional<LibraryError> BirthLibrary::Prepare() {
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    // Reading comes first: nothing is written to a file that turns out not to be ours.
    const auto found = ReadSchema(db);
    if (const auto* error = std::get_if<QSqlError>(&found)) {
        return ErrorOf(*error);
    }
    const SchemaOnFile schema = std::get<SchemaOnFile>(found);
    if (schema.foreign) {
        return LibraryError{LibraryFault::NotALibrary,
                            QStringLiteral("The file %1 is not a library of births: it belongs to "
                                           "another program. It has not been changed.")
                                .arg(QDir::toNativeSeparators(path_))};
    }
    if (schema.version > birthLibrarySchemaVersion) {
        return LibraryError{LibraryFault::Newer,
                            QStringLiteral("The library of births %1 was written by a newer "
                                           "version of Korvani (schema %2; this version reads up "
                                           "to %3). It has not been changed.")
                                .arg(QDir::toNativeSeparators(path_))
                                .arg(schema.version)
                                .arg(birthLibrarySchemaVersion)};
    }
    if (readOnly_) {
        if (schema.version < birthLibrarySchemaVersion) {
            return LibraryError{LibraryFault::Unwritable,
                                QStringLiteral("The library of births %1 was written by an older "
                                               "version of Korvani and cannot be brought up to "
                                               "date, as it cannot be written.")
                                    .arg(QDir::toNativeSeparators(path_))};
        }
        return std::nullopt;
    }
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA journal_mode")) || !query.next()) {
        return ErrorOf(query.lastError());
    }
    const bool logged = query.value(0).toString().compare(u"wal", Qt::CaseInsensitive) == 0;
    query.finish();
    const bool upgrade = schema.version < birthLibrarySchemaVersion;
    if (!schema.empty && (!logged || schema.unmarked || upgrade)) {
        if (auto error = CheckBeforeWriting()) {
            return error;
        }
    }
    // Write-ahead log with a full sync at each commit: a commit survives a crash or power loss.
    // Two programs switching a new file at once each hold the read lock the other's switch waits
    // for, and SQLite answers one of them "busy" at once instead of waiting: that one tries
    // again, within the time it may wait, and finds the switch made.
    const QDeadlineTimer patience(busyTimeoutMs_);
    while (!logged && !query.exec(QStringLiteral("PRAGMA journal_mode=WAL"))) {
        if (FaultOfSqliteCode(query.lastError().nativeErrorCode().toInt()) != LibraryFault::Busy ||
            patience.hasExpired()) {
            return ErrorOf(query.lastError());
        }
        query.finish();
        QThread::msleep(switchRetryMs);
    }
    query.finish();
    if (!query.exec(QStringLiteral("PRAGMA synchronous=FULL"))) {
        return ErrorOf(query.lastError());
    }
    if (upgrade) {
        if (const auto error = UpgradeSchema(db, schema.version)) {
            return ErrorOf(*error);
        }
    } else if (schema.unmarked) {
        if (const auto error = MarkSchema(db)) {
            return ErrorOf(*error);
        }
    }
    return std::nullopt;
}

std::optional<LibraryError> BirthLibrary::CheckBeforeWriting() {
    if (readOnly_) {
        return LibraryError{LibraryFault::Unwritable,
                            Failed(QStringLiteral("the library of births %1 is read-only. It can "
                                                  "be searched, exported and backed up, but "
                                                  "nothing can be changed in it.")
                                       .arg(QDir::toNativeSeparators(path_)))};
    }
    if (checked_) {
        return std::nullopt;
    }
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("PRAGMA quick_check"))) {
        return ErrorOf(query.lastError());
    }
    QStringList problems;
    while (query.next()) {
        problems.append(query.value(0).toString());
    }
    if (query.lastError().isValid()) {
        return ErrorOf(query.lastError());
    }
    if (problems != QStringList{QStringLiteral("ok")}) {
        return NotALibraryError(problems.value(0));
    }
    checked_ = true;
    return std::nullopt;
}

void BirthLibrary::Close() {
    if (QSqlDatabase::contains(connection_)) {
        QSqlDatabase::database(connection_, false).close();
    }
    open_ = false;
    checked_ = false;
}

std::optional<LibraryError> BirthLibrary::StartNew(QString* keptAs) {
    Close();
    const QString kept = UnusedStampedName(path_, "unreadable");
    if (QFileInfo::exists(path_) && !QFile::rename(path_, kept)) {
        return LibraryError{
            LibraryFault::Unwritable,
            QStringLiteral("The file %1 cannot be renamed to %2, so no new library "
                           "was started. It has not been changed.")
                .arg(QDir::toNativeSeparators(path_), QDir::toNativeSeparators(kept))};
    }
    // Its log and shared-memory files belong to it: kept beside it under the same new name.
    for (const char* suffix : {"-wal", "-shm"}) {
        const QString companion = path_ + QLatin1StringView(suffix);
        if (QFileInfo::exists(companion)) {
            QFile::rename(companion, kept + QLatin1StringView(suffix));
        }
    }
    if (keptAs != nullptr) {
        *keptAs = kept;
    }
    return Open();
}

std::variant<BirthLibrary::SaveOutcome, LibraryError> BirthLibrary::Save(SavedBirth& birth,
                                                                         bool replace) {
    if (auto error = Open(LibraryAction::Save)) {
        return *error;
    }
    if (auto error = CheckBeforeWriting()) {
        return *error;
    }
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    Transaction transaction(db);
    QSqlError error;
    if (!transaction.Begin(error)) {
        return ErrorOf(error);
    }
    SavedBirth stored = birth; // the caller's fields stay as they were on a failure
    stored.id = 0;
    stored.created = stored.changed = QDateTime();
    const auto outcome = BirthWriter(db).Store(stored, replace, {.note = birth.note.isEmpty()},
                                               QDateTime::currentDateTimeUtc());
    if (const auto* failed = std::get_if<QSqlError>(&outcome)) {
        return ErrorOf(*failed);
    }
    if (std::get<StoreOutcome>(outcome) == StoreOutcome::Exists) {
        return SaveOutcome::Exists;
    }
    if (!transaction.Commit(error)) {
        return ErrorOf(error);
    }
    birth = stored;
    return SaveOutcome::Saved;
}

std::optional<LibraryError>
BirthLibrary::AddAll(std::vector<SavedBirth>& births, bool replace,
                     const std::function<void(qint64 rowsWritten)>& afterRow,
                     const std::vector<FieldsLeftOut>& leftOut,
                     std::vector<StoreOutcome>* outcomes) {
    if (auto error = Open(LibraryAction::Import)) {
        return error;
    }
    if (auto error = CheckBeforeWriting()) {
        return error;
    }
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    // A large import's pages stay in memory until the commit instead of spilling to the log
    // and being read back; the page cache returns to SQLite's default afterwards.
    QSqlQuery cache(db);
    cache.exec(QStringLiteral("PRAGMA cache_size = %1").arg(importCacheKiB));
    const auto defaultCache = qScopeGuard(
        [&cache] { cache.exec(QStringLiteral("PRAGMA cache_size = %1").arg(defaultCacheKiB)); });
    Transaction transaction(db);
    QSqlError error;
    if (!transaction.Begin(error)) {
        return ErrorOf(error);
    }
    const QDateTime now = QDateTime::currentDateTimeUtc();
    BirthWriter writer(db);
    std::vector<StoreOutcome> stored;
    stored.reserve(births.size());
    qint64 written = 0;
    for (std::size_t at = 0; at < births.size(); ++at) {
        const auto outcome = writer.Store(births[at], replace,
                                          at < leftOut.size() ? leftOut[at] : FieldsLeftOut{}, now);
        if (const auto* failed = std::get_if<QSqlError>(&outcome)) {
            return ErrorOf(*failed);
        }
        stored.push_back(std::get<StoreOutcome>(outcome));
        ++written;
        if (afterRow) {
            afterRow(written);
        }
    }
    if (!transaction.Commit(error)) {
        return ErrorOf(error);
    }
    if (outcomes != nullptr) {
        *outcomes = std::move(stored);
    }
    return std::nullopt;
}

std::variant<std::vector<SavedBirth>, LibraryError>
BirthLibrary::Select(const char* where, const QVariantList& values) {
    if (auto error = OpenToRead(LibraryAction::Read)) {
        return *error;
    }
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT %1 FROM births WHERE %2")
                      .arg(QLatin1StringView(columns), QLatin1StringView(where)));
    for (const QVariant& value : values) {
        query.addBindValue(value);
    }
    if (!query.exec()) {
        return ErrorOf(query.lastError());
    }
    std::vector<SavedBirth> found;
    while (query.next()) {
        found.push_back(RowOf(query));
    }
    if (query.lastError().isValid()) { // the rows stopped at a fault, not at their end
        return ErrorOf(query.lastError());
    }
    return found;
}

std::variant<std::optional<SavedBirth>, LibraryError>
BirthLibrary::SelectOne(const char* where, const QVariantList& values) {
    auto found = Select(where, values);
    if (auto* error = std::get_if<LibraryError>(&found)) {
        return *error;
    }
    auto& births = std::get<std::vector<SavedBirth>>(found);
    if (births.empty()) {
        return std::optional<SavedBirth>();
    }
    return std::optional<SavedBirth>(std::move(births.front()));
}

std::variant<std::optional<SavedBirth>, LibraryError>
BirthLibrary::Find(const QString& name, int year, int month, int day) {
    return SelectOne("nameKey = ? AND year = ? AND month = ? AND day = ?",
                     {NameKey(name), year, month, day});
}

std::variant<std::vector<SavedBirth>, LibraryError> BirthLibrary::FindByName(const QString& name) {
    return Select("nameKey = ? ORDER BY year, month, day, hour, minute",
                  {NameKey(NameAsHeld(name.trimmed()))});
}

std::variant<std::optional<SavedBirth>, LibraryError> BirthLibrary::Load(qint64 id) {
    return SelectOne("id = ?", {id});
}

std::variant<std::vector<qint64>, LibraryError> BirthLibrary::Search(const QString& text,
                                                                     BirthOrder order) {
    if (auto error = OpenToRead(LibraryAction::Read)) {
        return *error;
    }
    const auto column = order.column == BirthOrderColumn::Date ||
                                order.column == BirthOrderColumn::Time ||
                                order.column == BirthOrderColumn::Place
                            ? order.column
                            : BirthOrderColumn::Name;
    const bool descending = order.direction == Qt::DescendingOrder;
    const bool place = column == BirthOrderColumn::Place;
    const bool sorted = !place && (column != BirthOrderColumn::Name || descending);
    const QString read =
        sorted ? QStringLiteral("SELECT id, %1 FROM births")
                     .arg(QLatin1StringView(sortColumns[static_cast<std::size_t>(column)]))
               : QStringLiteral("SELECT id FROM births");
    const QLatin1StringView orderBy(place ? placeOrders[descending ? 1 : 0] : nameOrder);
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.setForwardOnly(true);
    const QString folded = SearchFolded(text.trimmed());
    QString where;
    QVariantList values;
    if (!folded.isEmpty()) {
        where = QStringLiteral(" WHERE searchKey LIKE ? ESCAPE '\\'");
        values << u'%' + LikeLiteral(folded) + u'%';
        if (const std::optional<DateSearch> dates = DateSearchOf(folded)) {
            // A text that names dates finds the births on them, and the names and places holding
            // it.
            where +=
                QStringLiteral(" OR (year = ? AND month BETWEEN ? AND ? AND day BETWEEN ? AND ?)");
            values << dates->year << dates->firstMonth << dates->lastMonth << dates->firstDay
                   << dates->lastDay;
        }
    }
    query.prepare(QStringLiteral("%1%2 ORDER BY %3").arg(read, where, orderBy));
    for (const QVariant& value : values) {
        query.addBindValue(value);
    }
    if (!query.exec()) {
        return ErrorOf(query.lastError());
    }
    std::vector<Found> found;
    QByteArray lastName;
    int names = 0;
    while (query.next()) {
        Found birth{query.value(0).toLongLong()};
        if (column == BirthOrderColumn::Name && descending) {
            // Read in name order: equal names come together.
            QByteArray name = query.value(1).toByteArray();
            if (names == 0 || name != lastName) {
                ++names;
                lastName = std::move(name);
            }
            birth.keys[0] = names;
        } else if (column == BirthOrderColumn::Date) {
            birth.keys = {query.value(1).toInt(), query.value(2).toInt(), query.value(3).toInt()};
        } else if (column == BirthOrderColumn::Time) {
            birth.keys = {query.value(1).toInt(), query.value(2).toInt(), 0};
        }
        found.push_back(birth);
    }
    if (query.lastError().isValid()) {
        return ErrorOf(query.lastError());
    }
    if (sorted) {
        std::stable_sort(found.begin(), found.end(), [descending](const Found& a, const Found& b) {
            return descending ? b.keys < a.keys : a.keys < b.keys;
        });
    }
    std::vector<qint64> ids;
    ids.reserve(found.size());
    for (const Found& birth : found) {
        ids.push_back(birth.id);
    }
    return ids;
}

std::optional<LibraryError>
BirthLibrary::ForEach(const std::function<void(const SavedBirth&)>& visit) {
    if (auto error = OpenToRead(LibraryAction::Read)) {
        return error;
    }
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT %1 FROM births ORDER BY nameKey, year, month, day")
                        .arg(QLatin1StringView(columns)))) {
        return ErrorOf(query.lastError());
    }
    while (query.next()) {
        visit(RowOf(query));
    }
    if (query.lastError().isValid()) {
        return ErrorOf(query.lastError());
    }
    return std::nullopt;
}

std::optional<LibraryError> BirthLibrary::SetNote(qint64 id, const QString& note) {
    if (auto error = Open(LibraryAction::SaveNote)) {
        return error;
    }
    if (auto error = CheckBeforeWriting()) {
        return error;
    }
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    // The same note again (the window saves the box when the selection moves) is no change: the
    // time of the last change stays.
    const QString kept = Text(NoteWithinLimit(note));
    query.prepare(
        QStringLiteral("UPDATE births SET note = ?, changed = ? WHERE id = ? AND note IS NOT ?"));
    query.addBindValue(kept);
    query.addBindValue(StampText(QDateTime::currentDateTimeUtc()));
    query.addBindValue(id);
    query.addBindValue(kept);
    if (!query.exec()) {
        return ErrorOf(query.lastError());
    }
    if (query.numRowsAffected() > 0) {
        return std::nullopt;
    }
    // Nothing written: the note was the same, or the birth is gone.
    auto saved = SelectOne("id = ?", {id});
    if (const auto* error = std::get_if<LibraryError>(&saved)) {
        return *error;
    }
    if (!std::get<std::optional<SavedBirth>>(saved)) {
        return LibraryError{LibraryFault::Gone,
                            QStringLiteral("The birth is no longer in the library (another window "
                                           "or command deleted or replaced it), so its note was "
                                           "not saved.")};
    }
    return std::nullopt;
}

std::optional<LibraryError> BirthLibrary::Remove(qint64 id) {
    if (auto error = OpenToRead(LibraryAction::Delete)) {
        return error;
    }
    if (auto error = CheckBeforeWriting()) {
        return error;
    }
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.prepare(QStringLiteral("DELETE FROM births WHERE id = ?"));
    query.addBindValue(id);
    if (!query.exec()) {
        return ErrorOf(query.lastError());
    }
    return std::nullopt;
}

std::variant<QSet<QString>, LibraryError> BirthLibrary::KnownBirths() {
    if (auto error = OpenToRead(LibraryAction::Read)) {
        return *error;
    }
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT nameKey, year, month, day FROM births"))) {
        return ErrorOf(query.lastError());
    }
    QSet<QString> keys;
    while (query.next()) {
        // The stored key is folded already; folding is idempotent.
        keys.insert(BirthKey(query.value(0).toString(), query.value(1).toInt(),
                             query.value(2).toInt(), query.value(3).toInt()));
    }
    if (query.lastError().isValid()) {
        return ErrorOf(query.lastError());
    }
    return keys;
}

std::optional<LibraryError> BirthLibrary::Backup(const QString& target) {
    if (auto error = OpenToRead(LibraryAction::BackUp)) {
        return error;
    }
    if (QFileInfo::exists(target)) {
        return LibraryError{LibraryFault::Failed,
                            QStringLiteral("The backup %1 already exists; choose another name.")
                                .arg(QDir::toNativeSeparators(target))};
    }
    // The system's reason in the message; the database's own words in the details.
    const auto notWritten = [this, &target](LibraryFault fault, const QString& why,
                                            const QString& details = {}) {
        return LibraryError{fault,
                            Failed(why.isEmpty() ? QStringLiteral("%1 could not be written.")
                                                       .arg(QDir::toNativeSeparators(target))
                                                 : QStringLiteral("%1 could not be written (%2).")
                                                       .arg(QDir::toNativeSeparators(target), why)),
                            details};
    };
    // Written beside the target under a passing name, and moved into place only when complete
    // and on the disk: a backup that is stopped or fails leaves nothing at the target.
    QTemporaryFile partial(target + QStringLiteral(".XXXXXX.part"));
    if (!partial.open()) {
        return notWritten(LibraryFault::Failed, partial.errorString());
    }
    partial.close(); // VACUUM INTO writes into an empty file
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.prepare(QStringLiteral("VACUUM INTO ?"));
    query.addBindValue(partial.fileName());
    if (!query.exec()) {
        const LibraryError error = ErrorOf(query.lastError());
        return notWritten(error.fault == LibraryFault::Busy ? LibraryFault::Busy
                                                            : LibraryFault::Failed,
                          {}, error.details);
    }
    QFile written(partial.fileName());
    if (!written.open(QIODevice::ReadWrite) || ::fsync(written.handle()) != 0) {
        return notWritten(LibraryFault::Failed, QString::fromLocal8Bit(std::strerror(errno)));
    }
    written.close();
    std::error_code failure;
    std::filesystem::rename(partial.fileName().toStdString(), target.toStdString(), failure);
    if (failure) {
        return notWritten(LibraryFault::Failed, QString::fromStdString(failure.message()));
    }
    partial.setAutoRemove(false); // it is the backup now
    return std::nullopt;
}

std::variant<qint64, LibraryError> BirthLibrary::BirthsInBackup(const QString& backup) {
    return BackupFile(backup).Check();
}

std::variant<qint64, LibraryError> BirthLibrary::Count() {
    if (auto error = OpenToRead(LibraryAction::Read)) {
        return *error;
    }
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    if (!query.exec(QStringLiteral("SELECT count(*) FROM births")) || !query.next()) {
        return ErrorOf(query.lastError());
    }
    return query.value(0).toLongLong();
}

std::variant<RestoreOutcome, LibraryError>
BirthLibrary::Restore(const QString& backup,
                      const std::function<void(qint64 stepsDone)>& afterStep) {
    BackupFile source(backup);
    const auto checked = source.Check();
    if (const auto* error = std::get_if<LibraryError>(&checked)) {
        return *error;
    }
    const QFileInfo library(path_);
    const bool existed = library.exists();
    if (existed && QFileInfo(backup).canonicalFilePath() == library.canonicalFilePath()) {
        return LibraryError{LibraryFault::Failed,
                            NotRestored(QStringLiteral("the file %1 is the library itself."))
                                .arg(QDir::toNativeSeparators(path_))};
    }
    if (auto error = Open(LibraryAction::Restore)) {
        return *error;
    }
    if (auto error = CheckBeforeWriting()) {
        return *error;
    }
    RestoreOutcome outcome;
    outcome.restored = std::get<qint64>(checked);
    sqlite3* target = HandleOf(QSqlDatabase::database(connection_, false));
    sqlite3_backup* copy =
        target != nullptr ? sqlite3_backup_init(target, "main", source.Handle(), "main") : nullptr;
    if (copy == nullptr) {
        return ErrorOf(
            SqliteError(target != nullptr ? sqlite3_extended_errcode(target) : SQLITE_MISUSE));
    }
    // A step of no pages takes the library's write lock: from here until the copy is committed
    // no other program changes it, so the copy kept beside it, read through a connection of its
    // own, holds exactly the births the restore replaces.
    int result = sqlite3_backup_step(copy, 0);
    std::optional<LibraryError> failure;
    if (result == SQLITE_OK && existed) {
        BirthLibrary kept(path_, busyTimeoutMs_);
        const auto held = kept.Count();
        if (const auto* error = std::get_if<LibraryError>(&held)) {
            failure = *error;
        } else {
            outcome.held = std::get<qint64>(held);
            outcome.keptAs = UnusedStampedName(path_, "before-restore");
            failure = kept.Backup(outcome.keptAs);
        }
        if (failure) {
            failure = LibraryError{failure->fault,
                                   Failed(QStringLiteral("the library as it is could not be kept "
                                                         "beside it."))
                                       .append(QStringLiteral(" ") + failure->message),
                                   failure->details};
        }
    }
    qint64 steps = 0;
    while (!failure && result == SQLITE_OK) {
        result = sqlite3_backup_step(copy, restorePagesPerStep);
        if (result == SQLITE_OK && afterStep) {
            afterStep(++steps);
        }
    }
    const int finished = sqlite3_backup_finish(copy); // rolls back an unfinished copy
    if (!failure && (result != SQLITE_DONE || finished != SQLITE_OK)) {
        failure = ErrorOf(SqliteError(result != SQLITE_DONE ? result : finished));
    }
    if (failure) {
        if (!outcome.keptAs.isEmpty()) {
            QFile::remove(outcome.keptAs); // the library is as it was
        }
        return *failure;
    }
    // Opened again, so that a library of an older version is brought up to date now.
    Close();
    if (auto error = Open(LibraryAction::Open)) {
        return *error;
    }
    return outcome;
}
