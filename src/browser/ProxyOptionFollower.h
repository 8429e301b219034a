#pragma once

#include <QObject>
#include <QString>

namespace settings {
class OptionsStore;
}

namespace browser {

class ProxyControl;

// Keeps the route of the tabs' requests as the options say: when the options' proxy choice or
// address changes (the settings file read at start, OK in the proxy dialog), the new route is
// put in force at once, before the change returns. Until the options first name a proxy the
// engine keeps the route it started with.
class ProxyOptionFollower : public QObject {
    Q_OBJECT
public:
    ProxyOptionFollower(const settings::OptionsStore& options, ProxyControl& control,
                        QObject* parent = nullptr);

Q_SIGNALS:
    // The options name a proxy that is no host:port; the route stays as it was. Sent once for
    // each such address the options take on.
    void refused(const QString& message);

private:
    void follow();

    const settings::OptionsStore& options_;
    ProxyControl& control_;
    QString route_; // the options' proxy as last seen: its address, or empty for none
};

} // namespace browser
