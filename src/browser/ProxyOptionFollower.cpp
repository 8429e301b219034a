#include "browser/ProxyOptionFollower.h"

#include "browser/ProxyControl.h"
#include "settings/OptionsStore.h"

namespace browser {

ProxyOptionFollower::ProxyOptionFollower(const settings::OptionsStore& options,
                                         ProxyControl& control, QObject* parent)
    : QObject(parent), options_(options), control_(control) {
    connect(&options_, &settings::OptionsStore::changed, this, &ProxyOptionFollower::follow);
    follow();
}

void ProxyOptionFollower::follow() {
    const settings::Options& options = options_.options();
    // An address kept while the choice is OFF, or a blank one, routes nowhere.
    const QString route = options.useProxy() ? options.proxyAddress.trimmed() : QString();
    if (route == route_)
        return;
    route_ = route;
    const QString error = control_.apply(!route.isEmpty(), route);
    if (!error.isEmpty())
        Q_EMIT refused(error);
}

} // namespace browser
