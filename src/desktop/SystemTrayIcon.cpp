#include "desktop/SystemTrayIcon.h"

#include "desktop/ProgramIcons.h"

#include <QSystemTrayIcon>

namespace desktop {

namespace {
QString toolTipFor(bool paused) {
    return paused ? QStringLiteral("Lexorra2（休止中）") : QStringLiteral("Lexorra2");
}
} // namespace

SystemTrayIcon::SystemTrayIcon(QObject* parent) : NotificationArea(parent) {
    icon_ = new QSystemTrayIcon(ProgramIcons::icon(false), this);
    icon_->setObjectName(QStringLiteral("TrayIcon1"));
    icon_->setToolTip(toolTipFor(false));
    connect(icon_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason why) {
                // A double click starts with a click: it raises once, as a click does.
                if (why == QSystemTrayIcon::Trigger)
                    Q_EMIT clicked();
            });
}

bool SystemTrayIcon::isAvailable() const {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void SystemTrayIcon::show() {
    icon_->show();
}

void SystemTrayIcon::hide() {
    icon_->hide();
}

bool SystemTrayIcon::isVisible() const {
    return icon_->isVisible();
}

void SystemTrayIcon::setMenu(QMenu* menu) {
    icon_->setContextMenu(menu);
}

void SystemTrayIcon::setPaused(bool paused) {
    paused_ = paused;
    icon_->setIcon(ProgramIcons::icon(paused));
    icon_->setToolTip(toolTipFor(paused));
}

QString SystemTrayIcon::toolTip() const {
    return icon_->toolTip();
}

} // namespace desktop
