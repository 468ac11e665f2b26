#pragma once

// The births table's schema: what a file holds, read before anything is written to it, and the
// steps that make the table in a new file or bring an older one up to the current version.

#include <QSqlError>

#include <optional>
#include <variant>

class QSqlDatabase;

// The mark of a library of births in SQLite's header (PRAGMA application_id): "Krvn" in ASCII.
inline constexpr int birthLibraryApplicationId = 0x4B72766E;

struct SchemaOnFile {
    int version = 0;       // PRAGMA user_version; 0 for a new, empty file
    bool foreign = false;  // the file holds things, but not a births table of ours
    bool empty = false;    // nothing in it yet: a new file
    bool unmarked = false; // ours by its table, without the mark: set it once
};

// Reads the file's schema version and whether it is ours; writes nothing. A file is ours when it
// carries the mark, or, without it, when its births table has exactly the columns of its version.
std::variant<SchemaOnFile, QSqlError> ReadSchema(QSqlDatabase& db);

// Sets the mark on a file of ours made before the mark was.
std::optional<QSqlError> MarkSchema(QSqlDatabase& db);

// Makes the schema in a new file (`version` 0) or upgrades an older one step by step to
// birthLibrarySchemaVersion, filling the keys of the rows already there, all in one transaction:
// a failure leaves the file as it was. The version is read again inside the transaction.
std::optional<QSqlError> UpgradeSchema(QSqlDatabase& db, int version);
