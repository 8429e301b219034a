#include "browser/EnginePage.h"

#include <QWebEngineNewWindowRequest>

namespace browser {

EnginePage::EnginePage(QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent) {
    connect(this, &QWebEnginePage::newWindowRequested, this, &EnginePage::windowRequested);
}

void EnginePage::windowRequested(QWebEngineNewWindowRequest& request) {
    if (!request.isUserInitiated()) {
        Q_EMIT popupBlocked(request.requestedUrl());
        return;
    }
    if (QWebEnginePage* target = handler_ ? handler_() : nullptr)
        request.openIn(target);
}

QWebEnginePage* EnginePage::createWindow(WebWindowType) {
    return nullptr;
}

} // namespace browser
