#pragma once

#include <QFileDevice>
#include <QString>

#include <memory>

// Whether the command writes into `path` where it stands rather than replacing it: the path
// names an existing character or block device (/dev/null), a FIFO or a socket, or goes through
// a descriptor of the process (/dev/stdout, /dev/fd/N, /proc/self/fd/N). Renaming a file over
// such a path would put a regular file in its place.
bool WrittenInPlace(const QString& path);

// A file the command writes whole. A new path or a regular file is written beside and renamed
// over the target once complete (QSaveFile), so that a failed run leaves the target as it was;
// a path WrittenInPlace is opened and written into directly, appending (after what a
// redirection of standard output to a file holds).
class OutputFile {
  public:
    explicit OutputFile(const QString& path);
    bool Open();
    QFileDevice& Device() { return *file_; }
    // Finishes the file: renamed into place, or flushed and closed. False when it failed.
    bool Commit();
    // Leaves a target that is replaced as it was.
    void Cancel();
    QString ErrorString() const;

  private:
    std::unique_ptr<QFileDevice> file_;
    QString openError_;
    bool inPlace_ = false;
};
