#include "app/Reading.h"

#include "chart/InputTexts.h"
#include "charts/ChartGeometry.h"
#include "chartview/ChartPainter.h"
#include "places/BirthTime.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextImageFormat>
#include <QUrl>

#include <algorithm>

#include <vector>

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

// "15 August 1990", "10:30" and "77°13′E 28°39′N" of a chart.
QString LongDateText(const ChartState& chart) {
    return QStringLiteral("%1 %2 %3")
        .arg(chart.birthDay)
        .arg(MonthName(chart.birthMonth))
        .arg(chart.birthYear);
}

QString ChartTimeText(const ChartState& chart) {
    return QString::fromStdString(TimeText(chart.birthHour, chart.birthMinute));
}

QString CoordinatesText(const ChartState& chart) {
    return Coordinate(chart.longitudeDegrees, chart.longitudeMinutes,
                      chart.longitudeEastFlag != 0 ? 'E' : 'W') +
           u' ' +
           Coordinate(chart.latitudeDegrees, chart.latitudeMinutes,
                      chart.latitudeSouthFlag != 0 ? 'S' : 'N');
}

} // namespace

QString ChartHeaderText(const ChartHeaderFields& fields, const ChartState& chart) {
    QStringList parts;
    parts << fields.name << LongDateText(chart) << ChartTimeText(chart);
    if (!fields.placeText.isEmpty()) {
        parts << fields.placeText;
    }
    parts << CoordinatesText(chart) << fields.zoneText;
    if (fields.offsetSeconds) {
        parts << FormatUtcOffset(*fields.offsetSeconds);
    }
    if (chart.daylightSaving != 0) {
        parts << QStringLiteral("Daylight Saving Time");
    }
    if (fields.offsetSeconds && fields.placeKeptOffsetSeconds &&
        *fields.placeKeptOffsetSeconds != *fields.offsetSeconds) {
        parts << QStringLiteral("computed at %1; the place kept %2")
                     .arg(FormatUtcOffset(*fields.offsetSeconds),
                          FormatUtcOffset(*fields.placeKeptOffsetSeconds));
    }
    return parts.join(QStringLiteral(" · "));
}

QString ChartTitleText(const ChartHeaderFields& fields, const ChartState& chart) {
    // The place by its first named part, the city when the boxes give one, as the command names it.
    const QString place = fields.placeText.section(QStringLiteral(", "), 0, 0);
    return QString::fromStdString(
        BirthCaption(chart, fields.name.trimmed().toStdString(), place.toStdString()));
}

ReadingChart ChartPart(const ChartContents& chart) {
    QStringList lines;
    for (const std::string& line : ChartTextLines(chart)) {
        lines << QString::fromStdString(line);
    }
    return {QString::fromUtf8(ChartCaption(chart.kind)), lines, {}};
}

QString ReadingText(const Reading& reading) {
    QString text = reading.header + u'\n';
    if (!reading.calculation.isEmpty()) {
        text += reading.calculation + u'\n';
    }
    for (const ReadingChart& chart : reading.charts) {
        text += u'\n' + chart.caption + u'\n';
        for (const QString& line : chart.cellLines) {
            text += line + u'\n';
        }
    }
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
                                  "<body>")
                       .arg(reading.header.toHtmlEscaped());
    QString pictures;
    for (const ReadingChart& chart : reading.charts) {
        if (!chart.png.isEmpty()) {
            pictures +=
                QStringLiteral("<img src=\"data:image/png;base64,%1\" alt=\"%2\"> ")
                    .arg(QString::fromLatin1(chart.png.toBase64()), chart.caption.toHtmlEscaped());
        }
    }
    if (!pictures.isEmpty()) {
        html += QStringLiteral("<p>") + pictures + QStringLiteral("</p>");
    }
    html += QStringLiteral("<h1>%1</h1>").arg(reading.header.toHtmlEscaped());
    if (!reading.calculation.isEmpty()) {
        html += QStringLiteral("<p>%1</p>").arg(reading.calculation.toHtmlEscaped());
    }
    for (const BodyReading& body : reading.bodies) {
        // Captions stand clear of their values: a gap of two letters' width after each.
        html += QStringLiteral("<h2>%1</h2><table cellspacing=\"0\" cellpadding=\"1\">")
                    .arg(body.bodyName.toHtmlEscaped());
        const std::size_t last = readingFieldCaptions.size() - 1; // the description, below
        for (std::size_t field = 0; field < last; ++field) {
            html += QStringLiteral("<tr><th align=\"left\" style=\"padding-right: 2em\">%1</th>"
                                   "<td>%2</td></tr>")
                        .arg(QString::fromLatin1(readingFieldCaptions[field]).toHtmlEscaped(),
                             body.values[field].toHtmlEscaped());
        }
        html += QStringLiteral("</table><p><b>%1</b></p><p>%2</p>")
                    .arg(QString::fromLatin1(readingFieldCaptions[last]).toHtmlEscaped(),
                         body.values[last].toHtmlEscaped());
    }
    return html + QStringLiteral("</body></html>");
}

QString ReadingFileStem(const QString& name, const ChartState& chart) {
    QString safe;
    for (const QChar character : name.trimmed()) {
        // A folder separator, a control character or one that some file systems refuse.
        const bool refused = character.category() == QChar::Other_Control ||
                             QStringView(u"/\\:*?\"<>|").contains(character);
        safe += refused ? u' ' : character;
    }
    const QString date =
        QString::fromStdString(DateText(chart.birthYear, chart.birthMonth, chart.birthDay));
    safe = safe.simplified();
    return safe.isEmpty() ? date : safe + u' ' + date;
}

void KeepBodiesTogether(QTextDocument& document) {
    const qreal pageHeight = document.pageSize().height();
    if (!(pageHeight > 0) || pageHeight >= qreal(INT_MAX)) {
        return; // not divided into pages
    }
    // The part of a page that text may fill.
    const qreal margin = document.rootFrame()->frameFormat().topMargin() +
                         document.rootFrame()->frameFormat().bottomMargin();
    std::vector<QTextBlock> headings;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() == 2) {
            headings.push_back(block);
        }
    }
    QAbstractTextDocumentLayout* layout = document.documentLayout();
    // In page order: moving one heading moves every later body.
    for (std::size_t i = 0; i < headings.size(); ++i) {
        const QTextBlock last =
            i + 1 < headings.size() ? headings[i + 1].previous() : document.lastBlock();
        const qreal top = layout->blockBoundingRect(headings[i]).top();
        const qreal bottom = layout->blockBoundingRect(last).bottom();
        const bool parted = int(top / pageHeight) != int(bottom / pageHeight);
        if (parted && bottom - top <= pageHeight - margin) {
            QTextBlockFormat format = headings[i].blockFormat();
            format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            QTextCursor(headings[i]).setBlockFormat(format);
            // The layout after a changed block format is not always redone in full: without
            // this, text further down could stay where it was, off its page.
            const int from = headings[i].position();
            document.markContentsDirty(from, document.characterCount() - from);
        }
    }
}

void PrintReading(const Reading& reading, QPrinter& printer, const PrintedCharts* charts) {
    QTextDocument document;
    // Laid out at the printer's resolution on its pages, so that the page breaks seen here are
    // the printed ones.
    document.documentLayout()->setPaintDevice(&printer);
    const QSizeF pageSize = printer.pageLayout().paintRectPixels(printer.resolution()).size();
    document.setPageSize(pageSize);
    // The charts are drawn, not pictured: the reading's text leaves them room at the top.
    Reading text = reading;
    for (ReadingChart& chart : text.charts) {
        chart.png.clear();
    }
    document.setHtml(ReadingHtml(text));
    const QFont chartFont = QApplication::font();
    ChartPlacement placement;
    double chartScale = 1.0;
    QRectF chartsBox;
    if (charts) {
        placement = PlaceCharts(chartFont, &printer, 2, charts->style, charts->title);
        const double usable =
            pageSize.width() - 2 * document.rootFrame()->frameFormat().leftMargin();
        chartScale = std::min(1.0, usable / placement.size.width());
        const QSizeF room = placement.size * chartScale;
        // An empty picture of the charts' size stands in their place in the text.
        const QString name = QStringLiteral("korvani-charts");
        QImage blank(1, 1, QImage::Format_ARGB32_Premultiplied);
        blank.fill(Qt::transparent);
        document.addResource(QTextDocument::ImageResource, QUrl(name), blank);
        QTextCursor cursor(&document);
        cursor.movePosition(QTextCursor::Start);
        QTextImageFormat image;
        image.setName(name);
        image.setWidth(room.width());
        image.setHeight(room.height());
        cursor.insertImage(image);
        cursor.insertBlock();
        const QRectF block = document.documentLayout()->blockBoundingRect(document.begin());
        chartsBox = QRectF(block.topLeft(), room);
    }
    KeepBodiesTogether(document);
    if (!charts) {
        document.print(&printer);
        return;
    }
    // The pages as the document's own printing gives them, the charts on the first.
    QPainter painter;
    if (!painter.begin(&printer)) {
        return;
    }
    const int pages = document.pageCount();
    for (int page = 0; page < pages; ++page) {
        if (page > 0) {
            printer.newPage();
        }
        painter.save();
        painter.translate(0, -page * pageSize.height());
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = QRectF(0, page * pageSize.height(), pageSize.width(), pageSize.height());
        context.palette.setColor(QPalette::Text, Qt::black);
        document.documentLayout()->draw(&painter, context);
        painter.restore();
        if (page == 0) {
            painter.save();
            painter.translate(chartsBox.topLeft());
            painter.scale(chartScale, chartScale);
            DrawCharts(painter, placement, {&charts->birth, &charts->decanate}, charts->style,
                       chartFont, charts->title);
            painter.restore();
        }
    }
    painter.end();
}
