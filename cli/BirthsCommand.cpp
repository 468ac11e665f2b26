#include "cli/BirthsCommand.h"

#include "cli/OutputFile.h"
#include "library/BirthCsv.h"

#include <QBuffer>
#include <QFile>

#include <array>

namespace {

CommandOutput Refused(const QString& message, int status = refusedExitStatus) {
    return RefusedOutput(message, status);
}

// A library's failure: its message, and the database's own words after it.
CommandOutput Failed(const LibraryError& error, int status = failureExitStatus) {
    return RefusedOutput(error.details.isEmpty()
                             ? error.message
                             : QStringLiteral("%1 (%2)").arg(error.message, error.details),
                         status);
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
        return Failed(*error);
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

std::variant<SingleChartRequest, CommandOutput> SavedBirthChart(const SavedChartRequest& request,
                                                                RememberedPlaceAnswers& places) {
    BirthLibrary library(request.libraryPath.value_or(BirthLibrary::DefaultPath()));
    const auto found = SavedByName(library, request.saved);
    if (const auto* refused = std::get_if<CommandOutput>(&found)) {
        return *refused;
    }
    // The birth's data as the options would give it, checked by the same rules.
    const SavedBirth& birth = std::get<SavedBirth>(found);
    const bool listZone = !birth.zoneRow.isEmpty();
    const std::array<QByteArray, 6> values = {BirthDateText(birth).toUtf8(),
                                              BirthTimeText(birth).toUtf8(),
                                              BirthLongitudeText(birth).toUtf8(),
                                              BirthLatitudeText(birth).toUtf8(),
                                              (listZone ? birth.zoneRow : birth.ianaZone).toUtf8(),
                                              birth.name.toUtf8()};
    ChartFields fields;
    fields.name = values[5];
    fields.date = values[0];
    fields.time = values[1];
    fields.longitude = values[2];
    fields.latitude = values[3];
    (listZone ? fields.zone : fields.tz) = values[4];
    fields.daylightSaving = listZone && birth.daylightSaving;
    const auto chart = ResolveChartRequest(fields, places);
    if (const auto* refusal = std::get_if<Refusal>(&chart)) {
        return Refused(refusal->message);
    }
    SingleChartRequest single = request.single;
    single.chart = std::get<ChartRequest>(chart);
    return single;
}

CommandOutput RunBirthsRequest(const BirthsRequest& request,
                               const CommandEnvironment& environment) {
    BirthLibrary births(request.libraryPath.value_or(BirthLibrary::DefaultPath()));
    const QString& value = request.path;
    CommandOutput output;
    if (request.action == BirthsAction::Export) {
        qint64 written = 0;
        if (value == QStringLiteral("-")) {
            QByteArray all;
            QBuffer buffer(&all);
            buffer.open(QIODevice::WriteOnly);
            if (auto error = ExportBirths(births, buffer, &written)) {
                return Failed(*error);
            }
            if (environment.write) {
                if (!environment.write(all)) {
                    return Refused(QStringLiteral("the output could not be written"),
                                   failureExitStatus);
                }
            } else {
                output.standardOutput = all;
            }
        } else {
            // The whole file or nothing; a device or FIFO is written into where it stands.
            OutputFile file(value);
            const auto cannotWrite = [&] {
                return Refused(QStringLiteral("--export-births: cannot write %1: %2")
                                   .arg(Quoted(Shown(value, 160)), file.ErrorString()),
                               failureExitStatus);
            };
            if (!file.Open()) {
                return cannotWrite();
            }
            if (auto error = ExportBirths(births, file.Device(), &written)) {
                file.Cancel();
                return Failed(*error);
            }
            if (!file.Commit()) {
                return cannotWrite();
            }
        }
        output.standardError =
            QStringLiteral("%1: %2 %3 written to %4\n")
                .arg(QLatin1StringView(programName))
                .arg(written)
                .arg(written == 1 ? QStringLiteral("birth") : QStringLiteral("births"))
                .arg(value == QStringLiteral("-") ? QStringLiteral("standard output")
                                                  : Shown(value, 160))
                .toUtf8();
    } else if (request.action == BirthsAction::Import) {
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
            return Refused(
                QStringLiteral("--import-births: cannot read %1: %2")
                    .arg(Quoted(Shown(value, 160)), value == QStringLiteral("-")
                                                        ? QStringLiteral("no standard input")
                                                        : file.errorString()),
                failureExitStatus);
        }
        RememberedPlaceAnswers places(environment.places);
        const ImportReport report =
            ImportBirths(births, *input, places, request.replace, environment.afterImportRow);
        if (report.error) {
            return Failed(*report.error);
        }
        if (report.readError) {
            return Refused(QStringLiteral("--import-births: %1; nothing was imported")
                               .arg(InputReadProblem(value, report.linesRead, *report.readError)),
                           failureExitStatus);
        }
        if (report.fileError) {
            return Refused(QStringLiteral("--import-births: ") + *report.fileError);
        }
        const ImportReportTexts texts = ImportReportText(report);
        output.standardError =
            (texts.details + QStringLiteral("%1: %2, in %3\n")
                                 .arg(QLatin1StringView(programName), texts.summary, births.Path()))
                .toUtf8();
        output.exitStatus = report.refused.empty() ? 0 : refusedExitStatus;
    } else if (request.action == BirthsAction::Restore) {
        // No question: the option is the answer. A file that is no library of this or an older
        // version is refused input; anything else that stops the restore is a failure.
        const auto offered = BirthLibrary::BirthsInBackup(value);
        if (const auto* error = std::get_if<LibraryError>(&offered)) {
            return Failed(*error, error->fault == LibraryFault::NotALibrary ||
                                          error->fault == LibraryFault::Newer
                                      ? refusedExitStatus
                                      : failureExitStatus);
        }
        const auto restored = births.Restore(value, environment.afterRestoreStep);
        if (const auto* error = std::get_if<LibraryError>(&restored)) {
            return Failed(*error);
        }
        const RestoreOutcome& outcome = std::get<RestoreOutcome>(restored);
        const QString before =
            outcome.held ? QStringLiteral("; the library as it was (%1 births) is kept as %2")
                               .arg(*outcome.held)
                               .arg(outcome.keptAs)
                         : QStringLiteral("; there was no library before");
        output.standardError = QStringLiteral("%1: %2 births restored from %3 into %4%5\n")
                                   .arg(QLatin1StringView(programName))
                                   .arg(outcome.restored)
                                   .arg(value, births.Path(), before)
                                   .toUtf8();
    } else if (auto error = births.Backup(value)) {
        return Failed(*error);
    }
    return output;
}
