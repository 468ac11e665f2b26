#pragma once

// Helpers of the library tests: births with every field set, and raw looks at a library file.

#include "library/BirthLibrary.h"
#include "support/BirthCount.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

#include <ostream>
#include <string>
#include <vector>

// A birth whose every field differs from its default, so that a field dropped on the way is seen.
inline SavedBirth FullBirth(const QString& name = QStringLiteral("ASHA RAO")) {
    SavedBirth birth;
    birth.name = name;
    birth.year = 1990;
    birth.month = 8;
    birth.day = 15;
    birth.hour = 10;
    birth.minute = 30;
    birth.longitudeDegrees = QStringLiteral("077");
    birth.longitudeMinutes = QStringLiteral("13");
    birth.east = false;
    birth.latitudeDegrees = QStringLiteral("28");
    birth.latitudeMinutes = QStringLiteral("39");
    birth.south = true;
    birth.zoneRow = QStringLiteral("Indian Time, IST, +5.3");
    birth.daylightSaving = true;
    birth.city = QStringLiteral("Zürich");
    birth.state = QStringLiteral("Zürich, Kanton");
    birth.country = QStringLiteral("Schweiz");
    birth.ianaZone = QStringLiteral("Europe/Zurich");
    birth.offsetSeconds = 7200;
    birth.note = QStringLiteral("first line\nsecond \"line\", with a comma");
    return birth;
}

// A raw connection to a file, for making and inspecting library files as another program would.
class RawFile {
  public:
    explicit RawFile(const QString& path) : name_(QStringLiteral("raw-") + path) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(path);
        db.open();
    }
    ~RawFile() {
        QSqlDatabase::database(name_, false).close();
        QSqlDatabase::removeDatabase(name_);
    }
    bool Run(const QString& statement) {
        QSqlQuery query(QSqlDatabase::database(name_, false));
        return query.exec(statement);
    }
    QVariant Value(const QString& statement) {
        QSqlQuery query(QSqlDatabase::database(name_, false));
        return query.exec(statement) && query.next() ? query.value(0) : QVariant();
    }
    // The first column of every row the statement gives, as integers.
    std::vector<qint64> Integers(const QString& statement) {
        QSqlQuery query(QSqlDatabase::database(name_, false));
        std::vector<qint64> values;
        for (query.exec(statement); query.next();) {
            values.push_back(query.value(0).toLongLong());
        }
        return values;
    }

  private:
    QString name_;
};

inline QByteArray FileDigest(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// Failures name the fields rather than print bytes.
inline void PrintTo(const SavedBirth& b, std::ostream* out) {
    *out << "{" << b.id << " " << b.name.toStdString() << " " << b.year << "-" << b.month << "-"
         << b.day << " " << b.hour << ":" << b.minute << " " << b.longitudeDegrees.toStdString()
         << ":" << b.longitudeMinutes.toStdString() << (b.east ? "E " : "W ")
         << b.latitudeDegrees.toStdString() << ":" << b.latitudeMinutes.toStdString()
         << (b.south ? "S " : "N ") << "[" << b.zoneRow.toStdString() << "] dst "
         << b.daylightSaving << " " << b.city.toStdString() << "|" << b.state.toStdString() << "|"
         << b.country.toStdString() << " " << b.ianaZone.toStdString() << " "
         << (b.offsetSeconds ? std::to_string(*b.offsetSeconds) : std::string("-")) << " note "
         << b.note.size() << " " << b.created.toString(Qt::ISODateWithMs).toStdString() << " "
         << b.changed.toString(Qt::ISODateWithMs).toStdString() << "}";
}
