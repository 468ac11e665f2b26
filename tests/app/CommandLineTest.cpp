// The program's command line: what ReadCommandLine answers, and what the built korvani does when
// Qt's options stand before or among the program's own.

#include "app/CommandLine.h"

#include "KorvaniVersion.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QGuiApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStringList>

#include <ostream>

namespace {

using Kind = CommandLineAnswer::Kind;

const QString versionLine =
    QStringLiteral("korvani %1\n").arg(QString::fromLatin1(korvani::version));
const QString usageStart = QStringLiteral("Usage: korvani");

// An empty start is met by any text, the null text included.
bool StartsWith(const QString& text, const QString& start) {
    return start.isEmpty() || text.startsWith(start);
}

struct ReadCase {
    const char* name;
    QStringList given; // after the program's own name
    Kind kind;
    int exitStatus;
    QString textStart;
};

void PrintTo(const ReadCase& row, std::ostream* out) {
    *out << row.name;
}

class Read : public testing::TestWithParam<ReadCase> {};

TEST_P(Read, AnswersAsGnuProgramsDo) {
    const ReadCase& row = GetParam();
    const CommandLineAnswer answer = ReadCommandLine(QStringList{"korvani"} + row.given);
    EXPECT_EQ(answer.kind, row.kind);
    EXPECT_TRUE(StartsWith(answer.text, row.textStart)) << answer.text.toStdString();
    if (row.kind != Kind::Run) {
        EXPECT_EQ(answer.exitStatus, row.exitStatus);
    }
    if (row.kind == Kind::Refuse) {
        // One line naming the argument, however long or odd the argument is.
        EXPECT_FALSE(answer.text.contains(u'\n')) << answer.text.toStdString();
        EXPECT_LE(answer.text.size(), 200);
        EXPECT_TRUE(answer.text.contains(row.given.constFirst().left(20).replace(u'\n', "\\n")))
            << answer.text.toStdString();
    }
}

const QString refused = QStringLiteral("korvani: unknown argument \"");

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Cases, Read,
    testing::Values(
        ReadCase{"nothingRuns", {}, Kind::Run, 0, ""},
        ReadCase{"help", {"--help"}, Kind::Print, 0, usageStart},
        ReadCase{"version", {"--version"}, Kind::Print, 0, versionLine},
        ReadCase{"firstOfBothAnswers", {"--version", "--help"}, Kind::Print, 0, versionLine},
        ReadCase{"unknownOption", {"--bogus"}, Kind::Refuse, 2, refused + "--bogus\""},
        ReadCase{"shortHelpIsNotOurs", {"-h"}, Kind::Refuse, 2, refused + "-h\""},
        ReadCase{"fileName", {"birth.txt"}, Kind::Refuse, 2, refused + "birth.txt\""},
        ReadCase{"extraAfterHelp", {"--help", "extra"}, Kind::Refuse, 2, refused + "extra\""},
        ReadCase{"versionWithValue", {"--version=2"}, Kind::Refuse, 2, refused + "--version=2\""},
        ReadCase{"qtOptionLeftWithoutValue", {"-style"}, Kind::Refuse, 2, refused + "-style\""},
        ReadCase{"emptyArgument", {""}, Kind::Refuse, 2, refused + "\""},
        ReadCase{"lineBreakShownNotWritten", {"a\nb"}, Kind::Refuse, 2, refused + "a\\nb\""},
        ReadCase{"longArgumentShortened", {QString(5000, u'x')}, Kind::Refuse, 2, refused + QString(80, u'x') + "...\""}));
// clang-format on

struct QtCase {
    const char* name;
    QStringList given;
    bool qtMayTake;
};

void PrintTo(const QtCase& row, std::ostream* out) {
    *out << row.name;
}

class QtOptions : public testing::TestWithParam<QtCase> {};

TEST_P(QtOptions, OnlyDashedArgumentsOtherThanOursAreLeftToQt) {
    const QtCase& row = GetParam();
    EXPECT_EQ(QtMayTakeArguments(QStringList{"korvani"} + row.given), row.qtMayTake);
}

INSTANTIATE_TEST_SUITE_P(Cases, QtOptions,
                         testing::Values(QtCase{"nothing", {}, false},
                                         QtCase{"ourOptions", {"--version", "--help"}, false},
                                         QtCase{"plainWord", {"fusion"}, false},
                                         QtCase{"style", {"-style", "fusion", "--version"}, true},
                                         QtCase{"doubleDashStyle", {"--style=fusion"}, true},
                                         QtCase{"unknownDashed", {"--bogus"}, true}));

TEST(NameApplication, DesktopFileNameIsTheApplicationId) {
    NameApplication();
    EXPECT_EQ(QGuiApplication::desktopFileName(), QString::fromLatin1(korvani::applicationId));
    EXPECT_EQ(QCoreApplication::applicationVersion(), QString::fromLatin1(korvani::version));
    EXPECT_FALSE(QCoreApplication::organizationDomain().isEmpty());
}

// The built program, with and without Qt's options and with and without a platform to draw on.
struct RunCase {
    const char* name;
    QStringList arguments;
    bool withoutDisplay;
    int exitStatus;
    QString standardOutputStart;
    QString standardErrorStart;
};

void PrintTo(const RunCase& row, std::ostream* out) {
    *out << row.name;
}

class Program : public testing::TestWithParam<RunCase> {};

TEST_P(Program, AnswersWithoutOpeningAWindow) {
    const RunCase& row = GetParam();
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (row.withoutDisplay) {
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
            environment.remove(QString::fromLatin1(name));
        }
    } else {
        environment.insert("QT_QPA_PLATFORM", "offscreen");
    }
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(KORVANI_PATH), row.arguments);
    // A generous bound: an answer takes milliseconds, and an opened window must fail, not block.
    constexpr int patienceMilliseconds = 120000;
    if (!process.waitForFinished(patienceMilliseconds)) {
        process.kill();
        process.waitForFinished();
        FAIL() << "korvani did not end: " << process.errorString().toStdString();
    }
    ASSERT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), row.exitStatus);
    const QString output = QString::fromLocal8Bit(process.readAllStandardOutput());
    if (row.standardOutputStart.isEmpty()) {
        EXPECT_TRUE(output.isEmpty()) << output.toStdString();
    } else {
        EXPECT_TRUE(output.startsWith(row.standardOutputStart)) << output.toStdString();
    }
    // The program's own message is one line; Qt may add warnings of its own on other lines.
    const QStringList messages = QString::fromLocal8Bit(process.readAllStandardError())
                                     .split(u'\n')
                                     .filter(QRegularExpression(QStringLiteral("^korvani:")));
    if (row.standardErrorStart.isEmpty()) {
        EXPECT_TRUE(messages.isEmpty()) << messages.join(u'\n').toStdString();
    } else {
        ASSERT_EQ(messages.size(), 1) << messages.join(u'\n').toStdString();
        EXPECT_TRUE(messages.constFirst().startsWith(row.standardErrorStart))
            << messages.constFirst().toStdString();
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Cases, Program,
    testing::Values(
        RunCase{"version", {"--version"}, false, 0, versionLine, ""},
        RunCase{"help", {"--help"}, false, 0, usageStart, ""},
        RunCase{"versionWithoutDisplay", {"--version"}, true, 0, versionLine, ""},
        RunCase{"unknownWithoutDisplay", {"birth.txt"}, true, 2, "", refused + "birth.txt\""},
        RunCase{"styleBeforeVersion", {"-style", "fusion", "--version"}, false, 0, versionLine, ""},
        RunCase{"styleAfterHelp", {"--help", "-style", "fusion"}, false, 0, usageStart, ""},
        RunCase{"doubleDashStyle", {"--style=fusion", "--version"}, false, 0, versionLine, ""},
        RunCase{"styleThenUnknown", {"-style", "fusion", "--bogus"}, false, 2, "", refused + "--bogus\""},
        RunCase{"unknownOption", {"--bogus"}, false, 2, "", refused + "--bogus\""},
        RunCase{"styleThenWord", {"-style", "fusion", "extra"}, false, 2, "", refused + "extra\""}));
// clang-format on

} // namespace
