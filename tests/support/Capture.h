#pragma once

#include "ui/Messages.h"

#include <QDesktopServices>
#include <QEvent>
#include <QObject>
#include <QString>
#include <QUrl>

#include <vector>

// Records the message boxes shown while it lives, instead of showing them.
class MessageCapture {
  public:
    struct Message {
        MessageIcon icon;
        QString text;
    };
    MessageCapture() {
        SetMessageHandler([this](MessageIcon icon, const QString& text) {
            messages.push_back({icon, text});
        });
    }
    ~MessageCapture() { SetMessageHandler({}); }
    MessageCapture(const MessageCapture&) = delete;
    MessageCapture& operator=(const MessageCapture&) = delete;

    std::vector<Message> messages;
};

// Records the addresses opened in the browser while it lives, for the http and https schemes.
class UrlCapture : public QObject {
    Q_OBJECT
  public:
    UrlCapture() {
        QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "record");
        QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "record");
    }
    ~UrlCapture() override {
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    }

    std::vector<QUrl> urls;

  public slots:
    void record(const QUrl& url) { urls.push_back(url); }
};

// Counts the times a window is shown while it lives.
class ShowCounter : public QObject {
  public:
    explicit ShowCounter(QObject* watched) { watched->installEventFilter(this); }
    int shows = 0;

  protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        shows += event->type() == QEvent::Show ? 1 : 0;
        return false;
    }
};
