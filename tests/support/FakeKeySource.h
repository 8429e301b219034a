#pragma once

#include "desktop/GlobalKeySource.h"

#include <QList>
#include <utility>

// Key events made by the test; records whether the controller asked it to listen.
class FakeKeySource : public desktop::GlobalKeySource {
    Q_OBJECT
public:
    using GlobalKeySource::GlobalKeySource;

    void setListening(bool on) override {
        listening = on;
        listeningCalls.append(on);
    }
    QString unavailableReason() const override { return reason; }

    // Releases that happened but wait to be read: catchUp reports them.
    void catchUp() override {
        const QList<desktop::GlobalKey> keys = std::exchange(unreadReleases, {});
        for (desktop::GlobalKey key : keys)
            Q_EMIT keyUp(key);
    }

    void press(desktop::GlobalKey key) { Q_EMIT keyDown(key); }
    void release(desktop::GlobalKey key) { Q_EMIT keyUp(key); }
    void breakDown(const QString& why) {
        reason = why;
        Q_EMIT failed(why);
    }

    bool listening = false;
    QList<bool> listeningCalls;
    QString reason;
    QList<desktop::GlobalKey> unreadReleases;
};
