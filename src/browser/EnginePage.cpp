#include "browser/EnginePage.h"

namespace browser {

EnginePage::EnginePage(QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent) {}

QWebEnginePage* EnginePage::createWindow(WebWindowType type) {
    return handler_ ? handler_(type) : nullptr;
}

} // namespace browser
