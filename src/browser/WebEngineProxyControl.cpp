#include "browser/WebEngineProxyControl.h"

#include "browser/ProxyPromptListener.h"
#include "settings/ProxyAddress.h"

#include <QEventLoop>
#include <QNetworkProxy>
#include <QPointer>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineProfile>

namespace browser {

WebEngineProxyControl::WebEngineProxyControl(QWebEngineProfile* profile, QObject* parent)
    : QObject(parent), profile_(profile ? profile : QWebEngineProfile::defaultProfile()),
      listener_(new ProxyPromptListener({}, this)) {}

// The page goes before the profile it lives on, whoever owns that.
WebEngineProxyControl::~WebEngineProxyControl() {
    delete prompter_;
}

void WebEngineProxyControl::useProxy(const settings::ProxyAddress& address) {
    put(QNetworkProxy(QNetworkProxy::HttpProxy, address.host(), address.port()));
}

void WebEngineProxyControl::useNoProxy() {
    put(QNetworkProxy(QNetworkProxy::NoProxy));
}

void WebEngineProxyControl::put(const QNetworkProxy& proxy) {
    if (QNetworkProxy::applicationProxy() == proxy)
        return;
    QNetworkProxy::setApplicationProxy(proxy);
    // Called again while waiting (from an event handled meanwhile): the wait under way
    // prompts the engine once more when it is over.
    if (prompting_) {
        changedMeanwhile_ = true;
        return;
    }
    const QPointer<WebEngineProxyControl> self(this);
    prompting_ = true;
    do {
        changedMeanwhile_ = false;
        if (!promptEngine()) {
            if (!self)
                return;
            qWarning("The browser engine did not confirm the new proxy setting within %d ms; "
                     "it holds from the request after next.",
                     kMaxWaitMs);
        }
    } while (self && changedMeanwhile_);
    if (self)
        prompting_ = false;
}

bool WebEngineProxyControl::promptEngine() {
    if (!prompter_)
        prompter_ = new QWebEnginePage(profile_);
    const QUrl prompt = listener_->open();
    if (prompt.isEmpty())
        return false;

    QEventLoop wait;
    bool finished = false;
    const auto done = connect(prompter_, &QWebEnginePage::loadFinished, &wait, [&] {
        finished = true;
        wait.quit();
    });
    connect(this, &QObject::destroyed, &wait, &QEventLoop::quit);
    QTimer::singleShot(kMaxWaitMs, &wait, &QEventLoop::quit);
    prompter_->load(prompt);
    // Only the engine's events and timers run meanwhile: the user's input waits.
    const QPointer<WebEngineProxyControl> self(this);
    wait.exec(QEventLoop::ExcludeUserInputEvents);
    disconnect(done);
    // Nobody else is to reach the listener in between.
    if (self)
        listener_->close();
    return finished;
}

} // namespace browser
