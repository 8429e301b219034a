#include "browser/WebEngineBrowserFactory.h"

#include "browser/WebEngineBrowser.h"
#include "browser/WebEngineProxyControl.h"

#include <QWebEngineProfile>

namespace browser {

WebEngineBrowserFactory::WebEngineBrowserFactory(QWebEngineProfile* profile) : profile_(profile) {}

WebEngineBrowserFactory::~WebEngineBrowserFactory() = default;

WebBrowser* WebEngineBrowserFactory::create(QWidget* owner) {
    return new WebEngineBrowser(profile_ ? profile_ : QWebEngineProfile::defaultProfile(), owner);
}

ProxyControl& WebEngineBrowserFactory::proxyControl() {
    if (!proxyControl_)
        proxyControl_ = std::make_unique<WebEngineProxyControl>(profile_);
    return *proxyControl_;
}

} // namespace browser
