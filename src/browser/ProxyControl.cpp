#include "browser/ProxyControl.h"

#include "settings/ProxyAddress.h"

namespace browser {

ProxyControl::~ProxyControl() = default;

QString ProxyControl::apply(bool useProxy, const QString& address) {
    if (!useProxy || address.trimmed().isEmpty()) {
        useNoProxy();
        proxyInUse_.clear();
        return {};
    }
    QString error;
    const std::optional<settings::ProxyAddress> server =
        settings::ProxyAddress::parse(address, &error);
    if (!server)
        return error;
    this->useProxy(*server);
    proxyInUse_ = server->toString();
    return {};
}

} // namespace browser
