#include "library/BirthSchema.h"

#include "library/BirthLibrary.h"
#include "library/SavedBirth.h"
#include "library/SqlTransaction.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace {

// The first schema: the birth data and the place, without note, IANA zone or search keys.
const char* const schemaVersion1 =
    "CREATE TABLE births ("
    " id INTEGER PRIMARY KEY,"
    " name TEXT NOT NULL,"
    " year INTEGER NOT NULL, month INTEGER NOT NULL, day INTEGER NOT NULL,"
    " hour INTEGER NOT NULL, minute INTEGER NOT NULL,"
    " lonDegrees TEXT NOT NULL, lonMinutes TEXT NOT NULL, east INTEGER NOT NULL,"
    " latDegrees TEXT NOT NULL, latMinutes TEXT NOT NULL, south INTEGER NOT NULL,"
    " zoneRow TEXT NOT NULL, dst INTEGER NOT NULL,"
    " city TEXT NOT NULL, state TEXT NOT NULL, country TEXT NOT NULL,"
    " created TEXT NOT NULL, changed TEXT NOT NULL,"
    " UNIQUE (name, year, month, day))";

} // namespace

std::variant<SchemaOnFile, QSqlError> ReadSchema(QSqlDatabase& db) {
    // One statement, so that all is read from one state of the file while another program may
    // be making or upgrading it.
    QSqlQuery query(db);
    if (!query.exec(
            QStringLiteral("SELECT (SELECT user_version FROM pragma_user_version()), "
                           "(SELECT application_id FROM pragma_application_id()), "
                           "(SELECT count(*) FROM sqlite_master), "
                           "(SELECT group_concat(name, ',') FROM "
                           "(SELECT name FROM pragma_table_info('births') ORDER BY cid))")) ||
        !query.next()) {
        return query.lastError();
    }
    SchemaOnFile found;
    found.version = query.value(0).toInt();
    const qint64 mark = query.value(1).toLongLong();
    const qint64 objects = query.value(2).toLongLong();
    const QString columnText = query.value(3).toString();
    query.finish();
    found.empty = objects == 0 && found.version == 0 && mark == 0;
    if (found.empty || mark == birthLibraryApplicationId) {
        return found;
    }
    // Without the mark: ours only when the births table has exactly the columns of its version.
    const QStringList columns = columnText.split(u',', Qt::SkipEmptyParts);
    const QStringList version1 = {
        QStringLiteral("id"),      QStringLiteral("name"),       QStringLiteral("year"),
        QStringLiteral("month"),   QStringLiteral("day"),        QStringLiteral("hour"),
        QStringLiteral("minute"),  QStringLiteral("lonDegrees"), QStringLiteral("lonMinutes"),
        QStringLiteral("east"),    QStringLiteral("latDegrees"), QStringLiteral("latMinutes"),
        QStringLiteral("south"),   QStringLiteral("zoneRow"),    QStringLiteral("dst"),
        QStringLiteral("city"),    QStringLiteral("state"),      QStringLiteral("country"),
        QStringLiteral("created"), QStringLiteral("changed")};
    const QStringList version2 =
        version1 + QStringList{QStringLiteral("ianaZone"), QStringLiteral("offsetSeconds"),
                               QStringLiteral("note"), QStringLiteral("nameKey"),
                               QStringLiteral("searchKey")};
    const QStringList version3 = version2 + QStringList{QStringLiteral("placeKey")};
    const QStringList* expected = found.version == 1   ? &version1
                                  : found.version == 2 ? &version2
                                  : found.version == 3 ? &version3
                                                       : nullptr;
    if (mark == 0 && expected != nullptr && columns == *expected) {
        found.unmarked = true;
    } else if (!(mark == 0 && found.version > birthLibrarySchemaVersion && !columns.isEmpty())) {
        found.foreign = true; // a newer library of ours without the mark stays Newer
    }
    return found;
}

std::optional<QSqlError> MarkSchema(QSqlDatabase& db) {
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA application_id = %1").arg(birthLibraryApplicationId))) {
        return query.lastError();
    }
    return std::nullopt;
}

std::optional<QSqlError> UpgradeSchema(QSqlDatabase& db, int version) {
    QSqlQuery query(db);
    Transaction transaction(db);
    QSqlError error;
    if (!transaction.Begin(error)) {
        return error;
    }
    // Another program may have made or upgraded the schema since it was read: the version is
    // read again under the write lock, and the steps follow that.
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next()) {
        return query.lastError();
    }
    version = query.value(0).toInt();
    query.finish();
    if (version >= birthLibrarySchemaVersion) {
        return std::nullopt;
    }
    QStringList steps;
    if (version == 0) {
        steps << QString::fromLatin1(schemaVersion1);
    }
    if (version < 2) {
        steps << QStringLiteral("ALTER TABLE births ADD COLUMN ianaZone TEXT NOT NULL DEFAULT ''")
              << QStringLiteral("ALTER TABLE births ADD COLUMN offsetSeconds INTEGER")
              << QStringLiteral("ALTER TABLE births ADD COLUMN note TEXT NOT NULL DEFAULT ''")
              << QStringLiteral("ALTER TABLE births ADD COLUMN nameKey TEXT NOT NULL DEFAULT ''")
              << QStringLiteral("ALTER TABLE births ADD COLUMN searchKey TEXT NOT NULL DEFAULT ''");
    }
    steps << QStringLiteral("ALTER TABLE births ADD COLUMN placeKey TEXT NOT NULL DEFAULT ''");
    for (const QString& step : steps) {
        if (!query.exec(step)) {
            return query.lastError();
        }
    }
    // The keys of the rows already there, worked out here as SQL cannot fold accents.
    if (!query.exec(QStringLiteral("SELECT id, name, city, state, country FROM births"))) {
        return query.lastError();
    }
    QSqlQuery update(db);
    update.prepare(
        QStringLiteral("UPDATE births SET nameKey = ?, searchKey = ?, placeKey = ? WHERE id = ?"));
    while (query.next()) {
        SavedBirth birth;
        birth.name = query.value(1).toString();
        birth.city = query.value(2).toString();
        birth.state = query.value(3).toString();
        birth.country = query.value(4).toString();
        update.addBindValue(NameKey(birth.name));
        update.addBindValue(SearchKey(birth));
        update.addBindValue(PlaceKey(birth));
        update.addBindValue(query.value(0));
        if (!update.exec()) {
            return update.lastError();
        }
    }
    query.finish();
    QStringList finish;
    if (version < 2) {
        finish << QStringLiteral(
            "CREATE UNIQUE INDEX births_known ON births (nameKey, year, month, day)");
    }
    // Searching reads this index alone, without the rows: in name order as it stands, in the
    // other orders with the columns they sort by.
    finish << QStringLiteral("DROP INDEX IF EXISTS births_search")
           << QStringLiteral("CREATE INDEX births_search ON births (nameKey, year, month, day, "
                             "searchKey, hour, minute, placeKey)");
    finish << QStringLiteral("PRAGMA user_version = %1").arg(birthLibrarySchemaVersion)
           << QStringLiteral("PRAGMA application_id = %1").arg(birthLibraryApplicationId);
    for (const QString& step : finish) {
        if (!query.exec(step)) {
            return query.lastError();
        }
    }
    if (!transaction.Commit(error)) {
        return error;
    }
    return std::nullopt;
}
