#pragma once

#include "browser/WebBrowser.h"
#include "browser/WebBrowserFactory.h"

#include <QList>
#include <QPointer>
#include <QStringList>
#include <functional>

// A browser that records what it is asked to do and reports the events a test makes up.
class FakeBrowser : public browser::WebBrowser {
    Q_OBJECT
public:
    explicit FakeBrowser(QWidget* owner);

    void Go(const QString& address) override;
    void GoBack() override { ++backCalls; }
    void GoForward() override { ++forwardCalls; }
    void Refresh() override { ++refreshCalls; }
    void Copy() override { ++copyCalls; }
    void Paste() override { ++pasteCalls; }
    void ExecWB(int, int, int) override {}

    QString LocationURL() const override { return url; }
    QString LocationName() const override { return title; }
    bool Busy() const override { return busy; }

    // A load that ends: the address and title take effect, the history state and
    // DownloadComplete follow, as a real engine reports them.
    void finishLoad(const QString& newTitle, bool canBack = false, bool canForward = false);
    // The page asks for a new window; the browser handed back is sent to target, as the
    // engine does. Returns that browser.
    browser::WebBrowser* requestNewWindow(const QString& target, bool* cancelled = nullptr);

    QStringList goCalls;
    int backCalls = 0;
    int forwardCalls = 0;
    int refreshCalls = 0;
    int copyCalls = 0;
    int pasteCalls = 0;
    int mousePresses = 0; // presses that reached the page
    QString url;
    QString title;
    bool busy = false;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

class FakeBrowserFactory : public browser::WebBrowserFactory {
public:
    browser::WebBrowser* create(QWidget* owner) override;

    QList<QPointer<FakeBrowser>> created;
    std::function<void()> onCreate; // runs as each browser is made
};
