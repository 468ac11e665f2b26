#include "request/CsvRows.h"

#include <QSet>

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

qint64 DescriptorDevice::readData(char* data, qint64 maxSize) {
    while (true) {
        const ssize_t read = ::read(descriptor_, data, static_cast<std::size_t>(maxSize));
        if (read >= 0) {
            return read;
        }
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            // A descriptor in non-blocking mode with nothing to read yet: wait for it.
            pollfd ready{descriptor_, POLLIN, 0};
            if (poll(&ready, 1, -1) >= 0 || errno == EINTR) {
                continue;
            }
        } else if (errno == EINTR) {
            continue;
        }
        setErrorString(QString::fromLocal8Bit(std::strerror(errno)));
        return -1;
    }
}

LineReader::LineReader(QIODevice& input) : input_(input) {
    buffer_.resize(longestBatchLineBytes + 1 + readPieceBytes);
}

std::optional<InputLine> LineReader::Next() {
    if (readError_) {
        return std::nullopt;
    }
    bool tooLong = false;
    while (true) {
        const char* const first = buffer_.constData() + start_;
        const char* const last = buffer_.constData() + end_;
        const char* lineEnd = static_cast<const char*>(std::memchr(first, '\n', last - first));
        if (lineEnd == nullptr) {
            lineEnd = last;
        }
        if (const auto* const cr =
                static_cast<const char*>(std::memchr(first, '\r', lineEnd - first))) {
            lineEnd = cr;
        }
        // A CR as the last byte read may be the first half of CR LF: decided once more is read.
        const bool undecided = lineEnd + 1 == last && *lineEnd == '\r' && !ended_;
        if (lineEnd != last && !undecided) {
            const bool crLf = *lineEnd == '\r' && lineEnd + 1 != last && lineEnd[1] == '\n';
            start_ = lineEnd - buffer_.constData() + (crLf ? 2 : 1);
            return Measured(QByteArrayView(first, lineEnd), tooLong);
        }
        if (ended_) {
            if (!tooLong && start_ == end_) {
                return std::nullopt;
            }
            start_ = end_; // the last line, without a line end
            return Measured(QByteArrayView(first, last), tooLong);
        }
        // So many bytes without a line end are a line too long whatever follows; a CR at
        // the end is kept, as it may end the line.
        const qsizetype pending = end_ - start_ - (undecided ? 1 : 0);
        if (pending > longestBatchLineBytes) {
            tooLong = true;
            start_ += pending;
        }
        // Keep the start of the line and read more after it.
        std::memmove(buffer_.data(), buffer_.constData() + start_, end_ - start_);
        end_ -= start_;
        start_ = 0;
        const qint64 read = input_.read(buffer_.data() + end_, buffer_.size() - end_);
        if (read < 0) {
            // What was read of an unfinished line is no line: the input stops here.
            readError_ = input_.errorString();
            ended_ = true;
            start_ = end_ = 0;
            return std::nullopt;
        }
        if (read == 0) {
            ended_ = true;
        } else {
            end_ += read;
        }
    }
}

bool LineReader::WouldWait() const {
    if (ended_) {
        return false;
    }
    const char* const first = buffer_.constData() + start_;
    const qsizetype size = end_ - start_;
    if (std::memchr(first, '\n', size) != nullptr || std::memchr(first, '\r', size) != nullptr) {
        return false;
    }
    const auto* const device = dynamic_cast<const DescriptorDevice*>(&input_);
    if (device == nullptr) {
        return false; // a file or a buffer: the rest is there to read
    }
    pollfd ready{device->Descriptor(), POLLIN, 0};
    return poll(&ready, 1, 0) == 0;
}

InputLine LineReader::Measured(QByteArrayView bytes, bool tooLong) {
    if (tooLong || bytes.size() > longestBatchLineBytes) {
        return InputLine{{}, true};
    }
    return InputLine{bytes, false};
}

std::optional<QByteArrayView> Utf8Line(QByteArrayView bytes) {
    if (!bytes.isValidUtf8()) {
        return std::nullopt;
    }
    return bytes.startsWith(utf8ByteOrderMark) ? bytes.sliced(utf8ByteOrderMark.size()) : bytes;
}

namespace {

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

std::variant<ChartFields, Refusal> BatchRowFields(const CsvFields& fields) {
    const auto dst = ReadDaylightSaving(fields.values[8]);
    if (const auto* refusal = std::get_if<Refusal>(&dst)) {
        return *refusal;
    }
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
    return chart;
}

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

void AppendCsvField(std::string& out, std::string_view utf8) {
    const bool special = std::any_of(utf8.begin(), utf8.end(), [](char byte) {
        return byte == ',' || byte == '"' || byte == '\r' || byte == '\n';
    });
    // Blanks at either end, by the batch's rule for trimming (TrimmedUtf8); an ASCII byte that is
    // not a space at both ends settles it without decoding.
    const auto plainEnd = [](char byte) {
        return static_cast<uchar>(byte) < 0x80 && !QChar::isSpace(static_cast<uchar>(byte));
    };
    const QByteArrayView bytes(utf8.data(), static_cast<qsizetype>(utf8.size()));
    const bool blankEnds = !utf8.empty() && !(plainEnd(utf8.front()) && plainEnd(utf8.back())) &&
                           TrimmedUtf8(bytes).size() != bytes.size();
    if (!special && !blankEnds) {
        out += utf8;
        return;
    }
    out += '"';
    for (const char byte : utf8) {
        if (byte == '"') {
            out += '"';
        }
        out += byte;
    }
    out += '"';
}

std::optional<QStringList> ReadBatchHeader(const InputLine& line) {
    const std::optional<QByteArrayView> text = Utf8Line(line.bytes);
    CsvFields fields;
    if (line.tooLong || !text || SplitCsvLine(*text, fields)) {
        return std::nullopt;
    }
    QStringList names;
    for (const QByteArrayView name : fields.values) {
        names.append(Utf8Text(name).trimmed().toLower());
    }
    if (names.size() < batchColumnCount ||
        names.first(batchColumnCount).join(u',') != QLatin1StringView(batchHeader)) {
        return std::nullopt;
    }
    // Each further column named, once.
    const QStringList further = names.mid(batchColumnCount);
    if (further.contains(QString()) ||
        QSet<QString>(further.begin(), further.end()).size() != further.size()) {
        return std::nullopt;
    }
    return names;
}
