#include "app/BirthsMenuController.h"

#include "library/BirthCsv.h"
#include "request/ChartRequest.h"
#include "ui/FileDialogs.h"
#include "ui/Messages.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QMenu>
#include <QSaveFile>
#include <QSettings>
#include <QtConcurrent>

#include <filesystem>
#include <system_error>

namespace {

const QString recentKey = QStringLiteral("births/recent");
// How often a save tries a busy library again.
constexpr int retryMs = 50;
// A worker's connection waits this long for another writer (an import takes a few seconds).
constexpr int workerBusyTimeoutMs = 30000;

QString RecentEntry(const SavedBirth& birth) {
    return BirthDateText(birth) + u' ' + birth.name;
}

QString Native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// What a worker reports: a message, and for an import the rows it read and its report.
struct WorkerResult {
    std::optional<QString> fault; // the work failed; nothing was changed
    QString details;              // the fault in the database's own words
    QString message;              // the work succeeded
    BirthRows rows;
    ImportReport report;
};

WorkerResult ReadImportRows(const QString& libraryPath, const QString& filePath) {
    WorkerResult result;
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly)) {
        result.fault =
            QStringLiteral("%1 cannot be read: %2").arg(Native(filePath), file.errorString());
        return result;
    }
    BirthLibrary library(libraryPath, workerBusyTimeoutMs);
    auto known = library.KnownBirths();
    if (const auto* error = std::get_if<LibraryError>(&known)) {
        result.fault = error->message;
        result.details = error->details;
        return result;
    }
    RememberedPlaceAnswers places(SystemPlaceLoader());
    result.rows = ReadBirthRows(file, places, std::get<QSet<QString>>(known), false);
    if (result.rows.readError) {
        result.fault = QStringLiteral("%1 could not be read to its end: %2")
                           .arg(Native(filePath), *result.rows.readError);
    } else if (result.rows.fileError) {
        result.fault = QStringLiteral("%1 cannot be imported: %2")
                           .arg(Native(filePath), *result.rows.fileError);
    }
    return result;
}

WorkerResult StoreRows(const QString& libraryPath, BirthRows rows, SavedBirthsInFile saved) {
    WorkerResult result;
    BirthLibrary library(libraryPath, workerBusyTimeoutMs);
    result.report = StoreBirthRows(library, std::move(rows), saved);
    return result;
}

WorkerResult ExportTo(const QString& libraryPath, const QString& filePath) {
    WorkerResult result;
    BirthLibrary library(libraryPath, workerBusyTimeoutMs);
    QSaveFile file(filePath); // the old file stays whole until the new one is complete
    if (!file.open(QIODevice::WriteOnly)) {
        result.fault =
            QStringLiteral("%1 cannot be written: %2").arg(Native(filePath), file.errorString());
        return result;
    }
    qint64 written = 0;
    if (const auto error = ExportBirths(library, file, &written)) {
        result.fault = error->message;
        result.details = error->details;
        return result;
    }
    if (!file.commit()) {
        result.fault =
            QStringLiteral("%1 cannot be written: %2").arg(Native(filePath), file.errorString());
        return result;
    }
    result.message =
        written == 1
            ? QStringLiteral("1 birth was exported to %1.").arg(Native(filePath))
            : QStringLiteral("%1 births were exported to %2.").arg(written).arg(Native(filePath));
    return result;
}

WorkerResult BackUpTo(const QString& libraryPath, const QString& filePath) {
    WorkerResult result;
    BirthLibrary library(libraryPath, workerBusyTimeoutMs);
    // Written beside the target, then moved over it: the user agreed to replace an existing file,
    // which stays whole until the copy is complete.
    const QString partial = filePath + QStringLiteral(".part");
    QFile::remove(partial);
    if (const auto error = library.Backup(partial)) {
        QFile::remove(partial);
        result.fault = error->message;
        result.details = error->details;
        return result;
    }
    std::error_code failure;
    std::filesystem::rename(partial.toStdString(), filePath.toStdString(), failure);
    if (failure) {
        QFile::remove(partial);
        result.fault = QStringLiteral("%1 cannot be written: %2")
                           .arg(Native(filePath), QString::fromStdString(failure.message()));
        return result;
    }
    result.message =
        QStringLiteral("The library of births was backed up to %1.").arg(Native(filePath));
    return result;
}

// A worker's message, as an error when it failed.
void Tell(const WorkerResult& result, QWidget* parent) {
    ShowMessage(result.fault ? MessageIcon::Error : MessageIcon::Information,
                result.fault.value_or(result.message), parent, result.details);
}

// The births of the library and of a backup offered to replace it, or why they cannot be told.
struct RestoreCounts {
    std::optional<QString> fault;
    QString details; // the fault in the database's own words
    qint64 library = 0;
    qint64 backup = 0;
};

RestoreCounts CountForRestore(const QString& libraryPath, const QString& filePath) {
    RestoreCounts counts;
    const auto backup = BirthLibrary::BirthsInBackup(filePath);
    if (const auto* error = std::get_if<LibraryError>(&backup)) {
        counts.fault = error->message;
        counts.details = error->details;
        return counts;
    }
    counts.backup = std::get<qint64>(backup);
    BirthLibrary library(libraryPath, workerBusyTimeoutMs);
    const auto held = library.Count();
    if (const auto* error = std::get_if<LibraryError>(&held)) {
        counts.fault = error->message;
        counts.details = error->details;
        return counts;
    }
    counts.library = std::get<qint64>(held);
    return counts;
}

QString BirthsText(qint64 count) {
    return count == 1 ? QStringLiteral("1 birth") : QStringLiteral("%1 births").arg(count);
}

WorkerResult RestoreFrom(const QString& libraryPath, const QString& filePath) {
    WorkerResult result;
    BirthLibrary library(libraryPath, workerBusyTimeoutMs);
    const auto restored = library.Restore(filePath);
    if (const auto* error = std::get_if<LibraryError>(&restored)) {
        result.fault = error->message;
        result.details = error->details;
        return result;
    }
    const RestoreOutcome& outcome = std::get<RestoreOutcome>(restored);
    result.message = QStringLiteral("The library of births was restored from %1: it holds %2 now.")
                         .arg(Native(filePath), BirthsText(outcome.restored));
    if (!outcome.keptAs.isEmpty()) {
        result.message +=
            QStringLiteral(" The library as it was is kept as %1.").arg(Native(outcome.keptAs));
    }
    return result;
}

} // namespace

void ShowLibraryError(const LibraryError& error, QWidget* parent) {
    ShowMessage(MessageIcon::Error, error.message, parent, error.details);
}

BirthsMenuController::BirthsMenuController(QWidget* window) : QObject(window), window_(window) {
    setObjectName(QStringLiteral("birthsMenu"));
    retry_.setSingleShot(true);
    retry_.setInterval(retryMs);
    connect(&retry_, &QTimer::timeout, this, &BirthsMenuController::trySave);
}

BirthsMenuController::~BirthsMenuController() = default;

BirthLibrary* BirthsMenuController::library(LibraryAction action) {
    if (!library_) {
        // The window's connection never waits for another writer; see trySave.
        library_ = std::make_unique<BirthLibrary>(BirthLibrary::DefaultPath(), 0);
    }
    const std::optional<LibraryError> fault = library_->Open(action);
    if (!fault) {
        return library_.get();
    }
    if (fault->fault != LibraryFault::NotALibrary) {
        ShowLibraryError(*fault, messageParent());
        return nullptr;
    }
    if (!AskYesNo(fault->message +
                      QStringLiteral("\n\nStart a new, empty library of births? The file is kept "
                                     "beside it under a new name."),
                  messageParent())) {
        return nullptr;
    }
    QString keptAs;
    if (const auto error = library_->StartNew(&keptAs)) {
        ShowLibraryError(*error, messageParent());
        return nullptr;
    }
    ShowMessage(MessageIcon::Information,
                QStringLiteral("A new library of births was started. The old file is kept as %1.")
                    .arg(Native(keptAs)),
                messageParent());
    return library_.get();
}

void BirthsMenuController::save(const SavedBirth& birth) {
    if (pending_) {
        return; // the save under way holds the same fields' earlier state; it ends first
    }
    pending_ = PendingSave{birth, false, QDeadlineTimer(patienceMs_)};
    trySave();
}

void BirthsMenuController::trySave() {
    if (!pending_) {
        return;
    }
    BirthLibrary* births = library(LibraryAction::Save);
    if (!births) {
        pending_.reset(); // told; the fields stay as typed
        return;
    }
    auto outcome = births->Save(pending_->birth, pending_->replace);
    const auto* fault = std::get_if<LibraryError>(&outcome);
    if (fault && fault->fault == LibraryFault::Busy && !pending_->deadline.hasExpired()) {
        emit statusChanged(QStringLiteral("Waiting for the library of births: another window or "
                                          "command is writing to it…"));
        retry_.start();
        return;
    }
    emit statusChanged({});
    PendingSave done = std::move(*pending_);
    pending_.reset();
    if (fault) {
        ShowLibraryError(*fault, messageParent());
        return;
    }
    if (std::get<BirthLibrary::SaveOutcome>(outcome) == BirthLibrary::SaveOutcome::Exists) {
        if (AskYesNo(QStringLiteral("A birth named %1 on this date is already saved. Replace it?")
                         .arg(done.birth.name),
                     messageParent())) {
            pending_ = PendingSave{std::move(done.birth), true, QDeadlineTimer(patienceMs_)};
            trySave();
        }
        return;
    }
    remember(done.birth);
    emit saved(done.birth);
}

QWidget* BirthsMenuController::messageParent() const {
    // Save Birth in the result window works while the input window is hidden.
    QWidget* active = QApplication::activeWindow();
    return window_->isVisible() || !active ? window_ : active;
}

BirthLibrary* BirthsMenuController::libraryForWork(LibraryAction action) {
    return refuseWhileWorking() ? nullptr : library(action);
}

bool BirthsMenuController::refuseWhileWorking() {
    if (isWorking()) {
        ShowMessage(MessageIcon::Information,
                    QStringLiteral("The births are still being imported, exported, backed up "
                                   "or restored. Please wait until that is done."),
                    messageParent());
    }
    return isWorking();
}

template <typename Result, typename Work, typename Done>
void BirthsMenuController::runWorker(Work work, Done done) {
    auto* watcher = new QFutureWatcher<Result>(this);
    worker_ = watcher;
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, done] {
        watcher->deleteLater();
        worker_ = nullptr;
        emit statusChanged({});
        done(watcher->result());
    });
    watcher->setFuture(QtConcurrent::run(std::move(work)));
}

void BirthsMenuController::importBirths() {
    if (refuseWhileWorking()) {
        return;
    }
    BirthLibrary* births = library(LibraryAction::Import);
    if (!births) {
        return;
    }
    const QString filePath = AskOpenFileName(window_, QStringLiteral("Import Births"),
                                             QStringLiteral("Births (*.csv);;All files (*)"));
    if (filePath.isEmpty()) {
        return;
    }
    const QString libraryPath = births->Path();
    emit statusChanged(QStringLiteral("Reading %1…").arg(Native(filePath)));
    runWorker<WorkerResult>(
        [libraryPath, filePath] { return ReadImportRows(libraryPath, filePath); },
        [this, libraryPath, filePath](WorkerResult read) {
            if (read.fault) {
                ShowMessage(MessageIcon::Error, *read.fault, messageParent(), read.details);
                return;
            }
            BirthRows& rows = read.rows;
            bool replace = false;
            if (!rows.inLibrary.empty()) {
                const bool one = rows.inLibrary.size() == 1;
                replace = AskYesNo(
                    QStringLiteral("%1 of the births in %2 %3 already saved (the same name and "
                                   "birth date). Replace the saved %4 with the file's?")
                        .arg(rows.inLibrary.size())
                        .arg(Native(filePath), one ? QStringLiteral("is") : QStringLiteral("are"),
                             one ? QStringLiteral("one") : QStringLiteral("ones")),
                    messageParent());
            }
            const SavedBirthsInFile saved =
                replace ? SavedBirthsInFile::Replace : SavedBirthsInFile::Keep;
            emit statusChanged(QStringLiteral("Importing births from %1…").arg(Native(filePath)));
            runWorker<WorkerResult>(
                [libraryPath, rows = std::move(rows), saved]() mutable {
                    return StoreRows(libraryPath, std::move(rows), saved);
                },
                [this, filePath](const WorkerResult& stored) {
                    const ImportReport& report = stored.report;
                    const ImportReportTexts texts = ImportReportText(report);
                    if (report.error) {
                        ShowMessage(MessageIcon::Error, report.error->message, messageParent(),
                                    report.error->details + u'\n' + texts.details);
                        return;
                    }
                    QString text =
                        QStringLiteral("Import from %1: %2.").arg(Native(filePath), texts.summary);
                    if (!report.refused.empty() || !report.renamed.empty()) {
                        text += report.renamed.empty() ? QStringLiteral(" The details list the "
                                                                        "refused rows.")
                                : report.refused.empty()
                                    ? QStringLiteral(" The details list the names written "
                                                     "otherwise.")
                                    : QStringLiteral(" The details list the refused rows and "
                                                     "the names written otherwise.");
                    }
                    const bool nothingStored =
                        report.added + report.replaced + report.unchanged + report.kept == 0;
                    ShowMessage(nothingStored && !report.refused.empty() ? MessageIcon::Error
                                                                         : MessageIcon::Information,
                                text, messageParent(), texts.details);
                });
        });
}

void BirthsMenuController::exportBirths() {
    BirthLibrary* births = libraryForWork(LibraryAction::Read);
    if (!births) {
        return;
    }
    const QString filePath =
        AskSaveFileName(window_, QStringLiteral("Export Births"), QStringLiteral("births.csv"),
                        QStringLiteral("Births (*.csv)"));
    if (filePath.isEmpty()) {
        return;
    }
    emit statusChanged(QStringLiteral("Exporting births to %1…").arg(Native(filePath)));
    runWorker<WorkerResult>(
        [libraryPath = births->Path(), filePath] { return ExportTo(libraryPath, filePath); },
        [this](const WorkerResult& result) { Tell(result, messageParent()); });
}

void BirthsMenuController::backUpBirths() {
    BirthLibrary* births = libraryForWork(LibraryAction::BackUp);
    if (!births) {
        return;
    }
    const QString filePath = AskSaveFileName(
        window_, QStringLiteral("Back Up Births"),
        QStringLiteral("births backup %1.sqlite").arg(QDate::currentDate().toString(Qt::ISODate)),
        QStringLiteral("Library of births (*.sqlite)"));
    if (filePath.isEmpty()) {
        return;
    }
    emit statusChanged(QStringLiteral("Backing up the births to %1…").arg(Native(filePath)));
    runWorker<WorkerResult>(
        [libraryPath = births->Path(), filePath] { return BackUpTo(libraryPath, filePath); },
        [this](const WorkerResult& result) { Tell(result, messageParent()); });
}

void BirthsMenuController::restoreBirths() {
    BirthLibrary* births = libraryForWork(LibraryAction::Restore);
    if (!births) {
        return;
    }
    const QString filePath =
        AskOpenFileName(window_, QStringLiteral("Restore Births"),
                        QStringLiteral("Library of births (*.sqlite);;All files (*)"));
    if (filePath.isEmpty()) {
        return;
    }
    const QString libraryPath = births->Path();
    emit statusChanged(QStringLiteral("Reading %1…").arg(Native(filePath)));
    runWorker<RestoreCounts>(
        [libraryPath, filePath] { return CountForRestore(libraryPath, filePath); },
        [this, libraryPath, filePath](const RestoreCounts& counts) {
            if (counts.fault) {
                ShowMessage(MessageIcon::Error, *counts.fault, messageParent(), counts.details);
                return;
            }
            if (!AskYesNo(QStringLiteral("Replace the library of births with the backup?\n\n"
                                         "Library: %1 (%2)\nBackup: %3 (%4)\n\nThe library as it "
                                         "is now is kept beside it, named %5.before-restore- and "
                                         "the date and time.")
                              .arg(Native(libraryPath), BirthsText(counts.library),
                                   Native(filePath), BirthsText(counts.backup),
                                   QFileInfo(libraryPath).fileName()),
                          messageParent())) {
                return;
            }
            emit statusChanged(
                QStringLiteral("Restoring the births from %1…").arg(Native(filePath)));
            runWorker<WorkerResult>(
                [libraryPath, filePath] { return RestoreFrom(libraryPath, filePath); },
                [this](const WorkerResult& result) {
                    if (!result.fault) {
                        emit restored();
                    }
                    Tell(result, messageParent());
                });
        });
}

QStringList BirthsMenuController::recent() const {
    return QSettings().value(recentKey).toStringList().mid(0, recentBirthCount);
}

void BirthsMenuController::remember(const SavedBirth& birth) {
    QStringList entries = recent();
    entries.removeAll(RecentEntry(birth));
    entries.prepend(RecentEntry(birth));
    QSettings().setValue(recentKey, entries.mid(0, recentBirthCount));
    refillRecentMenu();
}

void BirthsMenuController::refillRecentMenu() {
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (recentMenu_) {
                fillRecentMenu(recentMenu_);
            }
        },
        Qt::QueuedConnection);
}

void BirthsMenuController::fillRecentMenu(QMenu* menu) {
    recentMenu_ = menu;
    menu->clear();
    const QStringList entries = recent();
    for (int at = 0; at < entries.size(); ++at) {
        const QString entry = entries[at];
        const QString name = entry.mid(11);
        QAction* item =
            menu->addAction(QStringLiteral("&%1 %2 (%3)").arg(at + 1).arg(name, entry.left(10)));
        item->setObjectName(QStringLiteral("mnuRecentBirths_%1").arg(at));
        connect(item, &QAction::triggered, this, [this, entry, name] {
            const QDate date = QDate::fromString(entry.left(10), Qt::ISODate);
            BirthLibrary* births = library(LibraryAction::Read);
            if (!births) {
                return;
            }
            auto found = births->Find(name, date.year(), date.month(), date.day());
            if (const auto* fault = std::get_if<LibraryError>(&found)) {
                ShowLibraryError(*fault, messageParent());
                return;
            }
            const auto& birth = std::get<std::optional<SavedBirth>>(found);
            if (!birth) {
                ShowMessage(MessageIcon::Information,
                            QStringLiteral("%1 born %2 is no longer in the library of births.")
                                .arg(name, entry.left(10)),
                            messageParent());
                QStringList entries = recent();
                entries.removeAll(entry);
                QSettings().setValue(recentKey, entries);
                refillRecentMenu();
                return;
            }
            emit recentChosen(*birth);
        });
    }
    menu->setEnabled(!entries.isEmpty());
}
