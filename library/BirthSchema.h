#pragma once

// The births table's schema: what a file holds, read before anything is written to it, and the
// steps that make the table in a new file or bring an older one up to the current version.

#include <QSqlError>

#include <optional>
#include <variant>

class QSqlDatabase;

struct SchemaOnFile {
    int version = 0;      // PRAGMA user_version; 0 for a new, empty file
    bool foreign = false; // the file holds things, but not a births table of ours
};

// Reads the file's schema version and whether it is ours; writes nothing.
std::variant<SchemaOnFile, QSqlError> ReadSchema(QSqlDatabase& db);

// Makes the schema in a new file (`version` 0) or upgrades an older one step by step to
// birthLibrarySchemaVersion, filling the keys of the rows already there, all in one transaction:
// a failure leaves the file as it was. The version is read again inside the transaction.
std::optional<QSqlError> UpgradeSchema(QSqlDatabase& db, int version);
