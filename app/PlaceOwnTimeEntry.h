#pragma once

#include "chart/TimeZones.h"
#include "places/PlaceOwnTime.h"

#include <QByteArray>
#include <QDate>
#include <QObject>
#include <QTime>

#include <optional>

class QCheckBox;
class QComboBox;

// The "Place's own time" entry of the zone list: one entry after the list's rows, for a zone
// whose offset no row gives. It is a zone, not a number: its text follows the birth date and
// time. While it is chosen the Daylight Saving box is unticked and disabled, since the zone's
// offset already holds any daylight saving. Choosing a row takes it away again.
class PlaceOwnTimeEntry : public QObject {
    Q_OBJECT
  public:
    PlaceOwnTimeEntry(QComboBox* zoneList, QCheckBox* daylightSavingBox, QObject* parent);

    // Adds the entry for the zone (or changes it to that zone) and chooses it.
    void show(const QByteArray& zoneId, QDate birthDate, QTime birthTime);
    // Takes the entry away: the list has its rows alone again, the box is enabled. When the entry
    // was chosen, the row chosen before it is chosen again.
    void drop();
    // Writes the entry's offset for another birth date and time.
    void follow(QDate birthDate, QTime birthTime);

    // The zone when the entry is chosen; empty otherwise.
    QByteArray chosenZone() const;
    // The place's own time when the entry is chosen and the date is a calendar day.
    std::optional<PlaceOwnTime> read(QDate birthDate, QTime birthTime) const;

  private:
    QComboBox* zoneList_;
    QCheckBox* daylightSavingBox_;
    QByteArray zoneId_; // empty without the entry
    int rowBefore_ = defaultTimeZonePosition;
};
