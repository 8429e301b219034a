#pragma once

#include "browser/WebBrowserFactory.h"

class QWebEngineProfile;

namespace browser {

// Makes the real engine's browsers, all on one profile.
class WebEngineBrowserFactory : public WebBrowserFactory {
public:
    // Null stands for the engine's default profile.
    explicit WebEngineBrowserFactory(QWebEngineProfile* profile = nullptr);

    WebBrowser* create(QWidget* owner) override;

private:
    QWebEngineProfile* profile_;
};

} // namespace browser
