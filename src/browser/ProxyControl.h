#pragma once

#include <QString>

namespace settings {
class ProxyAddress;
}

namespace browser {

// The route of every request the tabs send: through a proxy server or straight to the sites.
// The program passes the real engine's control; tests pass a fake one.
class ProxyControl {
public:
    virtual ~ProxyControl();

    // From the next request of any tab on, requests go through the proxy at address.
    virtual void useProxy(const settings::ProxyAddress& address) = 0;
    // From the next request of any tab on, requests go straight to the sites.
    virtual void useNoProxy() = 0;

    // Puts a choice of the proxy dialog or of the settings file in force: the proxy at address
    // when useProxy is true and the address is not blank, no proxy otherwise. When the address
    // names no proxy server, nothing changes and the message for the user is returned; an empty
    // string means the choice is in force.
    QString apply(bool useProxy, const QString& address);
    // The proxy server that apply put in force, as "host:port"; empty when requests go
    // straight to the sites or no choice was applied yet.
    const QString& proxyInUse() const { return proxyInUse_; }

private:
    QString proxyInUse_;
};

} // namespace browser
