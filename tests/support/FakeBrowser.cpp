#include "support/FakeBrowser.h"

#include <QMouseEvent>

FakeBrowser::FakeBrowser(QWidget* owner) : WebBrowser(owner) {}

void FakeBrowser::load(const QString& address) {
    goCalls << address;
    url = address;
    busy = true;
}

void FakeBrowser::finishLoad(const QString& newTitle, bool canBack, bool canForward) {
    currentTitle = newTitle;
    busy = false;
    Q_EMIT titleChanged(newTitle);
    Q_EMIT historyChanged(canBack, canForward);
    Q_EMIT loadFinished();
}

browser::WebBrowser* FakeBrowser::requestNewWindow(const QString& target) {
    browser::WebBrowser* answer = browserForNewWindow();
    if (answer)
        answer->load(target);
    return answer;
}

void FakeBrowser::setBusy(bool loading) {
    busy = loading;
    Q_EMIT loadingChanged(loading);
}

void FakeBrowser::mousePressEvent(QMouseEvent* event) {
    ++mousePresses;
    event->accept();
}

void FakeBrowser::mouseDoubleClickEvent(QMouseEvent* event) {
    ++mousePresses;
    event->accept();
}

browser::WebBrowser* FakeBrowserFactory::create(QWidget* owner) {
    if (onCreate)
        onCreate();
    auto* b = new FakeBrowser(owner);
    created << b;
    return b;
}

QStringList FakeBrowserFactory::loads() const {
    QStringList all;
    for (const auto& browser : created)
        if (browser)
            all << browser->goCalls;
    return all;
}
