#pragma once

#include "browser/WebBrowserFactory.h"

#include <memory>

class QWebEngineProfile;

namespace browser {

class ExternalProgramPrompt;
class FailureBlame;
class WebEngineProxyControl;

// Makes the real engine's browsers, all on one profile, whose failures are judged together.
class WebEngineBrowserFactory : public WebBrowserFactory {
public:
    // Null stands for the engine's default profile.
    explicit WebEngineBrowserFactory(QWebEngineProfile* profile = nullptr);
    ~WebEngineBrowserFactory() override;

    WebBrowser* create(QWidget* owner) override;
    ProxyControl& proxyControl() override;

    // Asks the user before a page's link goes to another program; a dialog unless set. The
    // prompt must outlive the browsers made afterwards.
    void setExternalProgramPrompt(ExternalProgramPrompt* prompt) { prompt_ = prompt; }

private:
    QWebEngineProfile* profile_;
    std::unique_ptr<ExternalProgramPrompt> dialog_;
    ExternalProgramPrompt* prompt_;
    std::unique_ptr<WebEngineProxyControl> proxyControl_; // made on first use
    std::shared_ptr<FailureBlame> blame_;                 // one for every tab
};

} // namespace browser
