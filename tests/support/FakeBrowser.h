#pragma once

#include "browser/WebBrowser.h"
#include "browser/WebBrowserFactory.h"
#include "support/FakeProxyControl.h"

#include <QList>
#include <QPointer>
#include <QStringList>
#include <functional>

// Stands in for the browser engine in widget and window tests: records what it is asked to
// do and reports the events a test makes up.
class FakeBrowser : public browser::WebBrowser {
    Q_OBJECT
public:
    explicit FakeBrowser(QWidget* owner);

    void load(const QString& address) override;
    void goBack() override { ++backCalls; }
    void goForward() override { ++forwardCalls; }
    void reload() override { ++refreshCalls; }
    void copySelection() override { ++copyCalls; }
    void paste() override { ++pasteCalls; }
    void setTextSize(int level) override { textSizes << level; }

    QString address() const override { return url; }
    QString title() const override { return currentTitle; }
    bool isLoading() const override { return busy; }

    // A load that ends: the address and title take effect, the history state and
    // loadFinished follow, as a real engine reports them.
    void finishLoad(const QString& newTitle, bool canBack = false, bool canForward = false);
    // The page asks for a new window; the browser handed back is sent to target, as the
    // engine does. Returns that browser, or null when the request was dropped.
    browser::WebBrowser* requestNewWindow(const QString& target);
    // A load starts or ends, as the engine reports it.
    void setBusy(bool loading);
    // Whether the window knows the failed address as one of its lookups.
    bool hasFailedLookup(const QUrl& address) const { return failedLookup(address).has_value(); }

    QStringList goCalls;
    int backCalls = 0;
    int forwardCalls = 0;
    int refreshCalls = 0;
    int copyCalls = 0;
    int pasteCalls = 0;
    QList<int> textSizes;
    int mousePresses = 0; // presses that reached the page
    QString url;
    QString currentTitle;
    bool busy = false;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

class FakeBrowserFactory : public browser::WebBrowserFactory {
public:
    browser::WebBrowser* create(QWidget* owner) override;
    browser::ProxyControl& proxyControl() override { return proxy; }

    // Every address the browsers were sent to, in order, over all of them.
    QStringList loads() const;

    QList<QPointer<FakeBrowser>> created;
    FakeProxyControl proxy;
    std::function<void()> onCreate; // runs as each browser is made
};
