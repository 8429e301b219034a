#pragma once

#include "browser/ProxyControl.h"

#include <QStringList>
#include <functional>

// Stands in for the engine's proxy setting: records each route put in force ("host:port" or
// "none").
class FakeProxyControl : public browser::ProxyControl {
public:
    void useProxy(const settings::ProxyAddress& address) override;
    void useNoProxy() override;

    QStringList routes;
    std::function<void()> onChange; // runs as each route is put in force
};
