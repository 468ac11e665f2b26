#include "app/CommandLine.h"

#include "KorvaniVersion.h"

#include <QGuiApplication>

#include <algorithm>

#include <cstdio>

namespace {

const QString helpOption = QStringLiteral("--help");
const QString versionOption = QStringLiteral("--version");

// An argument is quoted in a message up to this length, so that the message stays one line.
constexpr qsizetype shownArgumentLength = 80;

QString HelpText() {
    return QStringLiteral(
        "Usage: korvani [Qt options]\n"
        "       korvani --help | --version\n"
        "Opens the Korvani window: enter a birth to read the Vedic decanates of the Sun, the\n"
        "Moon and the planets.\n"
        "\n"
        "  --help     show this help and exit\n"
        "  --version  show the version and licence and exit\n"
        "\n"
        "Qt's own options, such as -style NAME, are accepted. The same chart without a window\n"
        "comes from korvani-chart; see korvani-chart --help.\n");
}

QString VersionText() {
    return QStringLiteral("korvani %1\n%2")
        .arg(QString::fromLatin1(korvani::version), QString::fromUtf8(korvani::licenceNotice));
}

// The argument as the message shows it: shortened, and with any line break made visible.
QString Shown(QString argument) {
    if (argument.size() > shownArgumentLength) {
        argument = argument.left(shownArgumentLength) + QStringLiteral("...");
    }
    argument.replace(u'\n', QStringLiteral("\\n")).replace(u'\r', QStringLiteral("\\r"));
    return u'"' + argument + u'"';
}

} // namespace

CommandLineAnswer ReadCommandLine(const QStringList& arguments) {
    const QStringList given = arguments.mid(1);
    for (const QString& argument : given) {
        if (argument != helpOption && argument != versionOption) {
            return {CommandLineAnswer::Kind::Refuse,
                    QStringLiteral("korvani: unknown argument %1; the program takes --help, "
                                   "--version and Qt's options only")
                        .arg(Shown(argument)),
                    commandLineRefusedStatus};
        }
    }
    if (given.isEmpty()) {
        return {};
    }
    // Both options given: the first one answers, as GNU programs do.
    const bool help = given.constFirst() == helpOption;
    return {CommandLineAnswer::Kind::Print, help ? HelpText() : VersionText(), 0};
}

bool QtMayTakeArguments(const QStringList& arguments) {
    const QStringList given = arguments.mid(1);
    return std::any_of(given.begin(), given.end(), [](const QString& argument) {
        return argument.startsWith(u'-') && argument != helpOption && argument != versionOption;
    });
}

std::optional<int> CarryOut(const CommandLineAnswer& answer) {
    switch (answer.kind) {
    case CommandLineAnswer::Kind::Run:
        return std::nullopt;
    case CommandLineAnswer::Kind::Print: {
        const QByteArray text = answer.text.toLocal8Bit();
        std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stdout);
        if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
            std::fputs("korvani: the output could not be written\n", stderr);
            return 1;
        }
        return answer.exitStatus;
    }
    case CommandLineAnswer::Kind::Refuse:
        std::fprintf(stderr, "%s\n", answer.text.toLocal8Bit().constData());
        return answer.exitStatus;
    }
    return std::nullopt;
}

std::optional<int> AnswerCommandLineBeforeQt(int argc, char* argv[]) {
    QStringList arguments;
    for (int index = 0; index < argc; ++index) {
        arguments.append(QString::fromLocal8Bit(argv[index]));
    }
    if (QtMayTakeArguments(arguments)) {
        return std::nullopt;
    }
    return CarryOut(ReadCommandLine(arguments));
}

std::optional<int> AnswerCommandLine(const QStringList& arguments) {
    return CarryOut(ReadCommandLine(arguments));
}

void NameApplication() {
    QCoreApplication::setApplicationName(QStringLiteral("Korvani"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(korvani::version));
    QCoreApplication::setOrganizationName(QString::fromLatin1(korvani::organizationName));
    QCoreApplication::setOrganizationDomain(QString::fromLatin1(korvani::organizationDomain));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(korvani::applicationId));
}
