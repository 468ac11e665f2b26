// Which paths the command writes into where they stand rather than replacing them.

#include "cli/OutputFile.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace {

TEST(OutputFile, OnlyANewPathOrARegularFileIsReplaced) {
    QTemporaryDir folder;
    const QString regular = folder.filePath(QStringLiteral("regular.svg"));
    const QString fifo = folder.filePath(QStringLiteral("fifo"));
    const QString linkToFifo = folder.filePath(QStringLiteral("link"));
    QFile regularFile(regular);
    ASSERT_TRUE(regularFile.open(QIODevice::WriteOnly));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(fifo, linkToFifo));
    const struct {
        const char* why;
        QString path;
        bool inPlace;
    } rows[] = {
        {"a new path is made whole beside and renamed", folder.filePath(QStringLiteral("new")),
         false},
        {"a regular file is replaced whole", regular, false},
        {"a folder is left to the save's own refusal", folder.path(), false},
        {"a FIFO stays a FIFO", fifo, true},
        {"a link to a FIFO is followed", linkToFifo, true},
        {"/dev/stdout is this process's descriptor 1", QStringLiteral("/dev/stdout"), true},
        {"a descriptor of this process on a regular file, shared rather than replaced",
         QStringLiteral("/proc/self/fd/%1").arg(regularFile.handle()), true},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(WrittenInPlace(row.path), row.inPlace) << row.why;
    }
}

} // namespace
