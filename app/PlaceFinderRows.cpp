#include "app/PlaceFinderRows.h"

#include "chart/ChartInput.h"
#include "chart/TimeZones.h"
#include "places/BirthTime.h"

#include <QLocale>

#include <cstdlib>

QStringList FinderColumnCaptions() {
    return {QStringLiteral("Place"),         QStringLiteral("State"),
            QStringLiteral("Country"),       QStringLiteral("Latitude"),
            QStringLiteral("Longitude"),     QStringLiteral("Time zone"),
            QStringLiteral("Offset"),        QStringLiteral("Daylight saving"),
            QStringLiteral("Zone list row"), QStringLiteral("Daylight Saving box"),
            QStringLiteral("Note")};
}

QString BoxCoordinateText(const BoxCoordinate& coordinate, QChar first, QChar second) {
    return QStringLiteral("%1°%2′%3")
        .arg(coordinate.degrees)
        .arg(coordinate.minutes, 2, 10, QLatin1Char('0'))
        .arg(coordinate.secondHemisphere ? second : first);
}

namespace {

QString YesNo(bool yes) {
    return yes ? QStringLiteral("Yes") : QStringLiteral("No");
}

} // namespace

FinderRow MakeFinderRow(const Place& place, QDate birthDate, QTime birthTime) {
    FinderRow row;
    row.choice.longitude = LongitudeForBoxes(place.longitudeDegrees);
    row.choice.latitude = LatitudeForBoxes(place.latitudeDegrees);
    QStringList& columns = row.columns;
    columns << place.name << place.state << place.country
            << BoxCoordinateText(row.choice.latitude, u'N', u'S')
            << BoxCoordinateText(row.choice.longitude, u'E', u'W')
            << QString::fromLatin1(place.zoneId);

    const std::shared_ptr<const ZoneHistory> zone = ZoneHistory::ForZone(place.zoneId);
    if (!zone || !birthDate.isValid() || !birthTime.isValid()) {
        columns << QString() << QString() << QString() << QString()
                << (zone ? QStringLiteral("No offset: the birth date is not a calendar day.")
                         : QStringLiteral("The time-zone database lacks this zone."));
        return row;
    }
    const LocalTimeReading reading = zone->ReadLocalTime(birthDate, birthTime);
    const ZoneRecommendation recommended = RecommendZoneRow(reading);
    QString offset = FormatUtcOffset(reading.offset.offsetSeconds);
    if (reading.kind != LocalTimeReading::Kind::Unique) {
        offset += QStringLiteral(" or ") + FormatUtcOffset(reading.laterOffset.offsetSeconds);
    }
    columns << offset << YesNo(reading.offset.daylightSaving)
            << QString::fromLatin1(
                   timeZoneTable[static_cast<std::size_t>(recommended.zonePosition)].listText)
            << YesNo(recommended.daylightSavingBox) << recommended.note;
    row.exact = recommended.exact;
    row.choice.zoneKnown = true;
    row.choice.zonePosition = recommended.zonePosition;
    row.choice.daylightSaving = recommended.daylightSavingBox;
    return row;
}

QString FinderMomentNote(QDate birthDate, QTime birthTime) {
    if (!birthDate.isValid()) {
        return QStringLiteral("The birth date in the input window is not a day of the calendar: "
                              "choose the day to see each place's offset.");
    }
    return QStringLiteral("Times for %1 at %2 local time, the birth date and time of the input "
                          "window.")
        .arg(QLocale::c().toString(birthDate, QStringLiteral("d MMMM yyyy")),
             birthTime.toString(QStringLiteral("HH:mm")));
}
