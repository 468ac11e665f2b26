#pragma once

// A saved birth and the texts made of it: its key in the library, its date, time and coordinates
// as the batch writes them, the name rule of the input window and the folding searches use.

#include <QDateTime>
#include <QString>

#include <optional>

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
// A note cut to maxNoteLength, never between the two halves of a surrogate pair.
QString NoteWithinLimit(const QString& note);

// The input window's rule for a name: not blank, capital letters and blanks only (a small letter
// counts as its capital, as the name box makes it one). The box's own message when it fails.
std::optional<QString> NameFault(const QString& name);
// The name as the name box would hold it: small letters made capitals.
QString NameAsHeld(const QString& name);
// A name in the name box's letters, as an import stores it. A name of the letters A to Z and
// blanks is NameAsHeld. Any other name is decomposed (Unicode compatibility decomposition) with
// its marks dropped, so that a Latin letter with an accent becomes its base letter (É → E); a
// Latin letter that does not decompose is spelt out (ß → SS, Ø → O, Æ → AE); an apostrophe or
// hyphen becomes a blank, and runs of blanks one blank. What is not a Latin letter stays, for
// NameFault to refuse.
QString NameInCapitals(const QString& name);

// Text folded for searching: compatibility decomposition, accents dropped, case folded.
QString SearchFolded(const QString& text);

// How a birth is known in the library: its name (case ignored) and birth date.
QString BirthKey(const QString& name, int year, int month, int day);

// A birth's date and time as DateText and TimeText write them: "1990-08-15", "10:30".
QString BirthDateText(const SavedBirth& birth);
QString BirthTimeText(const SavedBirth& birth);
// Its coordinates from the boxes' texts as LongitudeText and LatitudeText write them: "077:13E",
// "28:39N".
QString BirthLongitudeText(const SavedBirth& birth);
QString BirthLatitudeText(const SavedBirth& birth);

// The keys the library stores beside a birth, worked out in code as SQL cannot fold accents: the
// name with case folded, the name and place folded for searching, and the place as the list sorts
// it.
QString NameKey(const QString& name);
QString SearchKey(const SavedBirth& birth);
QString PlaceKey(const SavedBirth& birth);
