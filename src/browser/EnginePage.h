#pragma once

#include <QWebEnginePage>
#include <functional>

class QWebEngineNewWindowRequest;

namespace browser {

// The engine's page with its requests for new windows handed to whoever owns it. Only a
// window the user asked for (a click on a link with a target, say) is opened; a page that
// opens windows by itself gets none and is told of through popupBlocked.
class EnginePage : public QWebEnginePage {
    Q_OBJECT
public:
    // The page that is to show the new window, or null to drop the request.
    using WindowRequestHandler = std::function<QWebEnginePage*()>;

    EnginePage(QWebEngineProfile* profile, QObject* parent);

    void setWindowRequestHandler(WindowRequestHandler handler) { handler_ = std::move(handler); }

Q_SIGNALS:
    // The page asked for a window without the user asking for it; none was opened.
    void popupBlocked(const QUrl& requested);

protected:
    // Every window goes through the request above; what the engine falls back to opens none.
    QWebEnginePage* createWindow(WebWindowType type) override;

private:
    void windowRequested(QWebEngineNewWindowRequest& request);

    WindowRequestHandler handler_;
};

} // namespace browser
