#pragma once

#include <QHash>
#include <QWebEngineUrlSchemeHandler>
#include <memory>

namespace browser {

class FailurePage;

// Serves the failure pages of every tab of a profile from the program's own scheme. A page is
// served only for a navigation its tab's controller let through, once each, with new tokens
// in its links; anything else asked of the scheme (a site's image or frame, a link, a page
// gone) is refused.
class FailurePageSchemeHandler : public QWebEngineUrlSchemeHandler {
    Q_OBJECT
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;

    // The one request for page's address that may come next.
    void allowOnce(const std::shared_ptr<FailurePage>& page);

    void requestStarted(QWebEngineUrlRequestJob* job) override;

private:
    QHash<QString, std::weak_ptr<FailurePage>> allowed_;
};

} // namespace browser
