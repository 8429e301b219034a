#include "FakeBrowser.h"

#include <QMouseEvent>

FakeBrowser::FakeBrowser(QWidget* owner) : WebBrowser(owner) {}

void FakeBrowser::Go(const QString& address) {
    goCalls << address;
    url = address;
    busy = true;
}

void FakeBrowser::finishLoad(const QString& newTitle, bool canBack, bool canForward) {
    title = newTitle;
    busy = false;
    Q_EMIT TitleChange(newTitle);
    Q_EMIT CommandStateChange(browser::CSC_NAVIGATEBACK, canBack);
    Q_EMIT CommandStateChange(browser::CSC_NAVIGATEFORWARD, canForward);
    Q_EMIT DownloadComplete();
}

browser::WebBrowser* FakeBrowser::requestNewWindow(const QString& target, bool* cancelled) {
    browser::WebBrowser* answer = nullptr;
    bool cancel = false;
    Q_EMIT NewWindow2(&answer, &cancel);
    Q_EMIT NewWindow3(&answer, &cancel, 0, url, target);
    if (cancelled)
        *cancelled = cancel;
    if (answer && !cancel)
        answer->Go(target);
    return answer;
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
