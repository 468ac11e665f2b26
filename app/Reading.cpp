#include "app/Reading.h"

#include <QStringList>

namespace {

// Degrees and minutes with the hemisphere letter: 77°13′E.
QString Coordinate(int degrees, int minutes, char hemisphere) {
    return QStringLiteral("%1°%2′%3")
        .arg(degrees)
        .arg(minutes, 2, 10, QLatin1Char('0'))
        .arg(QLatin1Char(hemisphere));
}

QString MonthName(int month) {
    return month >= 1 && month <= 12 ? QString::fromLatin1(monthNames[month - 1]) : QString();
}

} // namespace

QString ChartHeaderText(const ChartHeaderFields& fields, const ChartState& chart) {
    QStringList parts;
    parts << fields.name;
    parts << QStringLiteral("%1 %2 %3")
                 .arg(chart.birthDay)
                 .arg(MonthName(chart.birthMonth))
                 .arg(chart.birthYear);
    parts << QStringLiteral("%1:%2")
                 .arg(chart.birthHour, 2, 10, QLatin1Char('0'))
                 .arg(chart.birthMinute, 2, 10, QLatin1Char('0'));
    parts << Coordinate(chart.longitudeDegrees, chart.longitudeMinutes,
                        chart.longitudeEastFlag != 0 ? 'E' : 'W') +
                 u' ' +
                 Coordinate(chart.latitudeDegrees, chart.latitudeMinutes,
                            chart.latitudeSouthFlag != 0 ? 'S' : 'N');
    parts << fields.zoneText;
    if (chart.daylightSaving != 0) {
        parts << QStringLiteral("Daylight Saving Time");
    }
    return parts.join(QStringLiteral(" · "));
}

QString ReadingText(const Reading& reading) {
    QString text = reading.header + u'\n';
    for (const BodyReading& body : reading.bodies) {
        text += u'\n' + body.bodyName + u'\n';
        for (std::size_t field = 0; field < readingFieldCaptions.size(); ++field) {
            text += QString::fromLatin1(readingFieldCaptions[field]) + QStringLiteral(": ") +
                    body.values[field] + u'\n';
        }
    }
    return text;
}

QString ReadingHtml(const Reading& reading) {
    QString html = QStringLiteral("<html><head><meta charset=\"utf-8\"><title>%1</title></head>"
                                  "<body><h1>%1</h1>")
                       .arg(reading.header.toHtmlEscaped());
    for (const BodyReading& body : reading.bodies) {
        html += QStringLiteral("<h2>%1</h2><table>").arg(body.bodyName.toHtmlEscaped());
        const std::size_t last = readingFieldCaptions.size() - 1; // the description, below
        for (std::size_t field = 0; field < last; ++field) {
            html += QStringLiteral("<tr><th align=\"left\">%1</th><td>%2</td></tr>")
                        .arg(QString::fromLatin1(readingFieldCaptions[field]).toHtmlEscaped(),
                             body.values[field].toHtmlEscaped());
        }
        html += QStringLiteral("</table><p><b>%1</b></p><p>%2</p>")
                    .arg(QString::fromLatin1(readingFieldCaptions[last]).toHtmlEscaped(),
                         body.values[last].toHtmlEscaped());
    }
    return html + QStringLiteral("</body></html>");
}
