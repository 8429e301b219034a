#pragma once

#include "browser/ProxyControl.h"

#include <QObject>

class QNetworkProxy;
class QWebEnginePage;
class QWebEngineProfile;

namespace browser {

class ProxyPromptListener;

// Sets the proxy of the real engine, so that the very next request of any tab goes the new way.
//
// The engine reads the application's proxy (QNetworkProxy::setApplicationProxy) only when a
// request prompts it to look again, and that request itself still goes the old way. So after a
// change this control sends one request of its own first, from a page nobody sees to a
// listener of its own on the loopback interface (loopback requests pass by any proxy the
// program sets), and returns once the engine is done with it: by then the engine has taken up
// the new setting. Open tabs keep their pages, history and cookies; the wait is a few tens of
// milliseconds and ends after kMaxWaitMs at the latest.
class WebEngineProxyControl : public QObject, public ProxyControl {
    Q_OBJECT
public:
    static constexpr int kMaxWaitMs = 5000;

    // The profile of the tabs' pages; null stands for the engine's default profile. It must
    // outlive this control.
    explicit WebEngineProxyControl(QWebEngineProfile* profile = nullptr, QObject* parent = nullptr);
    ~WebEngineProxyControl() override;

    void useProxy(const settings::ProxyAddress& address) override;
    void useNoProxy() override;

private:
    void put(const QNetworkProxy& proxy);
    // Sends the request that makes the engine read the setting again and waits for its end.
    // False when the engine did not finish it in time.
    bool promptEngine();

    QWebEngineProfile* profile_;
    ProxyPromptListener* listener_;
    QWebEnginePage* prompter_ = nullptr; // made on first use
    bool prompting_ = false;
    bool changedMeanwhile_ = false;
};

} // namespace browser
