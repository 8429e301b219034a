#include "browser/ProxyControl.h"

#include "browser/ProxyAddress.h"

namespace browser {

ProxyControl::~ProxyControl() = default;

QString ProxyControl::apply(bool useProxy, const QString& address) {
    if (!useProxy || address.trimmed().isEmpty()) {
        useNoProxy();
        return {};
    }
    QString error;
    const std::optional<ProxyAddress> server = ProxyAddress::parse(address, &error);
    if (!server)
        return error;
    this->useProxy(*server);
    return {};
}

} // namespace browser
