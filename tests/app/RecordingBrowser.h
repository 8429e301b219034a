#pragma once

#include "browser/WebBrowser.h"
#include "browser/WebBrowserFactory.h"

#include <QList>
#include <QPointer>
#include <QStringList>

// Stands in for the browser engine in window tests: records the navigations and steps it is
// asked for; the test makes up the events a page would send.
class RecordingBrowser : public browser::WebBrowser {
    Q_OBJECT
public:
    using browser::WebBrowser::WebBrowser;

    void Go(const QString& address) override { goCalls << address; url = address; }
    void GoBack() override { ++backCalls; }
    void GoForward() override { ++forwardCalls; }
    void Refresh() override {}
    void Copy() override {}
    void Paste() override {}
    void ExecWB(int, int, int) override {}
    QString LocationURL() const override { return url; }
    QString LocationName() const override { return title; }
    bool Busy() const override { return false; }

    QStringList goCalls;
    int backCalls = 0;
    int forwardCalls = 0;
    QString url;
    QString title;
};

class RecordingBrowserFactory : public browser::WebBrowserFactory {
public:
    browser::WebBrowser* create(QWidget* owner) override {
        auto* made = new RecordingBrowser(owner);
        created << made;
        return made;
    }
    QList<QPointer<RecordingBrowser>> created;
};
