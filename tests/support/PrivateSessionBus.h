#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// A D-Bus session bus of the test's own, with no services that start on demand (a desktop's
// real portal must not answer in place of the test's). start() points
// DBUS_SESSION_BUS_ADDRESS at it; call it before anything connects to the session bus.
class PrivateSessionBus {
public:
    ~PrivateSessionBus() {
        if (daemon_.state() != QProcess::NotRunning) {
            daemon_.terminate();
            daemon_.waitForFinished(10000);
        }
    }

    bool start() {
        const QString config = folder_.filePath(QStringLiteral("bus.conf"));
        QFile file(config);
        if (!file.open(QIODevice::WriteOnly))
            return false;
        file.write(
            R"(<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir=)" +
            QFile::encodeName(folder_.path()) +
            R"(</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
)");
        file.close();
        daemon_.start(QStringLiteral("dbus-daemon"),
                      {QStringLiteral("--config-file=") + config, QStringLiteral("--nofork"),
                       QStringLiteral("--print-address")});
        if (!daemon_.waitForStarted(20000))
            return false;
        if (!QTest::qWaitFor([this] { return daemon_.canReadLine(); }, 20000))
            return false;
        address_ = daemon_.readLine().trimmed();
        qputenv("DBUS_SESSION_BUS_ADDRESS", address_);
        return !address_.isEmpty();
    }

    QByteArray address() const { return address_; }

private:
    QTemporaryDir folder_;
    QProcess daemon_;
    QByteArray address_;
};
