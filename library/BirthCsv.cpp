#include "library/BirthCsv.h"

#include "chart/TimeZones.h"
#include "request/CsvRows.h"

#include <QStringList>

#include <algorithm>
#include <string>
#include <string_view>

namespace {

// The named columns after the batch's nine, in the order export writes them.
const QStringList namedColumns = {QStringLiteral("city"),    QStringLiteral("state"),
                                  QStringLiteral("country"), QStringLiteral("ianaZone"),
                                  QStringLiteral("note"),    QStringLiteral("created"),
                                  QStringLiteral("changed")};

// A backslash, line feed, carriage return and NUL written as two characters each.
QString Escaped(const QString& text) {
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar character : text) {
        switch (character.unicode()) {
        case u'\\':
            escaped += QLatin1StringView("\\\\");
            break;
        case u'\n':
            escaped += QLatin1StringView("\\n");
            break;
        case u'\r':
            escaped += QLatin1StringView("\\r");
            break;
        case u'\0':
            escaped += QLatin1StringView("\\0");
            break;
        default:
            escaped += character;
        }
    }
    return escaped;
}

// The text Escaped wrote, or nothing when a backslash starts no known pair.
std::optional<QString> Unescaped(const QString& text) {
    QString plain;
    plain.reserve(text.size());
    for (qsizetype at = 0; at < text.size(); ++at) {
        if (text[at] != u'\\') {
            plain += text[at];
            continue;
        }
        if (++at == text.size()) {
            return std::nullopt;
        }
        switch (text[at].unicode()) {
        case u'\\':
            plain += u'\\';
            break;
        case u'n':
            plain += u'\n';
            break;
        case u'r':
            plain += u'\r';
            break;
        case u'0':
            plain += QChar(u'\0');
            break;
        default:
            return std::nullopt;
        }
    }
    return plain;
}

void AppendField(std::string& out, const QString& value) {
    const QByteArray utf8 = value.toUtf8();
    AppendCsvField(out, std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

// The degree and minute texts of a coordinate the batch's rules have accepted ("77:13E").
void SplitCoordinate(QByteArrayView value, QString& degrees, QString& minutes) {
    const QString text = Utf8Text(value);
    const qsizetype colon = text.indexOf(u':');
    degrees = text.first(colon);
    minutes = text.sliced(colon + 1, text.size() - colon - 2);
}

// One birth as one CSV line, with its line end. A birth with a zone-list row writes zone and
// dst; one with only an IANA zone writes tz. The place column stays empty.
QByteArray BirthCsvLine(const SavedBirth& birth) {
    std::string out;
    const bool listZone = !birth.zoneRow.isEmpty();
    AppendField(out, birth.name);
    out += ',';
    AppendField(out, BirthDateText(birth));
    out += ',';
    AppendField(out, BirthTimeText(birth));
    out += ',';
    AppendField(out, BirthLongitudeText(birth));
    out += ',';
    AppendField(out, BirthLatitudeText(birth));
    out += ',';
    AppendField(out, listZone ? birth.zoneRow : QString());
    out += ',';
    AppendField(out, listZone ? QString() : birth.ianaZone);
    out += ",,"; // the place stays empty: the coordinates are written
    out += listZone ? (birth.daylightSaving ? "1" : "0") : "";
    for (const QString& text :
         {birth.city, birth.state, birth.country, birth.ianaZone, birth.note}) {
        out += ',';
        AppendField(out, Escaped(text));
    }
    out += ',';
    AppendField(out, birth.created.toString(Qt::ISODateWithMs));
    out += ',';
    AppendField(out, birth.changed.toString(Qt::ISODateWithMs));
    out += '\n';
    return QByteArray::fromStdString(out);
}

// A row refused because the library holds its birth already.
RefusedRow InLibraryRow(qint64 line, const QString& name, const QString& date) {
    return {line, QStringLiteral("a birth of this name and date is already saved"), true, name,
            date};
}

// The longest name and date a refused row shows, in characters.
constexpr qsizetype shownNameLength = 80;
constexpr qsizetype shownDateLength = 20;

// "3 births" or "1 birth".
QString Counted(qint64 count, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(count).arg(QLatin1StringView(count == 1 ? one : many));
}

} // namespace

std::optional<LibraryError> ExportBirths(BirthLibrary& library, QIODevice& output, qint64* births) {
    QByteArray out = QByteArray(birthCsvHeader) + '\n';
    bool written = true;
    qint64 count = 0;
    auto error = library.ForEach([&](const SavedBirth& birth) {
        ++count;
        out += BirthCsvLine(birth);
        if (out.size() >= (1 << 20)) {
            written = written && output.write(out) == out.size();
            out.clear();
        }
    });
    if (error) {
        return error;
    }
    written = written && output.write(out) == out.size();
    if (!written) {
        return LibraryError{
            LibraryFault::Failed,
            QStringLiteral("The births were not exported: %1").arg(output.errorString())};
    }
    if (births != nullptr) {
        *births = count;
    }
    return std::nullopt;
}

BirthRows ReadBirthRows(QIODevice& input, RememberedPlaceAnswers& places,
                        const QSet<QString>& known, bool replace) {
    BirthRows rows;
    // The batch's own line reader: LF, CR LF or a CR alone end a line, from a file or a pipe.
    LineReader reader(input);
    const std::optional<InputLine> headerLine = reader.Next();
    if (reader.ReadError()) {
        rows.readError = reader.ReadError();
        return rows;
    }
    // The batch's nine columns first, then any of the named columns in any order.
    const std::optional<QStringList> names =
        headerLine ? ReadBatchHeader(*headerLine) : std::optional<QStringList>();
    QHash<QString, int> namedAt; // by the column's name as namedColumns spells it
    bool headerFits = names.has_value();
    for (int column = batchColumnCount; headerFits && column < names->size(); ++column) {
        const auto known =
            std::find_if(namedColumns.begin(), namedColumns.end(), [&](const QString& named) {
                return named.compare((*names)[column], Qt::CaseInsensitive) == 0;
            });
        headerFits = known != namedColumns.end();
        if (headerFits) {
            namedAt.insert(*known, column);
        }
    }
    if (!headerFits) {
        rows.fileError = QStringLiteral("line 1 must be the header %1, optionally followed by "
                                        "any of the columns %2")
                             .arg(QLatin1StringView(batchHeader), namedColumns.join(u','));
        return rows;
    }

    CsvFields fields;
    QHash<QString, qint64> earlier; // key -> line
    qint64 lineNumber = 1;
    while (const std::optional<InputLine> next = reader.Next()) {
        ++lineNumber;
        QString rowName; // the row's name and date as the file writes them, once it is split
        QString rowDate;
        const auto refuse = [&](const QString& message) {
            rows.refused.push_back({lineNumber, message, false, rowName, rowDate});
        };
        if (next->tooLong) {
            refuse(QStringLiteral("the line is longer than %1 bytes").arg(longestBatchLineBytes));
            continue;
        }
        const QByteArrayView line = next->bytes;
        if (line.trimmed().isEmpty()) {
            continue;
        }
        if (!line.isValidUtf8()) {
            refuse(QStringLiteral("the line is not valid UTF-8"));
            continue;
        }
        if (const auto problem = SplitCsvLine(line, fields)) {
            refuse(*problem);
            continue;
        }
        const QString writtenName =
            fields.values.empty() ? QString() : Utf8Text(TrimmedUtf8(fields.values[0]));
        rowName = Shown(writtenName, shownNameLength);
        if (fields.values.size() > 1) {
            rowDate = Shown(Utf8Text(TrimmedUtf8(fields.values[1])), shownDateLength);
        }
        if (fields.values.size() != static_cast<std::size_t>(names->size())) {
            refuse(QStringLiteral("expected %1 columns, found %2")
                       .arg(names->size())
                       .arg(fields.values.size()));
            continue;
        }
        const QString name = NameInCapitals(writtenName);
        if (NameFault(name)) {
            refuse(writtenName.isEmpty()
                       ? QStringLiteral("the name is empty")
                       : QStringLiteral("the name may hold only the letters A to Z and blanks"));
            continue;
        }
        const auto row = BatchRowFields(fields);
        if (const auto* refusal = std::get_if<Refusal>(&row)) {
            refuse(refusal->message);
            continue;
        }
        const ChartFields& chart = std::get<ChartFields>(row);
        const auto resolved = ResolveChartRequest(chart, places);
        if (const auto* refusal = std::get_if<Refusal>(&resolved)) {
            refuse(ColumnMessage(refusal->message)); // as the batch names the column
            continue;
        }
        const ChartRequest& request = std::get<ChartRequest>(resolved);
        const ChartInput& input = request.input;

        SavedBirth birth;
        birth.name = name;
        birth.year = input.year;
        birth.month = input.monthPosition + 1;
        birth.day = input.day;
        birth.hour = input.hour;
        birth.minute = input.minute;
        if (chart.place) {
            birth.longitudeDegrees = QString::number(input.longitudeDegrees);
            birth.longitudeMinutes = QString::number(input.longitudeMinutes);
            birth.latitudeDegrees = QString::number(input.latitudeDegrees);
            birth.latitudeMinutes = QString::number(input.latitudeMinutes);
        } else {
            SplitCoordinate(*chart.longitude, birth.longitudeDegrees, birth.longitudeMinutes);
            SplitCoordinate(*chart.latitude, birth.latitudeDegrees, birth.latitudeMinutes);
        }
        birth.east = input.east;
        birth.south = input.south;
        birth.daylightSaving = request.used.daylightSaving;
        if (chart.zone) {
            birth.zoneRow = QLatin1StringView(timeZoneTable[input.timeZonePosition].listText);
        } else {
            birth.ianaZone = QString::fromUtf8(request.used.zoneId);
            birth.offsetSeconds = request.used.databaseOffsetSeconds;
        }
        if (request.used.place) {
            birth.city = request.used.place->name;
            birth.state = request.used.place->state;
            birth.country = request.used.place->country;
        }

        // The named columns, read exactly as written.
        QString fault;
        const auto named = [&](const QString& column) -> std::optional<QString> {
            const auto at = namedAt.find(column);
            if (at == namedAt.end()) {
                return QString();
            }
            auto value = Unescaped(Utf8Text(fields.values[*at]));
            if (!value) {
                fault =
                    QStringLiteral("%1: a backslash must be followed by \\, n, r or 0").arg(column);
            }
            return value;
        };
        const auto city = named(QStringLiteral("city"));
        const auto state = named(QStringLiteral("state"));
        const auto country = named(QStringLiteral("country"));
        const auto iana = named(QStringLiteral("ianaZone"));
        const auto note = named(QStringLiteral("note"));
        const auto created = named(QStringLiteral("created"));
        const auto changed = named(QStringLiteral("changed"));
        if (!fault.isEmpty()) {
            refuse(fault);
            continue;
        }
        if (!city->isEmpty() || !state->isEmpty() || !country->isEmpty()) {
            birth.city = *city;
            birth.state = *state;
            birth.country = *country;
        }
        if (note->size() > maxNoteLength) {
            refuse(QStringLiteral("note: longer than %1 characters").arg(maxNoteLength));
            continue;
        }
        birth.note = *note;
        if (!iana->isEmpty() && birth.zoneRow.isEmpty() && *iana != birth.ianaZone) {
            refuse(QStringLiteral("ianaZone: %1 differs from the zone %2 of the row")
                       .arg(Quoted(*iana), Quoted(birth.ianaZone)));
            continue;
        }
        if (!iana->isEmpty() && !birth.zoneRow.isEmpty()) {
            // The zone the finder supplied beside the list row: its exact offset at the birth.
            ChartFields byZone = chart;
            const QByteArray ianaUtf8 = iana->toUtf8();
            byZone.zone.reset();
            byZone.place.reset();
            byZone.daylightSaving = false;
            byZone.tz = QByteArrayView(ianaUtf8);
            const QByteArray lon = BirthLongitudeText(birth).toUtf8();
            const QByteArray lat = BirthLatitudeText(birth).toUtf8();
            byZone.longitude = QByteArrayView(lon);
            byZone.latitude = QByteArrayView(lat);
            const auto zoned = ResolveChartRequest(byZone, places);
            if (const auto* refusal = std::get_if<Refusal>(&zoned)) {
                refuse(QStringLiteral("ianaZone: ") + ColumnMessage(refusal->message));
                continue;
            }
            birth.offsetSeconds = std::get<ChartRequest>(zoned).used.databaseOffsetSeconds;
            birth.ianaZone = *iana;
        }
        const auto readTime = [&](const QString& column, const QString& text, QDateTime& time) {
            if (text.isEmpty()) {
                return true;
            }
            time = QDateTime::fromString(text, Qt::ISODateWithMs);
            if (!time.isValid()) {
                refuse(QStringLiteral("%1: expected a date and time such as "
                                      "2026-01-31T09:30:00.000Z (got %2)")
                           .arg(column, Quoted(text)));
                return false;
            }
            time = time.toUTC();
            return true;
        };
        if (!readTime(QStringLiteral("created"), *created, birth.created) ||
            !readTime(QStringLiteral("changed"), *changed, birth.changed)) {
            continue;
        }

        // An export writes the birth on one line that the batch and an import must read again:
        // with the zone row's text, quotes and its times, which the row may not have held. It is
        // at most twice the row (each field quoted and its quotes doubled) with the place, zone
        // and times it adds; a shorter row needs no look.
        constexpr qsizetype addedBytes = 4096;
        SavedBirth exported = birth;
        for (QDateTime* time : {&exported.created, &exported.changed}) {
            if (!time->isValid()) {
                *time = QDateTime::currentDateTimeUtc();
            }
        }
        if (const qsizetype bytes = 2 * line.size() + addedBytes > longestBatchLineBytes
                                        ? BirthCsvLine(exported).size() - 1
                                        : 0;
            bytes > longestBatchLineBytes) {
            refuse(QStringLiteral("the birth would take %1 bytes as an exported line, more than "
                                  "the %2 a line may have")
                       .arg(bytes)
                       .arg(longestBatchLineBytes));
            continue;
        }

        const QString key = BirthKey(birth.name, birth.year, birth.month, birth.day);
        if (const auto before = earlier.constFind(key); before != earlier.constEnd()) {
            refuse(QStringLiteral("the same name and date are already on line %1").arg(*before));
            continue;
        }
        earlier.insert(key, lineNumber);
        // The columns the file does not carry keep their saved values when a birth is replaced.
        const FieldsLeftOut leftOut{
            .note = !namedAt.contains(QStringLiteral("note")),
            .place = !namedAt.contains(QStringLiteral("city")) &&
                     !namedAt.contains(QStringLiteral("state")) &&
                     !namedAt.contains(QStringLiteral("country")) && !request.used.place,
            .ianaZone = !namedAt.contains(QStringLiteral("ianaZone")) && !birth.zoneRow.isEmpty()};
        const bool inLibrary = !replace && known.contains(key);
        if (name != NameAsHeld(writtenName)) {
            rows.renamed.push_back({lineNumber, rowName, name, inLibrary});
        }
        if (inLibrary) {
            rows.refused.push_back(InLibraryRow(lineNumber, rowName, rowDate));
            rows.inLibrary.push_back(std::move(birth));
            rows.inLibraryLeftOut.push_back(leftOut);
            rows.inLibraryLines.push_back(lineNumber);
            continue;
        }
        rows.births.push_back(std::move(birth));
        rows.leftOut.push_back(leftOut);
        rows.lines.push_back(lineNumber);
    }
    rows.readError = reader.ReadError();
    rows.linesRead = lineNumber;
    return rows;
}

ImportReport StoreBirthRows(BirthLibrary& library, BirthRows rows, SavedBirthsInFile saved,
                            const std::function<void(qint64 rowsWritten)>& afterRow) {
    ImportReport report;
    report.fileError = std::move(rows.fileError);
    if (saved == SavedBirthsInFile::Replace) {
        std::move(rows.inLibrary.begin(), rows.inLibrary.end(), std::back_inserter(rows.births));
        rows.leftOut.insert(rows.leftOut.end(), rows.inLibraryLeftOut.begin(),
                            rows.inLibraryLeftOut.end());
        rows.lines.insert(rows.lines.end(), rows.inLibraryLines.begin(), rows.inLibraryLines.end());
        std::erase_if(rows.refused, [](const RefusedRow& row) { return row.inLibrary; });
    } else {
        // The saved births stay as they are, and so do their names.
        std::erase_if(rows.renamed, [](const RenamedRow& row) { return row.inLibrary; });
        if (saved == SavedBirthsInFile::Keep) {
            report.kept = static_cast<qint64>(rows.inLibrary.size());
            std::erase_if(rows.refused, [](const RefusedRow& row) { return row.inLibrary; });
        }
    }
    report.refused = std::move(rows.refused);
    report.renamed = std::move(rows.renamed);
    report.readError = std::move(rows.readError);
    report.linesRead = rows.linesRead;
    if (report.fileError || report.readError || rows.births.empty()) {
        report.renamed.clear();
        return report;
    }
    std::vector<StoreOutcome> outcomes;
    if (auto error = library.AddAll(rows.births, saved == SavedBirthsInFile::Replace, afterRow,
                                    rows.leftOut, &outcomes)) {
        report.error = *error;
        report.renamed.clear();
        return report;
    }
    // A birth another import saved after the file was read is refused as any saved one is.
    QSet<qint64> refusedNow;
    for (std::size_t at = 0; at < outcomes.size(); ++at) {
        switch (outcomes[at]) {
        case StoreOutcome::Added:
            ++report.added;
            break;
        case StoreOutcome::Replaced:
            ++report.replaced;
            break;
        case StoreOutcome::Unchanged:
            ++report.unchanged;
            break;
        case StoreOutcome::Exists:
            report.refused.push_back(
                InLibraryRow(rows.lines[at], rows.births[at].name, BirthDateText(rows.births[at])));
            refusedNow.insert(rows.lines[at]);
            break;
        }
    }
    if (!refusedNow.isEmpty()) {
        std::stable_sort(report.refused.begin(), report.refused.end(),
                         [](const RefusedRow& a, const RefusedRow& b) { return a.line < b.line; });
        std::erase_if(report.renamed,
                      [&](const RenamedRow& row) { return refusedNow.contains(row.line); });
    }
    return report;
}

ImportReport ImportBirths(BirthLibrary& library, QIODevice& input, RememberedPlaceAnswers& places,
                          bool replace, const std::function<void(qint64 rowsWritten)>& afterRow) {
    ImportReport report;
    // An import makes the library when there is none.
    if (auto error = library.Open(LibraryAction::Import)) {
        report.error = *error;
        return report;
    }
    auto known = library.KnownBirths();
    if (auto* error = std::get_if<LibraryError>(&known)) {
        report.error = *error;
        return report;
    }
    return StoreBirthRows(
        library, ReadBirthRows(input, places, std::get<QSet<QString>>(known), replace),
        replace ? SavedBirthsInFile::Replace : SavedBirthsInFile::Refuse, afterRow);
}

QString RefusedRowsText(const std::vector<RefusedRow>& refused) {
    QString text;
    for (const RefusedRow& row : refused) {
        QStringList named;
        for (const QString* part : {&row.name, &row.date}) {
            if (!part->isEmpty()) {
                named.append(*part);
            }
        }
        text += named.isEmpty() ? QStringLiteral("line %1: %2\n").arg(row.line).arg(row.message)
                                : QStringLiteral("line %1: %2: %3\n")
                                      .arg(row.line)
                                      .arg(named.join(QStringLiteral(", ")), row.message);
    }
    return text;
}

ImportReportTexts ImportReportText(const ImportReport& report) {
    ImportReportTexts texts;
    const qint64 refused = static_cast<qint64>(report.refused.size());
    texts.summary = QStringLiteral("%1 added, %2 replaced, %3 kept as %4 saved, %5 refused")
                        .arg(Counted(report.added, "birth", "births"))
                        .arg(report.replaced)
                        .arg(report.kept + report.unchanged)
                        .arg(report.kept + report.unchanged == 1 ? QStringLiteral("it was")
                                                                 : QStringLiteral("they were"))
                        .arg(Counted(refused, "row", "rows"));
    if (!report.renamed.empty()) {
        texts.summary +=
            QStringLiteral("; %1 written in capitals A to Z")
                .arg(Counted(static_cast<qint64>(report.renamed.size()), "name", "names"));
    }
    texts.details = RefusedRowsText(report.refused);
    for (const RenamedRow& row : report.renamed) {
        texts.details +=
            QStringLiteral("line %1: %2 \u2192 %3\n").arg(row.line).arg(row.written, row.stored);
    }
    return texts;
}
