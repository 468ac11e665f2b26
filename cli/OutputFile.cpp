#include "cli/OutputFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>

namespace {

// The descriptor of this process that `path` names through /proc/self/fd/N or /dev/fd/N
// (/dev/stdout is a link to /proc/self/fd/1), the links followed as the system follows them.
std::optional<int> ProcessDescriptor(const QString& path) {
    static const QRegularExpression descriptorPath(
        QStringLiteral("^/(?:proc/self|dev)/fd/(\\d+)$"));
    QString step = QFileInfo(path).absoluteFilePath();
    for (int link = 0; link < 40; ++link) { // Linux follows as many (MAXSYMLINKS)
        if (const QRegularExpressionMatch match = descriptorPath.match(step); match.hasMatch()) {
            bool read = false;
            const int descriptor = match.captured(1).toInt(&read);
            return read ? std::optional<int>(descriptor) : std::nullopt;
        }
        const QFileInfo info(step);
        if (!info.isSymLink()) {
            break;
        }
        step = info.symLinkTarget();
    }
    return std::nullopt;
}

} // namespace

bool WrittenInPlace(const QString& path) {
    if (ProcessDescriptor(path)) {
        return true;
    }
    struct stat status = {};
    if (stat(QFile::encodeName(path).constData(), &status) != 0) {
        return false; // a new path
    }
    return S_ISCHR(status.st_mode) || S_ISBLK(status.st_mode) || S_ISFIFO(status.st_mode) ||
           S_ISSOCK(status.st_mode);
}

OutputFile::OutputFile(const QString& path) : inPlace_(WrittenInPlace(path)) {
    if (inPlace_) {
        file_ = std::make_unique<QFile>(path);
    } else {
        file_ = std::make_unique<QSaveFile>(path);
    }
}

bool OutputFile::Open() {
    if (!inPlace_) {
        return file_->open(QIODevice::WriteOnly);
    }
    // Opened by hand: QFile would truncate the file behind /dev/stdout, or seek a FIFO for Append.
    // A descriptor of this process is taken as it is, sharing its place in a file with what the
    // process writes there otherwise.
    const std::optional<int> own = ProcessDescriptor(file_->fileName());
    const int descriptor = own ? fcntl(*own, F_DUPFD_CLOEXEC, 0)
                               : ::open(QFile::encodeName(file_->fileName()).constData(),
                                        O_WRONLY | O_APPEND | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0) {
        openError_ = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    return static_cast<QFile&>(*file_).open(
        descriptor, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle);
}

QString OutputFile::ErrorString() const {
    return openError_.isEmpty() ? file_->errorString() : openError_;
}

bool OutputFile::Commit() {
    if (!inPlace_) {
        return static_cast<QSaveFile&>(*file_).commit();
    }
    const bool written = file_->error() == QFileDevice::NoError && file_->flush();
    file_->close();
    return written && file_->error() == QFileDevice::NoError;
}

void OutputFile::Cancel() {
    if (!inPlace_) {
        static_cast<QSaveFile&>(*file_).cancelWriting();
    }
}
