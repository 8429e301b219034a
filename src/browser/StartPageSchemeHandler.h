#pragma once

#include <QWebEngineUrlSchemeHandler>

namespace browser {

// Answers requests of the program's own scheme: the start page, and "not found" for the rest.
class StartPageSchemeHandler : public QWebEngineUrlSchemeHandler {
    Q_OBJECT
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;

    void requestStarted(QWebEngineUrlRequestJob* job) override;
};

} // namespace browser
