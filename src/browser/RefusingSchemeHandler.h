#pragma once

#include <QWebEngineUrlSchemeHandler>

namespace browser {

// Answers every request of a scheme by refusing it. A scheme that only carries a page's
// buttons back to the program still needs a handler: without one the engine treats its links
// as belonging to another application and blocks them before the program sees them.
class RefusingSchemeHandler : public QWebEngineUrlSchemeHandler {
    Q_OBJECT
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;

    void requestStarted(QWebEngineUrlRequestJob* job) override;
};

} // namespace browser
