#include "app/RunningCopyListener.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QWidget>

namespace {

// What a starting copy says, and what the running copy answers once it has come forward.
constexpr char greeting[] = "korvani: another copy started\n";
constexpr char answerText[] = "korvani: brought forward\n";

} // namespace

QString RunningCopyServerName(const QString& lockFolder) {
    return QDir(lockFolder).filePath(QStringLiteral("korvani.socket"));
}

RunningCopyListener::RunningCopyListener(const QLockFile* heldLock, QObject* parent)
    : QObject(parent) {
    if (!heldLock || !heldLock->isLocked()) {
        return;
    }
    const QString name = RunningCopyServerName(QFileInfo(heldLock->fileName()).absolutePath());
    server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket left by a copy that was killed stays behind; holding the lock makes it ours.
    QLocalServer::removeServer(name);
    if (!server->listen(name)) {
        delete server;
        server = nullptr;
        return;
    }
    connect(server, &QLocalServer::newConnection, this, &RunningCopyListener::answer);
}

bool RunningCopyListener::isListening() const {
    return server && server->isListening();
}

void RunningCopyListener::answer() {
    while (QLocalSocket* socket = server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) {
                return;
            }
            const QByteArray line = socket->readLine();
            if (line == greeting) {
                emit anotherCopyStarted();
                socket->write(answerText);
            }
            socket->disconnectFromServer();
        });
    }
}

bool NotifyRunningCopy(const QString& lockFolder, int patienceMilliseconds) {
    QLocalSocket socket;
    socket.connectToServer(RunningCopyServerName(lockFolder));
    if (!socket.waitForConnected(patienceMilliseconds)) {
        return false;
    }
    socket.write(greeting);
    if (!socket.waitForBytesWritten(patienceMilliseconds)) {
        return false;
    }
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(patienceMilliseconds)) {
            return false;
        }
    }
    return socket.readLine() == answerText;
}
