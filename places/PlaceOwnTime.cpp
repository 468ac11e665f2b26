#include "places/PlaceOwnTime.h"

PlaceOwnTime ReadPlaceOwnTime(const ZoneHistory& zone, QDate date, QTime time) {
    PlaceOwnTime own;
    own.reading = zone.ReadLocalTime(date, time);
    own.clockChange = ClockChangeText(zone.id(), date, time, own.reading);
    own.correction = ZoneCorrectionForOffset(own.reading.offset.offsetSeconds);
    own.offsetSeconds =
        -(own.correction.hours * 3600 + own.correction.minutes * 60 + own.correction.seconds);
    return own;
}

QString PlaceOwnTimeEntryText(const QByteArray& zoneId, const LocalTimeReading& reading) {
    QString offset = FormatUtcOffset(reading.offset.offsetSeconds);
    if (reading.kind != LocalTimeReading::Kind::Unique) {
        offset += QStringLiteral(" or ") + FormatUtcOffset(reading.laterOffset.offsetSeconds);
    }
    return QStringLiteral("Place's own time: %1, %2 on this date")
        .arg(QString::fromLatin1(zoneId), offset);
}

QString ClockChangeText(const QByteArray& zoneId, QDate date, QTime time,
                        const LocalTimeReading& reading) {
    if (reading.kind == LocalTimeReading::Kind::Unique) {
        return {};
    }
    const QString when =
        QStringLiteral("%1 on %2")
            .arg(time.toString(QStringLiteral("HH:mm")), date.toString(Qt::ISODate));
    const QString before = FormatUtcOffset(reading.offset.offsetSeconds);
    const QString after = FormatUtcOffset(reading.laterOffset.offsetSeconds);
    const QString zoneName = QString::fromLatin1(zoneId);
    if (reading.kind == LocalTimeReading::Kind::Gap) {
        return QStringLiteral("%1 did not exist in %2: the clocks went forward from %3 to %4")
            .arg(when, zoneName, before, after);
    }
    return QStringLiteral("%1 happened twice in %2, first at %3 and then at %4")
        .arg(when, zoneName, before, after);
}
