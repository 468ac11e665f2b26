#include "cli/ChartOutput.h"

#include "astro/ChartCalculation.h"
#include "chart/TimeZones.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>

#include <algorithm>

namespace {

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

// Columns joined by two blanks, each padded to its width; no blanks at the end of the line.
QString TableLine(const QStringList& cells, const QList<qsizetype>& widths) {
    QString line;
    for (qsizetype column = 0; column < cells.size(); ++column) {
        if (column > 0) {
            line += QStringLiteral("  ");
        }
        line += cells[column].leftJustified(widths[column]);
    }
    while (line.endsWith(u' ')) {
        line.chop(1);
    }
    return line + u'\n';
}

QStringList BodyRow(const ChartResult& result, int body) {
    const DecanateResult& decanate = result.decanates[body];
    return {QString::fromLatin1(bodyNames[body]),
            Text(result.chart.positionText[body]),
            Text(decanate.decanateName),
            Text(decanate.decanateSign),
            Text(decanate.rulingPlanet),
            Text(decanate.rulingElement),
            Text(decanate.constellationName),
            Text(decanate.keyword),
            Text(decanate.treeZodiac)};
}

} // namespace

ChartResult ComputeChart(const ChartInput& input) {
    ChartResult result;
    LoadChartInput(result.chart, input);
    CalculateChart(result.chart);
    DetermineDecanates(result.chart, result.decanates);
    return result;
}

QString FormatChartTable(const ChartResult& result) {
    const QStringList header = {QStringLiteral("Body"),          QStringLiteral("Position"),
                                QStringLiteral("Decanate"),      QStringLiteral("Decanate sign"),
                                QStringLiteral("Ruling planet"), QStringLiteral("Ruling element"),
                                QStringLiteral("Constellation"), QStringLiteral("Keyword"),
                                QStringLiteral("Tree zodiac")};
    QList<QStringList> rows;
    for (int body = 0; body < displayedBodyCount; ++body) {
        rows.append(BodyRow(result, body));
    }

    QList<qsizetype> widths;
    for (const QString& title : header) {
        widths.append(title.size());
    }
    for (const QStringList& row : rows) {
        for (qsizetype column = 0; column < row.size(); ++column) {
            widths[column] = std::max(widths[column], row[column].size());
        }
    }
    QStringList rule;
    for (const qsizetype width : widths) {
        rule.append(QString(width, u'-'));
    }

    QString table = TableLine(header, widths) + TableLine(rule, widths);
    for (const QStringList& row : rows) {
        table += TableLine(row, widths);
    }

    // Ascendant, Midheaven, Rahu and Ketu: positions only, they have no decanate.
    table += u'\n';
    qsizetype nameWidth = 0;
    for (int body = displayedBodyCount; body < positionCount; ++body) {
        nameWidth = std::max(nameWidth, qsizetype(qstrlen(bodyNames[body])));
    }
    for (int body = displayedBodyCount; body < positionCount; ++body) {
        table +=
            TableLine({QString::fromLatin1(bodyNames[body]), Text(result.chart.positionText[body])},
                      {nameWidth, 0});
    }
    return table;
}

QByteArray FormatChartJson(const ChartResult& result) {
    const ChartState& chart = result.chart;
    QJsonArray positions;
    for (const std::string& position : chart.positionText) {
        positions.append(Text(position));
    }
    QJsonArray decanates;
    for (int body = 0; body < displayedBodyCount; ++body) {
        const DecanateResult& decanate = result.decanates[body];
        decanates.append(
            QJsonObject{{QStringLiteral("body"), QString::fromLatin1(bodyNames[body])},
                        {QStringLiteral("decanateName"), Text(decanate.decanateName)},
                        {QStringLiteral("decanateSign"), Text(decanate.decanateSign)},
                        {QStringLiteral("description"), Text(decanate.description)},
                        {QStringLiteral("rulingPlanet"), Text(decanate.rulingPlanet)},
                        {QStringLiteral("rulingElement"), Text(decanate.rulingElement)},
                        {QStringLiteral("constellation"), Text(decanate.constellationName)},
                        {QStringLiteral("keyword"), Text(decanate.keyword)},
                        {QStringLiteral("treeZodiac"), Text(decanate.treeZodiac)}});
    }
    const QJsonObject object{
        {QStringLiteral("positionText"), positions},
        {QStringLiteral("ascendantText"), Text(chart.ascendantText)},
        {QStringLiteral("midheavenText"), Text(chart.midheavenText)},
        {QStringLiteral("moonPositionText"), Text(chart.moonPositionText)},
        {QStringLiteral("chartSiderealCorrection"), chart.chartSiderealCorrection},
        {QStringLiteral("zoneCorrectionHours"), chart.zoneCorrectionHours},
        {QStringLiteral("zoneCorrectionMinutes"), chart.zoneCorrectionMinutes},
        {QStringLiteral("decanates"), decanates}};
    return QJsonDocument(object).toJson(QJsonDocument::Indented);
}

QString FormatZoneList() {
    QString list;
    for (int position = 0; position < timeZoneCount; ++position) {
        list += QStringLiteral("%1  %2\n")
                    .arg(position, 2)
                    .arg(QString::fromLatin1(timeZoneTable[position].listText));
    }
    return list;
}
