#pragma once

#include "browser/WebBrowserFactory.h"

#include <memory>

class QWebEngineProfile;

namespace browser {

class WebEngineProxyControl;

// Makes the real engine's browsers, all on one profile.
class WebEngineBrowserFactory : public WebBrowserFactory {
public:
    // Null stands for the engine's default profile.
    explicit WebEngineBrowserFactory(QWebEngineProfile* profile = nullptr);
    ~WebEngineBrowserFactory() override;

    WebBrowser* create(QWidget* owner) override;
    ProxyControl& proxyControl() override;

private:
    QWebEngineProfile* profile_;
    std::unique_ptr<WebEngineProxyControl> proxyControl_; // made on first use
};

} // namespace browser
