#include "library/BirthsCommand.h"

#include "library/BirthCsv.h"

#include <QBuffer>
#include <QFile>
#include <QSaveFile>

namespace {

const QStringList libraryOptions = {QStringLiteral("--saved"), QStringLiteral("--export-births"),
                                    QStringLiteral("--import-births"),
                                    QStringLiteral("--backup-births"), QStringLiteral("--library")};

CommandOutput Refused(const QString& message, int status = refusedExitStatus) {
    CommandOutput output;
    output.exitStatus = status;
    output.standardError =
        (QLatin1StringView(programName) + QStringLiteral(": ") + message + u'\n').toUtf8();
    return output;
}

// The first candidates of `total` (all of `births` unless told otherwise).
QString Candidates(const std::vector<SavedBirth>& births, std::size_t total = 0) {
    total = std::max(total, births.size());
    QStringList shown;
    for (std::size_t at = 0; at < births.size() && at < savedCandidateCount; ++at) {
        shown.append(births[at].name + u'@' + BirthDateText(births[at]));
    }
    if (total > savedCandidateCount) {
        shown.append(QStringLiteral("and %1 more").arg(total - savedCandidateCount));
    }
    return shown.join(QStringLiteral(", "));
}

// The saved birth that --saved names, or why there is none.
std::variant<SavedBirth, CommandOutput> SavedByName(BirthLibrary& library, const QString& value) {
    QString name = value;
    std::optional<QString> date;
    if (const qsizetype at = value.lastIndexOf(u'@'); at >= 0) {
        name = value.first(at);
        date = value.sliced(at + 1).trimmed();
    }
    auto found = library.FindByName(name);
    if (auto* error = std::get_if<LibraryError>(&found)) {
        return Refused(error->message, failureExitStatus);
    }
    std::vector<SavedBirth>& births = std::get<std::vector<SavedBirth>>(found);
    std::vector<SavedBirth> chosen;
    for (const SavedBirth& birth : births) {
        if (!date || BirthDateText(birth) == *date) {
            chosen.push_back(birth);
        }
    }
    if (chosen.size() == 1) {
        return chosen.front();
    }
    if (chosen.size() > 1) {
        return Refused(QStringLiteral("--saved: %1 names %2 births; add @YYYY-MM-DD to choose "
                                      "one: %3")
                           .arg(Quoted(Shown(name, 80)))
                           .arg(chosen.size())
                           .arg(Candidates(chosen)));
    }
    if (!births.empty()) {
        return Refused(
            QStringLiteral("--saved: no birth of %1 on %2; saved: %3")
                .arg(Quoted(Shown(name, 80)), Quoted(Shown(*date, 20)), Candidates(births)));
    }
    // An unknown name: the births whose name or place holds it, as a hint.
    std::vector<SavedBirth> near;
    std::size_t nearCount = 0;
    if (const auto ids = library.Search(name); std::holds_alternative<std::vector<qint64>>(ids)) {
        nearCount = std::get<std::vector<qint64>>(ids).size();
        for (const qint64 id : std::get<std::vector<qint64>>(ids)) {
            if (near.size() == savedCandidateCount) {
                break;
            }
            if (auto birth = library.Load(id);
                std::holds_alternative<std::optional<SavedBirth>>(birth) &&
                std::get<std::optional<SavedBirth>>(birth)) {
                near.push_back(*std::get<std::optional<SavedBirth>>(birth));
            }
        }
    }
    return Refused(
        near.empty()
            ? QStringLiteral("--saved: no saved birth is named %1").arg(Quoted(Shown(name, 80)))
            : QStringLiteral("--saved: no saved birth is named %1; did you "
                             "mean: %2")
                  .arg(Quoted(Shown(name, 80)), Candidates(near, nearCount)));
}

} // namespace

QStringList ChartArguments(const SavedBirth& birth) {
    QStringList arguments = {QStringLiteral("--date"), BirthDateText(birth),
                             QStringLiteral("--time"), BirthTimeText(birth),
                             QStringLiteral("--lon"),  BirthLongitudeText(birth),
                             QStringLiteral("--lat"),  BirthLatitudeText(birth)};
    if (birth.zoneRow.isEmpty()) {
        arguments << QStringLiteral("--tz") << birth.ianaZone;
    } else {
        arguments << QStringLiteral("--zone") << birth.zoneRow;
        if (birth.daylightSaving) {
            arguments << QStringLiteral("--dst");
        }
    }
    return arguments;
}

BirthsCommand RunBirthsCommand(const QStringList& arguments, const CommandEnvironment& environment,
                               const std::function<void(qint64)>& afterImportRow) {
    BirthsCommand command;
    QHash<QString, QString> given;
    bool replace = false;
    for (qsizetype at = 0; at < arguments.size(); ++at) {
        const QString& argument = arguments[at];
        const qsizetype equals = argument.indexOf(u'=');
        const QString option = equals > 0 ? argument.first(equals) : argument;
        if (argument == QStringLiteral("--replace")) {
            replace = true;
            continue;
        }
        if (!libraryOptions.contains(option)) {
            command.arguments.append(argument);
            continue;
        }
        if (given.contains(option)) {
            command.output = Refused(QStringLiteral("%1 given more than once").arg(option));
            return command;
        }
        if (equals > 0) {
            given.insert(option, argument.sliced(equals + 1));
        } else if (at + 1 < arguments.size()) {
            given.insert(option, arguments[++at]);
        } else {
            command.output = Refused(QStringLiteral("%1 needs a value").arg(option));
            return command;
        }
    }
    const QString library = QStringLiteral("--library");
    const QString saved = QStringLiteral("--saved");
    const QStringList actions = {saved, QStringLiteral("--export-births"),
                                 QStringLiteral("--import-births"),
                                 QStringLiteral("--backup-births")};
    QStringList asked;
    for (const QString& action : actions) {
        if (given.contains(action)) {
            asked.append(action);
        }
    }
    if (asked.isEmpty()) {
        if (given.contains(library) || replace) {
            command.output =
                Refused(QStringLiteral("%1 goes with --saved, --export-births, --import-births or "
                                       "--backup-births")
                            .arg(given.contains(library) ? library : QStringLiteral("--replace")));
        }
        return command;
    }
    if (asked.size() > 1) {
        command.output = Refused(QStringLiteral("%1 cannot be combined").arg(asked.join(u' ')));
        return command;
    }
    const QString action = asked.front();
    if (replace && action != QStringLiteral("--import-births")) {
        command.output = Refused(QStringLiteral("--replace goes with --import-births"));
        return command;
    }
    // Only --saved computes a chart and takes the chart's output options.
    if (action != saved && command.arguments.size() > 1) {
        command.output = Refused(QStringLiteral("%1 takes no chart options (got %2)")
                                     .arg(action, Quoted(Shown(command.arguments[1], 40))));
        return command;
    }
    BirthLibrary births(given.value(library, BirthLibrary::DefaultPath()));
    const QString value = given.value(action);

    if (action == saved) {
        auto birth = SavedByName(births, value);
        if (auto* refused = std::get_if<CommandOutput>(&birth)) {
            command.output = *refused;
            return command;
        }
        command.arguments.append(ChartArguments(std::get<SavedBirth>(birth)));
        return command;
    }

    CommandOutput output;
    if (action == QStringLiteral("--export-births")) {
        if (value == QStringLiteral("-")) {
            QByteArray all;
            QBuffer buffer(&all);
            buffer.open(QIODevice::WriteOnly);
            if (auto error = ExportBirths(births, buffer)) {
                command.output = Refused(error->message, failureExitStatus);
                return command;
            }
            if (environment.write) {
                if (!environment.write(all)) {
                    command.output = Refused(QStringLiteral("the output could not be written"),
                                             failureExitStatus);
                    return command;
                }
            } else {
                output.standardOutput = all;
            }
        } else {
            // The whole file or nothing: written beside and renamed over the target at the end.
            QSaveFile file(value);
            if (!file.open(QIODevice::WriteOnly)) {
                command.output = Refused(QStringLiteral("--export-births: cannot write %1: %2")
                                             .arg(Quoted(Shown(value, 160)), file.errorString()),
                                         failureExitStatus);
                return command;
            }
            if (auto error = ExportBirths(births, file)) {
                command.output = Refused(error->message, failureExitStatus);
                return command;
            }
            if (!file.commit()) {
                command.output = Refused(QStringLiteral("--export-births: cannot write %1: %2")
                                             .arg(Quoted(Shown(value, 160)), file.errorString()),
                                         failureExitStatus);
                return command;
            }
        }
    } else if (action == QStringLiteral("--import-births")) {
        QFile file;
        QIODevice* input = nullptr;
        if (value == QStringLiteral("-")) {
            input = environment.standardInput;
        } else {
            file.setFileName(value);
            if (file.open(QIODevice::ReadOnly)) {
                input = &file;
            }
        }
        if (input == nullptr) {
            command.output =
                Refused(QStringLiteral("--import-births: cannot read %1: %2")
                            .arg(Quoted(Shown(value, 160)),
                                 value == QStringLiteral("-") ? QStringLiteral("no standard input")
                                                              : file.errorString()),
                        failureExitStatus);
            return command;
        }
        PlaceAndZoneCache places(environment.places);
        const ImportReport report = ImportBirths(births, *input, places, replace, afterImportRow);
        if (report.error) {
            command.output = Refused(report.error->message, failureExitStatus);
            return command;
        }
        if (report.fileError) {
            command.output = Refused(QStringLiteral("--import-births: ") + *report.fileError);
            return command;
        }
        QString text = RefusedRowsText(report.refused);
        text += QStringLiteral("%1: %2 births added to %3; %4 rows refused\n")
                    .arg(QLatin1StringView(programName))
                    .arg(report.added)
                    .arg(births.Path())
                    .arg(report.refused.size());
        output.standardError = text.toUtf8();
        output.exitStatus = report.refused.empty() ? 0 : refusedExitStatus;
    } else {
        if (auto error = births.Backup(value)) {
            command.output = Refused(error->message, failureExitStatus);
            return command;
        }
    }
    command.output = output;
    return command;
}
