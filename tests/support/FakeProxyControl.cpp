#include "support/FakeProxyControl.h"

#include "settings/ProxyAddress.h"

void FakeProxyControl::useProxy(const settings::ProxyAddress& address) {
    routes << address.toString();
    if (onChange)
        onChange();
}

void FakeProxyControl::useNoProxy() {
    routes << QStringLiteral("none");
    if (onChange)
        onChange();
}
