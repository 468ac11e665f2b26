#pragma once

// A small tmpfs mounted in a temporary folder for one test and unmounted after it: storage that
// can be made read-only. Mounting needs root; elsewhere Mounted() is false and the test skips.

#include <QDir>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class TmpfsMount {
  public:
    explicit TmpfsMount(const QString& options = QStringLiteral("size=2m"))
        : path_(folder_.filePath(QStringLiteral("mounted"))) {
        QDir().mkpath(path_);
        mounted_ =
            QProcess::execute(QStringLiteral("mount"),
                              {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                               options, QStringLiteral("tmpfs"), path_}) == 0;
    }
    ~TmpfsMount() {
        if (mounted_) {
            QProcess::execute(QStringLiteral("umount"), {path_});
        }
    }
    TmpfsMount(const TmpfsMount&) = delete;
    TmpfsMount& operator=(const TmpfsMount&) = delete;

    bool Mounted() const { return mounted_; }
    const QString& Path() const { return path_; }
    // Mounts it again read-only, keeping what it holds.
    bool MakeReadOnly() {
        return QProcess::execute(QStringLiteral("mount"),
                                 {QStringLiteral("-o"), QStringLiteral("remount,ro"), path_}) == 0;
    }

  private:
    QTemporaryDir folder_;
    QString path_;
    bool mounted_ = false;
};
