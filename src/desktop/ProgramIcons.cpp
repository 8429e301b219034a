#include "desktop/ProgramIcons.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace desktop {

namespace {

constexpr int kGridSize = 16;

QIcon makeIcon(bool paused) {
    QIcon icon(ProgramIcons::resourcePath(paused));
    // At 16 pixels the form drawn on that pixel grid replaces the scaled-down drawing, whose
    // thin lines would blur.
    QSvgRenderer small(ProgramIcons::smallResourcePath(paused));
    if (small.isValid()) {
        QPixmap pixmap(kGridSize, kGridSize);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        small.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace

QString ProgramIcons::resourcePath(bool paused) {
    return paused ? QStringLiteral(":/icons/lexorra2-paused.svg")
                  : QStringLiteral(":/icons/lexorra2.svg");
}

QString ProgramIcons::smallResourcePath(bool paused) {
    return paused ? QStringLiteral(":/icons/lexorra2-paused-16.svg")
                  : QStringLiteral(":/icons/lexorra2-16.svg");
}

QIcon ProgramIcons::icon(bool paused) {
    // Made once: the tray and the window switch between the two on every pause and resume.
    static const QIcon running = makeIcon(false);
    static const QIcon pausedIcon = makeIcon(true);
    return paused ? pausedIcon : running;
}

} // namespace desktop
