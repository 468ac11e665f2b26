#include "cli/BatchRun.h"

#include "cli/ChartOutput.h"

#include <QFile>

#include <pthread.h>
#include <sched.h>

#include <csignal>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <thread>
#include <utility>

namespace {

// The data lines of one chunk of the input, copied out of the reader's buffer.
struct InputChunk {
    struct Line {
        qsizetype offset = 0; // in `bytes`
        qsizetype size = 0;
        qint64 number = 0; // the line number in the input
        bool tooLong = false;
    };
    QByteArray bytes;
    std::vector<Line> lines;
};

// A chunk's output: whole lines, in the order of its input lines.
struct OutputChunk {
    QByteArray bytes;
    qint64 rows = 0;
    qint64 refusedRows = 0;
};

// What a chunk may hold, and what all chunks in flight may hold at once. A chart's JSON line is
// about 7 KB; its bytes of name or place may come out up to six times longer (\u0001).
constexpr qsizetype chunkInputBytes = 256 * 1024;
constexpr qsizetype outputBytesPerRow = 8 * 1024;
constexpr qsizetype outputBytesPerInputByte = 6;
constexpr qsizetype inFlightBytes = 16 * 1024 * 1024;

qsizetype ChunkCost(const InputChunk& chunk) {
    return chunk.bytes.size() * (1 + outputBytesPerInputByte) +
           static_cast<qsizetype>(chunk.lines.size()) * outputBytesPerRow;
}

// Fills `chunk` with the next data lines (blank lines are no rows and are left out), at most
// `rows` of them and about `chunkInputBytes`; `lineNumber` counts every line read. False when
// the input has no more rows.
bool ReadChunk(LineReader& reader, qint64& lineNumber, qsizetype rows, InputChunk& chunk) {
    chunk.bytes.resize(0);
    chunk.lines.clear();
    while (static_cast<qsizetype>(chunk.lines.size()) < rows &&
           chunk.bytes.size() < chunkInputBytes) {
        if (!chunk.lines.empty() && reader.WouldWait()) {
            break; // a slow input: what has come is answered now
        }
        const auto line = reader.Next();
        if (!line) {
            break;
        }
        ++lineNumber;
        if (!line->tooLong && line->bytes.trimmed().isEmpty()) {
            continue; // a blank line is no row
        }
        chunk.lines.push_back({chunk.bytes.size(), line->bytes.size(), lineNumber, line->tooLong});
        chunk.bytes.append(line->bytes);
    }
    return !chunk.lines.empty();
}

// Resolves, computes and writes the rows of one chunk, each alone. The state is reused from row
// to row and belongs to one thread.
class ChunkWorker {
  public:
    // `columns`: the header's count, the batch's nine and any named columns after them.
    ChunkWorker(OutputFormat format, bool withCharts, const CalculationSettings& settings,
                RememberedPlaceAnswers places, qsizetype columns)
        : format_(format), withCharts_(withCharts), settings_(settings), places_(std::move(places)),
          columns_(columns) {}

    void Run(const InputChunk& chunk, OutputChunk& output) {
        output.bytes.resize(0);
        output.rows = 0;
        output.refusedRows = 0;
        for (const InputChunk::Line& line : chunk.lines) {
            ++output.rows;
            Row(QByteArrayView(chunk.bytes).sliced(line.offset, line.size), line.number,
                line.tooLong, output);
        }
    }

  private:
    void Refuse(OutputChunk& output, qint64 lineNumber, const QString& message) {
        ++output.refusedRows;
        if (format_ == OutputFormat::Csv) {
            AppendErrorCsvRow(output.bytes, lineNumber, ColumnMessage(message));
        } else {
            AppendErrorJsonLine(output.bytes, lineNumber, ColumnMessage(message));
        }
    }

    void Row(QByteArrayView bytes, qint64 lineNumber, bool tooLong, OutputChunk& output) {
        if (tooLong) {
            Refuse(output, lineNumber,
                   QStringLiteral("the line is longer than %1 bytes").arg(longestBatchLineBytes));
            return;
        }
        const std::optional<QByteArrayView> text = Utf8Line(bytes);
        if (!text) {
            Refuse(output, lineNumber, QStringLiteral("the line is not valid UTF-8"));
            return;
        }
        if (const std::optional<QString> problem = SplitCsvLine(*text, fields_)) {
            Refuse(output, lineNumber, *problem);
            return;
        }
        if (static_cast<qsizetype>(fields_.values.size()) != columns_) {
            Refuse(output, lineNumber,
                   QStringLiteral("expected %1 columns (%2), found %3")
                       .arg(columns_)
                       .arg(columns_ == batchColumnCount
                                ? QLatin1StringView(batchHeader)
                                : QLatin1StringView("as the header names them"))
                       .arg(fields_.values.size()));
            return;
        }
        const auto row = BatchRowFields(fields_);
        if (const auto* refusal = std::get_if<Refusal>(&row)) {
            Refuse(output, lineNumber, refusal->message);
            return;
        }
        const ChartFields& chart = std::get<ChartFields>(row);
        const auto request = ResolveChartRequest(chart, places_);
        if (const auto* refusal = std::get_if<Refusal>(&request)) {
            Refuse(output, lineNumber, refusal->message);
            return;
        }
        const auto& accepted = std::get<ChartRequest>(request);
        if (const auto problem =
                ComputeChartInto(result_, accepted.input, &accepted.used, settings_)) {
            Refuse(output, lineNumber, *problem);
            return;
        }
        if (format_ == OutputFormat::Csv) {
            AppendChartCsvRow(output.bytes, result_, lineNumber);
        } else {
            AppendChartJsonLine(output.bytes, result_, lineNumber, withCharts_);
        }
    }

    OutputFormat format_;
    bool withCharts_;
    CalculationSettings settings_;
    RememberedPlaceAnswers places_;
    qsizetype columns_ = batchColumnCount;
    CsvFields fields_;
    ChartResult result_;
};

// Chunks handed to worker threads and their outputs taken back in input order.
class ChunkPool {
  public:
    ChunkPool(int threads, OutputFormat format, bool withCharts,
              const CalculationSettings& settings, const RememberedPlaceAnswers& places,
              qsizetype columns) {
        // The threads start with Ctrl+C and SIGTERM blocked, which they inherit, so that a stop
        // signal is handled on the thread that writes the output, between its lines.
        sigset_t stopSignals;
        sigset_t before;
        sigemptyset(&stopSignals);
        sigaddset(&stopSignals, SIGINT);
        sigaddset(&stopSignals, SIGTERM);
        pthread_sigmask(SIG_BLOCK, &stopSignals, &before);
        for (int thread = 0; thread < threads; ++thread) {
            threads_.emplace_back([this, format, withCharts, settings, columns,
                                   worker = places.ForAnotherThread()]() mutable {
                Work(ChunkWorker(format, withCharts, settings, std::move(worker), columns));
            });
        }
        pthread_sigmask(SIG_SETMASK, &before, nullptr);
    }

    ~ChunkPool() {
        {
            const std::lock_guard lock(mutex_);
            closing_ = true;
        }
        workReady_.notify_all();
        for (std::thread& thread : threads_) {
            thread.join();
        }
    }

    ChunkPool(const ChunkPool&) = delete;
    ChunkPool& operator=(const ChunkPool&) = delete;

    void Add(InputChunk chunk) {
        {
            const std::lock_guard lock(mutex_);
            waiting_.emplace_back(added_++, std::move(chunk));
        }
        workReady_.notify_one();
    }

    // The output of the oldest chunk not yet taken, once it is done.
    OutputChunk TakeNext() {
        std::unique_lock lock(mutex_);
        outputReady_.wait(lock, [this] { return done_.contains(taken_); });
        const auto found = done_.find(taken_++);
        OutputChunk output = std::move(found->second);
        done_.erase(found);
        return output;
    }

  private:
    void Work(ChunkWorker worker) {
        while (true) {
            std::pair<qint64, InputChunk> task;
            {
                std::unique_lock lock(mutex_);
                workReady_.wait(lock, [this] { return closing_ || !waiting_.empty(); });
                if (closing_) {
                    return; // every output was taken, or the run stopped: the rest is not wanted
                }
                task = std::move(waiting_.front());
                waiting_.pop_front();
            }
            OutputChunk output;
            worker.Run(task.second, output);
            {
                const std::lock_guard lock(mutex_);
                done_.emplace(task.first, std::move(output));
            }
            outputReady_.notify_one();
        }
    }

    std::mutex mutex_;
    std::condition_variable workReady_;
    std::condition_variable outputReady_;
    std::deque<std::pair<qint64, InputChunk>> waiting_;
    std::map<qint64, OutputChunk> done_;
    qint64 added_ = 0;
    qint64 taken_ = 0;
    bool closing_ = false;
    std::vector<std::thread> threads_;
};

} // namespace

BatchSummary RunBatch(QIODevice& input, OutputFormat format, RememberedPlaceAnswers& places,
                      const BatchWrite& write, int jobs, bool withCharts,
                      const CalculationSettings& settings) {
    BatchSummary summary;
    LineReader reader(input);
    const auto header = reader.Next();
    if (reader.ReadError()) {
        summary.readError = reader.ReadError();
        return summary;
    }
    if (!header) {
        summary.fileError =
            QStringLiteral("--batch: the input is empty; expected the header %1 and one row per "
                           "chart")
                .arg(QLatin1StringView(batchHeader));
        return summary;
    }
    const std::optional<QStringList> columns = ReadBatchHeader(*header);
    if (!columns) {
        summary.fileError = QStringLiteral("--batch: line 1 must be the header %1")
                                .arg(QLatin1StringView(batchHeader));
        return summary;
    }

    jobs = std::max(jobs, 1);
    // More threads take smaller chunks, so that enough of them fit in what may be held at once.
    const qsizetype chunkRows =
        std::clamp<qsizetype>(inFlightBytes / (2 * jobs) / outputBytesPerRow, 16, 512);
    qint64 lineNumber = 1;
    bool headerWritten = format != OutputFormat::Csv;
    // Hands on a chunk's output (after the CSV header, with the first); false when it failed.
    const auto hand = [&](OutputChunk& output) {
        summary.rows += output.rows;
        summary.refusedRows += output.refusedRows;
        if (!headerWritten) {
            output.bytes.prepend(ChartCsvHeader());
            headerWritten = true;
        }
        if (!write(output.bytes)) {
            summary.writeFailed = true;
        }
        return !summary.writeFailed;
    };

    InputChunk chunk;
    if (jobs == 1) {
        ChunkWorker worker(format, withCharts, settings, places.ForAnotherThread(),
                           columns->size());
        OutputChunk output;
        while (ReadChunk(reader, lineNumber, chunkRows, chunk)) {
            worker.Run(chunk, output);
            if (!hand(output)) {
                return summary;
            }
        }
    } else {
        ChunkPool pool(jobs, format, withCharts, settings, places, columns->size());
        std::deque<qsizetype> costs; // of the chunks in flight, oldest first
        qsizetype inFlight = 0;
        bool inputEnded = false;
        while (true) {
            // Keep every thread busy, within what may be held at once.
            while (!inputEnded && static_cast<qsizetype>(costs.size()) < 2 * jobs &&
                   (costs.empty() || (inFlight < inFlightBytes && !reader.WouldWait()))) {
                if (!ReadChunk(reader, lineNumber, chunkRows, chunk)) {
                    inputEnded = true;
                    break;
                }
                costs.push_back(ChunkCost(chunk));
                inFlight += costs.back();
                pool.Add(std::move(chunk));
                chunk = InputChunk{};
            }
            if (costs.empty()) {
                break;
            }
            OutputChunk output = pool.TakeNext();
            inFlight -= costs.front();
            costs.pop_front();
            if (!hand(output)) {
                return summary; // the pool's threads finish the chunks they hold and stop
            }
        }
    }
    summary.lines = lineNumber;
    if (reader.ReadError()) {
        summary.readError = reader.ReadError();
    } else if (summary.rows == 0) {
        summary.fileError = QStringLiteral("--batch: the input has a header but no rows");
    }
    return summary;
}

std::optional<int> ProcessorsOfCpuMax(QByteArrayView cpuMax) {
    const QList<QByteArray> parts = cpuMax.trimmed().toByteArray().split(' ');
    if (parts.size() != 2) {
        return std::nullopt;
    }
    bool quotaRead = false;
    bool periodRead = false;
    const qint64 quota = parts[0].toLongLong(&quotaRead);
    const qint64 period = parts[1].toLongLong(&periodRead);
    if (!quotaRead || !periodRead || quota <= 0 || period <= 0) {
        return std::nullopt; // "max", or nothing usable
    }
    return static_cast<int>(std::clamp<qint64>((quota + period - 1) / period, 1, 1 << 16));
}

int UsableProcessorCount() {
    int count = 0;
    cpu_set_t set;
    if (sched_getaffinity(0, sizeof set, &set) == 0) {
        count = CPU_COUNT(&set);
    }
    if (count < 1) {
        count = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    }
    const auto read = [](const char* path) {
        QFile file(QString::fromLatin1(path));
        return file.open(QIODevice::ReadOnly) ? file.read(256) : QByteArray();
    };
    std::optional<int> limit = ProcessorsOfCpuMax(read("/sys/fs/cgroup/cpu.max"));
    if (!limit) {
        limit = ProcessorsOfCpuMax(read("/sys/fs/cgroup/cpu/cpu.cfs_quota_us").trimmed() + ' ' +
                                   read("/sys/fs/cgroup/cpu/cpu.cfs_period_us").trimmed());
    }
    return limit ? std::min(count, *limit) : count;
}
