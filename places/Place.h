#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// One place of the place list, as the list gives it.
struct Place {
    QString name;                  // "New Delhi"
    QString state;                 // "National Capital Territory of Delhi"; may be empty
    QString country;               // "India"
    QString countryCode;           // ISO 3166 two letters, "IN"
    QByteArray zoneId;             // IANA zone, "Asia/Kolkata"
    double latitudeDegrees = 0.0;  // north positive, -90..90
    double longitudeDegrees = 0.0; // east positive, -180..180
    qint64 population = 0;
};
