#include "browser/WebEngineBrowserFactory.h"

#include "browser/WebEngineBrowser.h"

#include <QWebEngineProfile>

namespace browser {

WebEngineBrowserFactory::WebEngineBrowserFactory(QWebEngineProfile* profile) : profile_(profile) {}

WebBrowser* WebEngineBrowserFactory::create(QWidget* owner) {
    return new WebEngineBrowser(profile_ ? profile_ : QWebEngineProfile::defaultProfile(), owner);
}

} // namespace browser
