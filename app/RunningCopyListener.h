#pragma once

#include <QObject>
#include <QString>

class QLocalServer;
class QLockFile;

// Where the running copy listens for later copies: beside the lock, in the lock's folder.
QString RunningCopyServerName(const QString& lockFolder);

// Lets the running copy hear that another copy was started. It listens only while `heldLock`
// is held: the lock alone says which copy runs, so a socket left behind by a copy that was
// killed is removed here and nowhere else. When it cannot listen, the program runs on without it.
class RunningCopyListener : public QObject {
    Q_OBJECT
  public:
    explicit RunningCopyListener(const QLockFile* heldLock, QObject* parent = nullptr);

    bool isListening() const;

  signals:
    // Another copy was started and has ended after saying so.
    void anotherCopyStarted();

  private:
    void answer();

    QLocalServer* server = nullptr;
};

// Tells the copy that holds the lock in `lockFolder` that another copy was started, and waits
// up to `patienceMilliseconds` for its answer. Returns whether it answered.
bool NotifyRunningCopy(const QString& lockFolder, int patienceMilliseconds = 3000);
