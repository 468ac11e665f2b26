// The command's library options, in-process, and the built command killed in the middle of an
// import or writing while another user of the library writes too.

#include "cli/BirthsCommand.h"
#include "RunChart.h"
#include "cli/ChartOutput.h"
#include "library/LibraryFiles.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstring>
#include <thread>

namespace {

struct Command : ::testing::Test {
    QTemporaryDir folder;
    QString path = folder.filePath(QStringLiteral("births.sqlite"));

    void SetUp() override {
        BirthLibrary library(path);
        for (const auto& [name, year] :
             std::vector<std::pair<const char*, int>>{{"ASHA RAO", 1990},
                                                      {"BEN", 1941},
                                                      {"BEN", 1950},
                                                      {"BEN", 1960},
                                                      {"BEN", 1970},
                                                      {"BEN", 1980},
                                                      {"BEN", 1985},
                                                      {"BENITA", 1999}}) {
            SavedBirth birth = FullBirth(QString::fromLatin1(name));
            birth.year = year;
            if (year == 1941) {
                birth.zoneRow.clear();
                birth.ianaZone = QStringLiteral("Europe/London");
            }
            ASSERT_TRUE(
                std::holds_alternative<BirthLibrary::SaveOutcome>(library.Save(birth, false)));
        }
    }

    CommandOutput Run(QStringList arguments) {
        arguments.prepend(QStringLiteral("korvani-chart"));
        if (!arguments.contains(QStringLiteral("--library"))) {
            arguments << QStringLiteral("--library") << path;
        }
        return RunCommand(arguments);
    }
};

TEST_F(Command, SavedNamesOneBirthOrListsTheCandidates) {
    const struct {
        QStringList arguments;
        QStringList chart;   // the options whose chart it is, when the birth is found
        const char* refusal; // otherwise the message
        // The chart's name: the saved birth's, where the options' chart has the command's own.
        const char* savedName = nullptr;
    } cases[] = {
        {{QStringLiteral("--saved"), QStringLiteral("asha rao"), QStringLiteral("--json")},
         {QStringLiteral("--json"), QStringLiteral("--date"), QStringLiteral("1990-08-15"),
          QStringLiteral("--time"), QStringLiteral("10:30"), QStringLiteral("--lon"),
          QStringLiteral("077:13W"), QStringLiteral("--lat"), QStringLiteral("28:39S"),
          QStringLiteral("--zone"), QStringLiteral("Indian Time, IST, +5.3"),
          QStringLiteral("--dst")},
         nullptr,
         "ASHA RAO"},
        {{QStringLiteral("--saved=Ben@1941-08-15")},
         {QStringLiteral("--date"), QStringLiteral("1941-08-15"), QStringLiteral("--time"),
          QStringLiteral("10:30"), QStringLiteral("--lon"), QStringLiteral("077:13W"),
          QStringLiteral("--lat"), QStringLiteral("28:39S"), QStringLiteral("--tz"),
          QStringLiteral("Europe/London")},
         nullptr,
         "BEN"},
        {{QStringLiteral("--saved"), QStringLiteral("ben")},
         {},
         "korvani-chart: --saved: \"ben\" names 6 births; add @YYYY-MM-DD to choose one: "
         "BEN@1941-08-15, BEN@1950-08-15, BEN@1960-08-15, BEN@1970-08-15, BEN@1980-08-15, "
         "and 1 more\n"},
        {{QStringLiteral("--saved"), QStringLiteral("BEN@2000-01-01")},
         {},
         "korvani-chart: --saved: no birth of \"BEN\" on \"2000-01-01\"; saved: BEN@1941-08-15, "
         "BEN@1950-08-15, BEN@1960-08-15, BEN@1970-08-15, BEN@1980-08-15, and 1 more\n"},
        {{QStringLiteral("--saved"), QStringLiteral("benit")},
         {},
         "korvani-chart: --saved: no saved birth is named \"benit\"; did you mean: "
         "BENITA@1999-08-15\n"},
        {{QStringLiteral("--saved"), QStringLiteral("e")}, // all eight hold an "e", by place
         {},
         "korvani-chart: --saved: no saved birth is named \"e\"; did you mean: "
         "ASHA RAO@1990-08-15, BEN@1941-08-15, BEN@1950-08-15, BEN@1960-08-15, BEN@1970-08-15, "
         "and 3 more\n"},
        {{QStringLiteral("--saved"), QStringLiteral("nobody")},
         {},
         "korvani-chart: --saved: no saved birth is named \"nobody\"\n"},
        {{QStringLiteral("--saved"), QStringLiteral("ben"), QStringLiteral("--export-births"),
          QStringLiteral("-")},
         {},
         "korvani-chart: --saved --export-births cannot be combined\n"},
        {{QStringLiteral("--backup-births"), QStringLiteral("x"), QStringLiteral("--json")},
         {},
         "korvani-chart: --backup-births takes no chart options (got \"--json\")\n"},
        {{QStringLiteral("--saved"), QStringLiteral("ben"), QStringLiteral("--replace")},
         {},
         "korvani-chart: --replace goes with --import-births\n"},
        {{QStringLiteral("--backup-births"), QString()},
         {},
         "korvani-chart: --backup-births needs a value\n"},
        {{QStringLiteral("--export-births"), QStringLiteral("-"), QStringLiteral("--library"),
          QStringLiteral(":memory:")},
         {},
         "korvani-chart: --library: \":memory:\" is not a file's path\n"},
    };
    for (const auto& c : cases) {
        const CommandOutput command = Run(c.arguments);
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        if (c.refusal == nullptr) {
            ASSERT_EQ(command.exitStatus, 0) << command.standardError.toStdString();
            const CommandOutput chart =
                RunCommand(QStringList{QStringLiteral("korvani-chart")} + c.chart);
            ASSERT_EQ(chart.exitStatus, 0) << chart.standardError.toStdString();
            QByteArray named = chart.standardOutput;
            named.replace(QByteArray(commandLineChartName.data(),
                                     static_cast<qsizetype>(commandLineChartName.size())),
                          c.savedName);
            EXPECT_EQ(command.standardOutput, named);
        } else {
            EXPECT_EQ(command.exitStatus, refusedExitStatus);
            EXPECT_EQ(command.standardError.toStdString(), c.refusal);
        }
    }
    // Without a library option the command runs as it does without a library.
    const QStringList plain = {QStringLiteral("korvani-chart"), QStringLiteral("--list-zones")};
    const CommandOutput untouched = RunCommand(plain);
    EXPECT_EQ(untouched.exitStatus, 0);
    EXPECT_EQ(untouched.standardOutput, FormatZoneList().toUtf8());
}

// Reading from a library that is not there (a mistyped --library) reports the path and makes
// nothing: no library, no export and no backup.
TEST_F(Command, ReadingAMissingLibraryReportsItAndMakesNothing) {
    const QString missing = folder.filePath(QStringLiteral("mistyped/births.sqlite"));
    const QString target = folder.filePath(QStringLiteral("target"));
    const QStringList actions[] = {
        {QStringLiteral("--export-births"), QStringLiteral("-")},
        {QStringLiteral("--export-births"), target},
        {QStringLiteral("--backup-births"), target},
        {QStringLiteral("--saved"), QStringLiteral("ASHA RAO")},
    };
    for (const QStringList& action : actions) {
        SCOPED_TRACE(action.join(u' ').toStdString());
        const CommandOutput output =
            Run(action + QStringList{QStringLiteral("--library"), missing});
        EXPECT_EQ(output.exitStatus, failureExitStatus);
        EXPECT_TRUE(output.standardError.contains(missing.toUtf8()))
            << output.standardError.toStdString();
        EXPECT_FALSE(QFileInfo::exists(missing));
        EXPECT_FALSE(QFileInfo::exists(target));
    }
}

qint64 Count(const QString& path);

// A backup stopped in its middle (here by the file size limit, whose signal ends the command)
// leaves no file at the target, and the backup made again is whole.
TEST_F(Command, AnInterruptedBackupLeavesNothingAtTheTarget) {
    {
        BirthLibrary library(path);
        std::vector<SavedBirth> births;
        for (int n = 0; n < 400; ++n) {
            births.push_back(FullBirth(QStringLiteral("MANY")));
            births.back().year = 1901 + n % 150;
            births.back().month = 1 + n / 150;
            births.back().note = QString(maxNoteLength, u'n');
        }
        ASSERT_FALSE(library.AddAll(births, false));
    }
    const QString backup = folder.filePath(QStringLiteral("backup.sqlite"));
    QProcess limited; // 64 blocks of 512 bytes: room for the library's shared memory, not more
    limited.start(QStringLiteral("sh"),
                  {QStringLiteral("-c"), QStringLiteral("ulimit -f 64; exec \"$0\" \"$@\""),
                   QStringLiteral(KORVANI_CHART_PATH), QStringLiteral("--backup-births"), backup,
                   QStringLiteral("--library"), path});
    limited.waitForFinished(-1);
    ASSERT_NE(limited.exitCode(), 0) << "the limit did not stop the backup";
    EXPECT_FALSE(QFileInfo::exists(backup));
    const CommandOutput again = Run({QStringLiteral("--backup-births"), backup});
    EXPECT_EQ(again.exitStatus, 0) << again.standardError.toStdString();
    EXPECT_EQ(Count(backup), Count(path));
}

// A CSV of `rows` births named by number in letters, all distinct.
QByteArray ManyBirths(int rows, const char* prefix) {
    QByteArray csv = "name,date,time,lon,lat,zone,tz,place,dst,note\n";
    for (int row = 0; row < rows; ++row) {
        QByteArray name = prefix;
        for (int n = row; n > 0 || name.size() == qsizetype(std::strlen(prefix)); n /= 26) {
            name += char('A' + n % 26);
            if (n == 0) {
                break;
            }
        }
        csv +=
            name + ",1990-08-15,10:30,77:13E,28:39N,34,,,0,note " + QByteArray::number(row) + '\n';
    }
    return csv;
}

qint64 Count(const QString& path) {
    BirthLibrary library(path);
    const auto count = CountBirths(library);
    return std::holds_alternative<qint64>(count) ? std::get<qint64>(count) : -1;
}

// Runs the command that pauses inside its transaction on `arguments` (the pause point first),
// kills it with SIGKILL once it says "`what` paused", and checks that the library at `path` is
// whole.
void KillWhenPaused(const char* what, const QStringList& arguments, const QString& path) {
    QProcess paused;
    paused.setReadChannel(QProcess::StandardError);
    paused.start(QStringLiteral(KORVANI_PAUSING_IMPORT_PATH), arguments);
    const QByteArray pause = QByteArray(what) + " paused";
    QByteArray said;
    while (!said.contains(pause) && paused.state() != QProcess::NotRunning) {
        paused.waitForReadyRead(-1);
        said += paused.readAllStandardError();
    }
    ASSERT_TRUE(said.contains(pause)) << said.toStdString();
    ::kill(static_cast<pid_t>(paused.processId()), SIGKILL);
    paused.waitForFinished(-1);
    EXPECT_EQ(paused.exitStatus(), QProcess::CrashExit);
    {
        RawFile raw(path);
        EXPECT_EQ(raw.Value(QStringLiteral("PRAGMA integrity_check")).toString(),
                  QStringLiteral("ok"));
    }
}

// Runs the command on `arguments` and expects it to succeed.
void RunToItsEnd(const QStringList& arguments) {
    QProcess again;
    again.start(QStringLiteral(KORVANI_CHART_PATH), arguments);
    again.waitForFinished(-1);
    EXPECT_EQ(again.exitCode(), 0) << again.readAllStandardError().toStdString();
}

TEST_F(Command, AnImportKilledInItsMiddleLeavesTheLibraryWholeAndWithoutIt) {
    constexpr int rows = 100000;
    const QString csvPath = folder.filePath(QStringLiteral("many.csv"));
    {
        QFile csv(csvPath);
        ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
        csv.write(ManyBirths(rows, "K"));
    }
    const qint64 before = Count(path);
    // The command pauses when it has written half the rows inside its transaction.
    const QStringList arguments = {QStringLiteral("--import-births"), csvPath,
                                   QStringLiteral("--library"), path};
    ASSERT_NO_FATAL_FAILURE(
        KillWhenPaused("import", QStringList{QString::number(rows / 2)} + arguments, path));
    EXPECT_EQ(Count(path), before); // none of the import

    // Run again to its end: all of it.
    RunToItsEnd(arguments);
    EXPECT_EQ(Count(path), before + rows);
}

// A restore killed while it copies the backup over the library, inside its transaction, leaves
// the library as it was, whole; run again, it restores the whole backup.
TEST_F(Command, ARestoreKilledInItsMiddleLeavesTheOldLibraryWhole) {
    constexpr int births = 6000; // with their notes, pages for more than one step of the copy
    const QString backup = folder.filePath(QStringLiteral("backup.sqlite"));
    {
        BirthLibrary library(backup);
        std::vector<SavedBirth> many;
        for (int n = 0; n < births; ++n) {
            many.push_back(FullBirth(QStringLiteral("RESTORED")));
            many.back().year = 1901 + n % 150;
            many.back().month = 1 + n / 150 % 12;
            many.back().day = 1 + n / 1800;
            many.back().note = QString(1000, u'r');
        }
        ASSERT_FALSE(library.AddAll(many, false));
    }
    const qint64 before = Count(path);
    const QStringList arguments = {QStringLiteral("--restore-births"), backup,
                                   QStringLiteral("--library"), path};
    ASSERT_NO_FATAL_FAILURE(
        KillWhenPaused("restore", QStringList{QStringLiteral("1")} + arguments, path));
    EXPECT_EQ(Count(path), before); // none of the backup

    RunToItsEnd(arguments);
    EXPECT_EQ(Count(path), births);
}

TEST_F(Command, TheCommandAndAWindowWriteAtOnceAndNothingIsLost) {
    constexpr int rows = 20000;
    constexpr int saves = 200;
    const QString csvPath = folder.filePath(QStringLiteral("many.csv"));
    {
        QFile csv(csvPath);
        ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
        csv.write(ManyBirths(rows, "C"));
    }
    const qint64 before = Count(path);
    QProcess import;
    import.start(QStringLiteral(KORVANI_CHART_PATH),
                 {QStringLiteral("--import-births"), csvPath, QStringLiteral("--library"), path});
    ASSERT_TRUE(import.waitForStarted(-1));
    // Meanwhile the window's saves, each waiting for the import's transaction when it meets it.
    BirthLibrary library(path);
    for (int n = 0; n < saves; ++n) {
        SavedBirth birth = FullBirth(QStringLiteral("WINDOW"));
        birth.year = 1901 + n % 150;
        birth.month = 1 + n / 150;
        const auto saved = library.Save(birth, false);
        ASSERT_TRUE(std::holds_alternative<BirthLibrary::SaveOutcome>(saved))
            << std::get<LibraryError>(saved).message.toStdString();
    }
    import.waitForFinished(-1);
    EXPECT_EQ(import.exitCode(), 0) << import.readAllStandardError().toStdString();
    EXPECT_EQ(Count(path), before + rows + saves);
}

TEST_F(Command, ExportToAFileAndBackUpGiveTheLibraryBack) {
    const QString exported = folder.filePath(QStringLiteral("births.csv"));
    const QString backup = folder.filePath(QStringLiteral("backup.sqlite"));
    for (const QStringList& arguments : {QStringList{QStringLiteral("--export-births"), exported},
                                         QStringList{QStringLiteral("--backup-births"), backup}}) {
        const CommandOutput command = Run(arguments);
        EXPECT_EQ(command.exitStatus, 0) << command.standardError.toStdString();
    }
    const QString copy = folder.filePath(QStringLiteral("copy.sqlite"));
    const CommandOutput import =
        RunCommand({QStringLiteral("korvani-chart"), QStringLiteral("--import-births"), exported,
                    QStringLiteral("--library"), copy});
    EXPECT_EQ(import.exitStatus, 0) << import.standardError.toStdString();
    EXPECT_EQ(Count(copy), Count(path));
    EXPECT_EQ(Count(backup), Count(path));
}

} // namespace

namespace {

// The command restores without a question and says what it did; a file that is not a library
// is refused input.
TEST_F(Command, RestoreSaysWhatItDidOrRefusesTheFile) {
    const QString backup = folder.filePath(QStringLiteral("backup.sqlite"));
    {
        BirthLibrary library(backup);
        SavedBirth birth = FullBirth(QStringLiteral("ONLY"));
        ASSERT_TRUE(std::holds_alternative<BirthLibrary::SaveOutcome>(library.Save(birth, false)));
    }
    const QString notALibrary = folder.filePath(QStringLiteral("births.csv"));
    {
        QFile csv(notALibrary);
        ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
        csv.write("name,date,time,lon,lat,zone,tz,place,dst\n");
    }
    const struct {
        const char* why;
        QString file;
        int exitStatus;
        QString said; // the start of standard error
    } rows[] = {
        {"a file that is no library", notALibrary, refusedExitStatus,
         "korvani-chart: The library of births was not restored: the file " + notALibrary +
             " is not a library of births"},
        {"a backup", backup, 0,
         "korvani-chart: 1 births restored from " + backup + " into " + path +
             "; the library as it was (8 births) is kept as " + path + ".before-restore-"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.why);
        const CommandOutput output = Run({QStringLiteral("--restore-births"), row.file});
        EXPECT_EQ(output.exitStatus, row.exitStatus);
        EXPECT_TRUE(output.standardError.startsWith(row.said.toUtf8()))
            << output.standardError.toStdString();
    }
    EXPECT_EQ(Count(path), 1);
}

TEST_F(Command, AnExportedFileRunsThroughTheBatchUnchanged) {
    const QString exported = folder.filePath(QStringLiteral("births.csv"));
    const CommandOutput command = Run({QStringLiteral("--export-births"), exported});
    ASSERT_EQ(command.exitStatus, 0);
    QProcess batch;
    batch.start(
        QStringLiteral(KORVANI_CHART_PATH),
        {QStringLiteral("--batch"), exported, QStringLiteral("--jobs"), QStringLiteral("2")});
    batch.waitForFinished(-1);
    const QByteArray out = batch.readAllStandardOutput();
    EXPECT_EQ(batch.exitCode(), 0) << batch.readAllStandardError().toStdString();
    EXPECT_EQ(out.count('\n'), Count(path));
    EXPECT_FALSE(out.contains("\"error\"")) << out.toStdString();
}

TEST_F(Command, AnImportReadsEachLineEndFromAFileOrAPipe) {
    struct Case {
        const char* prefix;
        const char* lineEnd;
        bool fromPipe;
    };
    for (const Case& c : {Case{"P", "\r\n", false}, Case{"Q", "\r", false}, Case{"R", "\n", true},
                          Case{"S", "\r", true}}) {
        SCOPED_TRACE(std::string(c.prefix));
        QByteArray csv = ManyBirths(3, c.prefix);
        csv.replace("\n", c.lineEnd);
        const QString file = folder.filePath(QString::fromLatin1(c.prefix) + ".csv");
        if (!c.fromPipe) {
            QFile out(file);
            ASSERT_TRUE(out.open(QIODevice::WriteOnly));
            out.write(csv);
        }
        const qint64 before = Count(path);
        QProcess import;
        import.start(QStringLiteral(KORVANI_CHART_PATH),
                     {QStringLiteral("--import-births"), c.fromPipe ? QStringLiteral("-") : file,
                      QStringLiteral("--library"), path});
        ASSERT_TRUE(import.waitForStarted());
        if (c.fromPipe) {
            import.write(csv);
            import.closeWriteChannel();
        }
        import.waitForFinished(-1);
        EXPECT_EQ(import.exitCode(), 0) << import.readAllStandardError().toStdString();
        EXPECT_EQ(Count(path), before + 3);
    }
}

// Gives its bytes, then fails as a disk does.
class FailingInput : public QIODevice {
  public:
    explicit FailingInput(QByteArray bytes) : bytes_(std::move(bytes)) {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }

  protected:
    qint64 readData(char* data, qint64 maxSize) override {
        if (bytes_.isEmpty()) {
            setErrorString(QStringLiteral("Input/output error"));
            return -1;
        }
        const qsizetype size = std::min<qsizetype>(maxSize, bytes_.size());
        std::memcpy(data, bytes_.constData(), static_cast<std::size_t>(size));
        bytes_.remove(0, size);
        return size;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

  private:
    QByteArray bytes_;
};

// An export into a FIFO writes into it where it stands, leaving it a FIFO, and says how many
// births it wrote.
TEST_F(Command, AnExportIntoAFifoLeavesItAFifoAndCountsTheBirths) {
    const QString fifo = folder.filePath(QStringLiteral("export.csv"));
    // Eight births fit in the pipe: read once the command has ended.
    const int reader = MakeFifo(fifo);
    ASSERT_GE(reader, 0);
    const CommandOutput command = Run({QStringLiteral("--export-births"), fifo});
    EXPECT_EQ(command.exitStatus, 0);
    EXPECT_EQ(command.standardError, "korvani-chart: 8 births written to " + fifo.toUtf8() + '\n');
    const QByteArray csv = ReadAvailable(reader);
    ::close(reader);
    EXPECT_EQ(csv.count('\n'), 1 + 8) << csv.toStdString();
    EXPECT_TRUE(IsFifo(fifo)) << "the FIFO was replaced";
}

// `--batch -`, or `--import-births -` into the library at `library`.
QStringList FromStandardInput(const char* option, const QString& library) {
    QStringList arguments = {QStringLiteral("korvani-chart"), QString::fromLatin1(option),
                             QStringLiteral("-")};
    if (QByteArrayView(option) == "--import-births") {
        arguments << QStringLiteral("--library") << library;
    }
    return arguments;
}

// Input that cannot be read to its end stops a batch or an import with status 1 and names the
// input; the rows a batch read before are answered, and an import adds none of its rows.
TEST_F(Command, AReadErrorStopsTheRunAndAnImportAddsNothing) {
    const QByteArray twoRows = ManyBirths(2, "E");
    const int directory = ::open(QFile::encodeName(folder.path()).constData(), O_RDONLY);
    ASSERT_GE(directory, 0);
    DescriptorDevice fromDirectory(directory);
    fromDirectory.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    FailingInput afterTwoRows(twoRows);
    FailingInput afterTwoRowsAgain(twoRows);
    DescriptorDevice fromDirectoryAgain(directory);
    fromDirectoryAgain.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    const struct {
        const char* why;
        const char* option;
        QIODevice* input;
        qsizetype answeredRows;
        const char* message;
    } cases[] = {
        {"a disk error after two rows of a batch", "--batch", &afterTwoRows, 2,
         "korvani-chart: --batch: cannot read standard input after line 3: Input/output error\n"},
        {"a disk error after two rows of an import", "--import-births", &afterTwoRowsAgain, 0,
         "korvani-chart: --import-births: cannot read standard input after line 3: "
         "Input/output error; nothing was imported\n"},
        {"a batch from a directory", "--batch", &fromDirectory, 0,
         "korvani-chart: --batch: cannot read standard input: Is a directory\n"},
        {"an import from a directory", "--import-births", &fromDirectoryAgain, 0,
         "korvani-chart: --import-births: cannot read standard input: Is a directory; nothing "
         "was imported\n"},
    };
    const qint64 before = Count(path);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        CommandEnvironment environment;
        environment.standardInput = c.input;
        const CommandOutput output = RunCommand(FromStandardInput(c.option, path), environment);
        EXPECT_EQ(output.exitStatus, failureExitStatus);
        EXPECT_EQ(output.standardError.toStdString(), c.message);
        EXPECT_EQ(output.standardOutput.count('\n'), c.answeredRows);
    }
    EXPECT_EQ(Count(path), before);
    ::close(directory);
}

// A batch and an import read a non-blocking pipe whose writer pauses between rows: each pause
// is waited out (EAGAIN), and every row is answered.
TEST_F(Command, APipeWhoseWriterPausesIsReadToItsEnd) {
    constexpr int rows = 4;
    const QByteArray csv = ManyBirths(rows, "W");
    const QList<QByteArray> lines = csv.split('\n');
    for (const char* option : {"--batch", "--import-births"}) {
        SCOPED_TRACE(option);
        int ends[2];
        ASSERT_EQ(pipe2(ends, O_NONBLOCK | O_CLOEXEC), 0);
        std::atomic<bool> runEnded{false};
        std::thread writer([&] {
            for (const QByteArray& line : lines) {
                // Once the reader has taken all, it finds the pipe empty before the next line.
                int queued = 1;
                while (!runEnded && ioctl(ends[1], FIONREAD, &queued) == 0 && queued > 0) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                }
                if (runEnded) {
                    break; // the run stopped before the input ended
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                const QByteArray piece = line.isEmpty() ? line : line + '\n';
                EXPECT_EQ(::write(ends[1], piece.constData(), piece.size()), piece.size());
            }
            ::close(ends[1]);
        });
        DescriptorDevice input(ends[0]);
        input.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
        CommandEnvironment environment;
        environment.standardInput = &input;
        const qint64 before = Count(path);
        const CommandOutput output = RunCommand(FromStandardInput(option, path), environment);
        runEnded = true;
        writer.join();
        ::close(ends[0]);
        if (QByteArrayView(option) == "--batch") {
            EXPECT_EQ(output.standardOutput.count('\n'), rows)
                << output.standardError.toStdString();
        } else {
            EXPECT_EQ(Count(path), before + rows) << output.standardError.toStdString();
        }
    }
}

} // namespace

namespace {

// The command reports an import as the window does: the refused rows and the names written
// otherwise, then the counts; a refused row makes the exit status 2.
TEST_F(Command, AnImportReportsEachOutcomeOnStandardError) {
    const QString file = folder.filePath(QStringLiteral("report.csv"));
    {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("name,date,time,lon,lat,zone,tz,place,dst\n"
                  "José Álvarez,1979-03-02,10:30,77:13E,28:39N,IST,,,0\n"
                  "ASHA RAO,1990-08-15,10:30,77:13E,28:39N,IST,,,0\n");
    }
    const CommandOutput command = Run({QStringLiteral("--import-births"), file});
    EXPECT_EQ(command.exitStatus, refusedExitStatus);
    EXPECT_EQ(command.standardError.toStdString(),
              "line 3: ASHA RAO, 1990-08-15: a birth of this name and date is already saved\n"
              "line 2: José Álvarez → JOSE ALVAREZ\n"
              "korvani-chart: 1 birth added, 0 replaced, 0 kept as they were saved, 1 row "
              "refused; 1 name written in capitals A to Z, in " +
                  path.toStdString() + "\n");
}

} // namespace
