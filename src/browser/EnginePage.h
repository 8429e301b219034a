#pragma once

#include <QWebEnginePage>
#include <functional>

namespace browser {

// The engine's page with its requests for new windows handed to whoever owns it.
class EnginePage : public QWebEnginePage {
    Q_OBJECT
public:
    using WindowRequestHandler = std::function<QWebEnginePage*(WebWindowType)>;

    EnginePage(QWebEngineProfile* profile, QObject* parent);

    void setWindowRequestHandler(WindowRequestHandler handler) { handler_ = std::move(handler); }

protected:
    // The page that is to show the new window, or null to drop the request.
    QWebEnginePage* createWindow(WebWindowType type) override;

private:
    WindowRequestHandler handler_;
};

} // namespace browser
