#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
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

// A place as "Name, State, Country", the state left out when it has none.
inline QString PlaceWords(const Place& place) {
    QStringList words{place.name};
    if (!place.state.isEmpty()) {
        words.append(place.state);
    }
    words.append(place.country);
    return words.join(QStringLiteral(", "));
}
