#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

// Rolls back an open transaction when it goes out of scope without a commit.
class Transaction {
  public:
    explicit Transaction(QSqlDatabase& db) : db_(db) {}
    ~Transaction() {
        if (begun_ && !ended_) {
            QSqlQuery(db_).exec(QStringLiteral("ROLLBACK"));
        }
    }
    // BEGIN IMMEDIATE takes the write lock at once, so the busy timeout applies to it rather than
    // failing later on a read lock that cannot be upgraded.
    bool Begin(QSqlError& error) {
        QSqlQuery query(db_);
        begun_ = query.exec(QStringLiteral("BEGIN IMMEDIATE"));
        error = query.lastError();
        return begun_;
    }
    bool Commit(QSqlError& error) {
        QSqlQuery query(db_);
        ended_ = query.exec(QStringLiteral("COMMIT"));
        error = query.lastError();
        return ended_;
    }

  private:
    QSqlDatabase& db_;
    bool begun_ = false;
    bool ended_ = false;
};
