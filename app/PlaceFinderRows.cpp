#include "app/PlaceFinderRows.h"

#include "chart/ChartInput.h"
#include "chart/TimeZones.h"
#include "places/BirthTime.h"
#include "places/PlaceRegions.h"

#include <QLocale>

QStringList FinderColumnCaptions() {
    return {QStringLiteral("Place"), QStringLiteral("Coordinates"),
            QStringLiteral("Offset at birth"), QStringLiteral("Enter as zone")};
}

namespace {

QString TwoLines(const QString& first, const QString& second) {
    return second.isEmpty() ? first : first + u'\n' + second;
}

QString Region(const Place& place) {
    QStringList parts;
    for (const QString& part : {place.state, place.country}) {
        if (!part.isEmpty()) {
            parts << part;
        }
    }
    return parts.join(QStringLiteral(", "));
}

} // namespace

FinderRow MakeFinderRow(const Place& place, const QString& foundName, QDate birthDate,
                        QTime birthTime) {
    FinderRow row;
    row.choice.longitude = LongitudeForBoxes(place.longitudeDegrees);
    row.choice.latitude = LatitudeForBoxes(place.latitudeDegrees);
    const QString zoneId = QString::fromLatin1(place.zoneId);
    row.columns << TwoLines(foundName, Region(place))
                << TwoLines(BoxCoordinateText(row.choice.latitude, u'N', u'S'),
                            BoxCoordinateText(row.choice.longitude, u'E', u'W'));

    const std::shared_ptr<const ZoneHistory> zone = ZoneHistory::ForZone(place.zoneId);
    if (!zone || !birthDate.isValid() || !birthTime.isValid()) {
        row.columns << TwoLines(QStringLiteral("unknown"), zoneId) << QString();
        row.note = zone ? QStringLiteral("No offset: the birth date is not a calendar day.")
                        : QStringLiteral("No offset: %1. The zone and the Daylight Saving box "
                                         "stay as they are.")
                              .arg(ZoneHistory::Refusal(place.zoneId));
        return row;
    }
    const LocalTimeReading reading = zone->ReadLocalTime(birthDate, birthTime);
    const ZoneRecommendation recommended = RecommendZoneRow(reading, ZoneAdviceNames(place));
    QString offset = FormatUtcOffset(reading.offset.offsetSeconds);
    if (reading.kind == LocalTimeReading::Kind::Unique) {
        offset += reading.offset.daylightSaving ? QStringLiteral(", daylight saving")
                                                : QStringLiteral(", no daylight saving");
    } else {
        offset += QStringLiteral(" or ") + FormatUtcOffset(reading.laterOffset.offsetSeconds);
    }
    row.choice.placeOwnTime = reading.kind == LocalTimeReading::Kind::Unique && !recommended.exact;
    QString box = recommended.daylightSavingBox ? QStringLiteral("— box ticked")
                                                : QStringLiteral("— box unticked");
    if (row.choice.placeOwnTime) {
        box += QStringLiteral(" (no row gives it)");
    } else if (!recommended.exact) {
        box += QStringLiteral(" (nearest; see the note)");
    }
    row.columns << TwoLines(offset, zoneId)
                << TwoLines(
                       row.choice.placeOwnTime
                           ? QStringLiteral("Place's own time")
                           : QString::fromLatin1(
                                 timeZoneTable[static_cast<std::size_t>(recommended.zonePosition)]
                                     .listText),
                       box);
    row.note = recommended.note.isEmpty() ? recommended.nameNote : recommended.note;
    if (row.choice.placeOwnTime) {
        row.note = QStringLiteral("No row of the list gives %1; the place's own time is used.")
                       .arg(FormatUtcOffset(reading.offset.offsetSeconds));
    }
    row.exact = recommended.exact;
    row.choice.zoneKnown = true;
    row.choice.zoneId = place.zoneId;
    row.choice.zonePosition = recommended.zonePosition;
    row.choice.daylightSaving = recommended.daylightSavingBox;
    return row;
}

QList<FinderRow> MakeFinderRows(const PlaceIndex& index, const PlaceFinderRequest& request,
                                int limit, const std::atomic<bool>& stop) {
    QList<FinderRow> rows;
    for (const PlaceMatch& match : index.Find(request.place, limit)) {
        if (stop.load(std::memory_order_relaxed)) {
            break;
        }
        rows.append(MakeFinderRow(index.place(match), FoundPlaceName(index, match),
                                  request.birthDate, request.birthTime));
    }
    return rows;
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
