#include "cli/BatchRun.h"

namespace {

// Output is handed over in pieces of about this size.
constexpr qsizetype outputChunkBytes = 1 << 20;

// One line of the input, without its line end; `tooLong` when it was longer than the limit (the
// rest of it is skipped). The bytes stay in the reader's buffer until the next line is read.
struct InputLine {
    QByteArrayView bytes;
    bool tooLong = false;
};

// Reads the lines of a device into one buffer that is kept from line to line.
class LineReader {
  public:
    explicit LineReader(QIODevice& input) : input_(input) {
        // At most one byte more than the longest line, its line end and the terminating zero
        // that QIODevice adds: enough to tell that a line is too long.
        buffer_.resize(longestBatchLineBytes + 3);
    }

    std::optional<InputLine> Next() {
        const qint64 read = input_.readLine(buffer_.data(), buffer_.size());
        if (read <= 0) {
            return std::nullopt; // the end of the input
        }
        InputLine line;
        line.bytes = QByteArrayView(buffer_.constData(), read);
        if (line.bytes.endsWith('\n')) {
            line.bytes.chop(1);
        } else if (line.bytes.size() > longestBatchLineBytes) {
            line.tooLong = true;
            line.bytes = QByteArrayView();
            // Skip the rest of this line, a piece at a time.
            while (true) {
                const QByteArray rest = input_.readLine(64 * 1024);
                if (rest.isEmpty() || rest.endsWith('\n')) {
                    break;
                }
            }
            return line;
        }
        if (line.bytes.endsWith('\r')) {
            line.bytes.chop(1);
        }
        if (line.bytes.size() > longestBatchLineBytes) {
            line.tooLong = true;
            line.bytes = QByteArrayView();
        }
        return line;
    }

  private:
    QIODevice& input_;
    QByteArray buffer_;
};

// The text of a line, or nothing when it is not UTF-8.
std::optional<QString> DecodeUtf8(QByteArrayView bytes) {
    if (!bytes.isValidUtf8()) {
        return std::nullopt;
    }
    return QString::fromUtf8(bytes);
}

std::optional<QString> Field(const QStringList& fields, int column) {
    const QString value = fields[column].trimmed();
    return value.isEmpty() ? std::nullopt : std::optional<QString>(value);
}

std::variant<bool, Refusal> ReadDaylightSaving(const QString& value) {
    if (value.isEmpty()) {
        return false;
    }
    const QString folded = value.trimmed().toLower();
    if (folded.isEmpty() || folded == u"0" || folded == u"false" || folded == u"no") {
        return false;
    }
    if (folded == u"1" || folded == u"true" || folded == u"yes") {
        return true;
    }
    return Refusal{QStringLiteral("dst: expected 1 or 0, true or false, yes or no (got %1)")
                       .arg(Quoted(value))};
}

} // namespace

std::variant<QStringList, QString> SplitCsvLine(QStringView line) {
    QStringList fields;
    fields.reserve(batchColumnCount);
    QString field;
    qsizetype at = 0;
    while (true) {
        field.clear();
        if (at < line.size() && line[at] == u'"') {
            ++at;
            bool closed = false;
            while (at < line.size()) {
                if (line[at] == u'"') {
                    if (at + 1 < line.size() && line[at + 1] == u'"') {
                        field += u'"';
                        at += 2;
                        continue;
                    }
                    closed = true;
                    ++at;
                    break;
                }
                field += line[at++];
            }
            if (!closed) {
                return QStringLiteral("unbalanced quotes: a quoted value is not closed on its "
                                      "line");
            }
            if (at < line.size() && line[at] != u',') {
                return QStringLiteral("unbalanced quotes: text follows a closing quote");
            }
            fields.append(field);
        } else {
            const qsizetype comma = line.indexOf(u',', at);
            const QStringView bare = line.mid(at, comma < 0 ? line.size() - at : comma - at);
            if (bare.contains(u'"')) {
                return QStringLiteral("unbalanced quotes: a quote inside an unquoted value");
            }
            fields.append(bare.toString());
            at += bare.size();
        }
        if (at >= line.size()) {
            break;
        }
        ++at; // the comma
    }
    return fields;
}

BatchSummary RunBatch(QIODevice& input, OutputFormat format, PlaceLookup& places,
                      const std::function<void(const QByteArray&)>& write) {
    BatchSummary summary;
    LineReader reader(input);
    const auto header = reader.Next();
    if (!header) {
        summary.fileError =
            QStringLiteral("--batch: the input is empty; expected the header %1 and one row per "
                           "chart")
                .arg(QLatin1StringView(batchHeader));
        return summary;
    }
    QByteArray headerBytes = header->bytes.toByteArray();
    if (headerBytes.startsWith("\xEF\xBB\xBF")) {
        headerBytes.remove(0, 3); // a byte-order mark
    }
    const std::optional<QString> headerText = DecodeUtf8(headerBytes);
    const auto headerFields =
        headerText ? SplitCsvLine(*headerText) : std::variant<QStringList, QString>(QString());
    const auto* names = std::get_if<QStringList>(&headerFields);
    QStringList trimmedNames;
    if (names != nullptr) {
        for (const QString& name : *names) {
            trimmedNames.append(name.trimmed().toLower());
        }
    }
    if (header->tooLong || trimmedNames.join(u',') != QLatin1StringView(batchHeader)) {
        summary.fileError = QStringLiteral("--batch: line 1 must be the header %1")
                                .arg(QLatin1StringView(batchHeader));
        return summary;
    }

    QByteArray out;
    out.reserve(outputChunkBytes + 64 * 1024);
    if (format == OutputFormat::Csv) {
        out += ChartCsvHeader();
    }
    const auto refuse = [&](qint64 lineNumber, const QString& message) {
        ++summary.refusedRows;
        if (format == OutputFormat::Csv) {
            AppendErrorCsvRow(out, lineNumber, message);
        } else {
            AppendErrorJsonLine(out, lineNumber, message);
        }
    };

    ChartResult result; // reused from row to row
    qint64 lineNumber = 1;
    while (const auto line = reader.Next()) {
        ++lineNumber;
        if (!line->tooLong && line->bytes.trimmed().isEmpty()) {
            continue; // a blank line is no row
        }
        ++summary.rows;
        if (line->tooLong) {
            refuse(lineNumber,
                   QStringLiteral("the line is longer than %1 bytes").arg(longestBatchLineBytes));
        } else if (const std::optional<QString> text = DecodeUtf8(line->bytes); !text) {
            refuse(lineNumber, QStringLiteral("the line is not valid UTF-8"));
        } else if (const auto split = SplitCsvLine(*text);
                   const auto* problem = std::get_if<QString>(&split)) {
            refuse(lineNumber, *problem);
        } else if (const QStringList& fields = std::get<QStringList>(split);
                   fields.size() != batchColumnCount) {
            refuse(lineNumber, QStringLiteral("expected %1 columns (%2), found %3")
                                   .arg(batchColumnCount)
                                   .arg(QLatin1StringView(batchHeader))
                                   .arg(fields.size()));
        } else if (const auto dst = ReadDaylightSaving(fields[8]);
                   const auto* refusal = std::get_if<Refusal>(&dst)) {
            refuse(lineNumber, refusal->message);
        } else {
            ChartFields chart;
            chart.name = Field(fields, 0);
            chart.date = Field(fields, 1);
            chart.time = Field(fields, 2);
            chart.longitude = Field(fields, 3);
            chart.latitude = Field(fields, 4);
            chart.zone = Field(fields, 5);
            chart.tz = Field(fields, 6);
            chart.place = Field(fields, 7);
            chart.daylightSaving = std::get<bool>(dst);
            const auto request = ResolveChartRequest(chart, places);
            if (const auto* refusal = std::get_if<Refusal>(&request)) {
                refuse(lineNumber, refusal->message);
            } else {
                const auto& accepted = std::get<ChartRequest>(request);
                ComputeChartInto(result, accepted.input, &accepted.used);
                if (format == OutputFormat::Csv) {
                    AppendChartCsvRow(out, result, lineNumber);
                } else {
                    AppendChartJsonLine(out, result, lineNumber);
                }
            }
        }
        if (out.size() >= outputChunkBytes) {
            write(out);
            out.resize(0); // keeps the buffer for the next piece
        }
    }
    if (summary.rows == 0) {
        summary.fileError = QStringLiteral("--batch: the input has a header but no rows");
        return summary;
    }
    if (!out.isEmpty()) {
        write(out);
    }
    return summary;
}
