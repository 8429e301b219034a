#include "browser/WebEngineBrowserFactory.h"

#include "browser/ExternalProgramDialog.h"
#include "browser/FailureBlame.h"
#include "browser/FailurePageController.h"
#include "browser/WebEngineBrowser.h"
#include "browser/WebEngineProxyControl.h"

#include <QWebEngineProfile>

namespace browser {

WebEngineBrowserFactory::WebEngineBrowserFactory(QWebEngineProfile* profile)
    : profile_(profile), dialog_(std::make_unique<ExternalProgramDialog>()), prompt_(dialog_.get()),
      blame_(std::make_shared<FailureBlame>()) {}

WebEngineBrowserFactory::~WebEngineBrowserFactory() = default;

WebBrowser* WebEngineBrowserFactory::create(QWidget* owner) {
    auto* browser =
        new WebEngineBrowser(profile_ ? profile_ : QWebEngineProfile::defaultProfile(), owner);
    browser->setExternalProgramPrompt(prompt_);
    browser->failurePages()->setBlame(
        blame_, [this] { return proxyControl_ ? proxyControl_->proxyInUse() : QString(); });
    return browser;
}

ProxyControl& WebEngineBrowserFactory::proxyControl() {
    if (!proxyControl_)
        proxyControl_ = std::make_unique<WebEngineProxyControl>(profile_);
    return *proxyControl_;
}

} // namespace browser
