#include "cli/BatchRun.h"

#include <algorithm>
#include <cstring>

namespace {

// Output is handed over in pieces of about this size.
constexpr qsizetype outputChunkBytes = 1 << 20;

// One line of the input, without its line end; `tooLong` when it was longer than the limit (the
// rest of it is skipped). The bytes stay in the reader's buffer until the next line is read.
struct InputLine {
    QByteArrayView bytes;
    bool tooLong = false;
};

// Reads the lines of a device through one buffer, a large piece at a time.
class LineReader {
  public:
    explicit LineReader(QIODevice& input) : input_(input) {
        buffer_.resize(tellTooLongBytes + readPieceBytes);
    }

    std::optional<InputLine> Next() {
        bool tooLong = false;
        while (true) {
            const char* const first = buffer_.constData() + start_;
            if (const auto* const lineEnd =
                    static_cast<const char*>(std::memchr(first, '\n', end_ - start_))) {
                start_ = lineEnd - buffer_.constData() + 1;
                return tooLong ? InputLine{{}, true}
                               : Ended(QByteArrayView(first, lineEnd - first), true);
            }
            if (ended_) {
                if (!tooLong && start_ == end_) {
                    return std::nullopt;
                }
                const QByteArrayView last(first, end_ - start_); // without a line end
                start_ = end_;
                return tooLong ? InputLine{{}, true} : Ended(last, false);
            }
            if (end_ - start_ >= tellTooLongBytes) {
                tooLong = true; // the rest of the line is skipped
                start_ = end_;
            }
            // Keep the start of the line and read more after it.
            std::memmove(buffer_.data(), first, end_ - start_);
            end_ -= start_;
            start_ = 0;
            const qint64 read = input_.read(buffer_.data() + end_, buffer_.size() - end_);
            if (read <= 0) {
                ended_ = true;
            } else {
                end_ += read;
            }
        }
    }

  private:
    // So many bytes without a line end are a line too long whatever follows: the longest line,
    // a carriage return and one byte more.
    static constexpr qsizetype tellTooLongBytes = longestBatchLineBytes + 2;
    static constexpr qsizetype readPieceBytes = 256 * 1024;

    // A line without its line end, and without a carriage return before that. A last line
    // without a line end is measured with its carriage return.
    static InputLine Ended(QByteArrayView bytes, bool hadLineEnd) {
        if (hadLineEnd && bytes.endsWith('\r')) {
            bytes.chop(1);
        }
        if (bytes.size() > longestBatchLineBytes) {
            return InputLine{{}, true};
        }
        if (!hadLineEnd && bytes.endsWith('\r')) {
            bytes.chop(1);
        }
        return InputLine{bytes, false};
    }

    QIODevice& input_;
    QByteArray buffer_;
    qsizetype start_ = 0; // the unread bytes of the buffer
    qsizetype end_ = 0;
    bool ended_ = false; // the device has no more
};

// The text of a line, or nothing when it is not UTF-8. A byte-order mark at its start is no
// part of the text (as QString::fromUtf8 reads it).
std::optional<QByteArrayView> Utf8Line(QByteArrayView bytes) {
    if (!bytes.isValidUtf8()) {
        return std::nullopt;
    }
    return bytes.startsWith(utf8ByteOrderMark) ? bytes.sliced(utf8ByteOrderMark.size()) : bytes;
}

std::optional<QByteArrayView> Field(const CsvFields& fields, int column) {
    const QByteArrayView value = TrimmedUtf8(fields.values[column]);
    return value.isEmpty() ? std::nullopt : std::optional<QByteArrayView>(value);
}

std::variant<bool, Refusal> ReadDaylightSaving(QByteArrayView value) {
    if (value.isEmpty()) {
        return false;
    }
    // ASCII case folding is enough: no letter outside ASCII lowercases to a letter of these words.
    const QByteArrayView word = TrimmedUtf8(value);
    const auto is = [word](const char* spelling) {
        return word.compare(spelling, Qt::CaseInsensitive) == 0;
    };
    if (word.isEmpty() || is("0") || is("false") || is("no")) {
        return false;
    }
    if (is("1") || is("true") || is("yes")) {
        return true;
    }
    return Refusal{QStringLiteral("dst: expected 1 or 0, true or false, yes or no (got %1)")
                       .arg(Quoted(Utf8Text(value)))};
}

} // namespace

std::optional<QString> SplitCsvLine(QByteArrayView line, CsvFields& fields) {
    fields.values.clear();
    fields.unquoted.clear();
    // Never more than the line, so the views of it stay valid while it is filled.
    fields.unquoted.reserve(static_cast<std::size_t>(line.size()));
    const char* at = line.begin();
    const char* const end = line.end();
    while (true) {
        if (at != end && *at == '"') {
            const char* const first = ++at;
            std::optional<std::size_t> copiedFrom; // in `unquoted`, once a doubled quote is met
            while (true) {
                const char* const quote = std::find(at, end, '"');
                if (quote == end) {
                    return QStringLiteral("unbalanced quotes: a quoted value is not closed on its "
                                          "line");
                }
                if (quote + 1 != end && quote[1] == '"') {
                    copiedFrom = copiedFrom.value_or(fields.unquoted.size());
                    fields.unquoted.append(at, quote + 1); // one of the two quotes
                    at = quote + 2;
                    continue;
                }
                if (copiedFrom) {
                    fields.unquoted.append(at, quote);
                    fields.values.emplace_back(fields.unquoted.data() + *copiedFrom,
                                               fields.unquoted.data() + fields.unquoted.size());
                } else {
                    fields.values.emplace_back(first, quote);
                }
                at = quote + 1;
                break;
            }
            if (at != end && *at != ',') {
                return QStringLiteral("unbalanced quotes: text follows a closing quote");
            }
        } else {
            const char* const stop =
                std::find_if(at, end, [](char byte) { return byte == ',' || byte == '"'; });
            if (stop != end && *stop == '"') {
                return QStringLiteral("unbalanced quotes: a quote inside an unquoted value");
            }
            fields.values.emplace_back(at, stop);
            at = stop;
        }
        if (at == end) {
            break;
        }
        ++at; // the comma
    }
    return std::nullopt;
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
    QByteArrayView headerBytes = header->bytes;
    if (headerBytes.startsWith(utf8ByteOrderMark)) {
        headerBytes = headerBytes.sliced(utf8ByteOrderMark.size());
    }
    CsvFields fields; // reused from row to row
    const std::optional<QByteArrayView> headerText = Utf8Line(headerBytes);
    QStringList trimmedNames;
    if (headerText && !SplitCsvLine(*headerText, fields)) {
        for (const QByteArrayView name : fields.values) {
            trimmedNames.append(Utf8Text(name).trimmed().toLower());
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
        } else if (const std::optional<QByteArrayView> text = Utf8Line(line->bytes); !text) {
            refuse(lineNumber, QStringLiteral("the line is not valid UTF-8"));
        } else if (const std::optional<QString> problem = SplitCsvLine(*text, fields)) {
            refuse(lineNumber, *problem);
        } else if (fields.values.size() != batchColumnCount) {
            refuse(lineNumber, QStringLiteral("expected %1 columns (%2), found %3")
                                   .arg(batchColumnCount)
                                   .arg(QLatin1StringView(batchHeader))
                                   .arg(fields.values.size()));
        } else if (const auto dst = ReadDaylightSaving(fields.values[8]);
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
