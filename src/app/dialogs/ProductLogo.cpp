#include "app/dialogs/ProductLogo.h"

#include "desktop/ProgramIcons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QSvgRenderer>

namespace app {

ProductLogo::ProductLogo(QWidget* parent) : QWidget(parent) {}

void ProductLogo::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = rect();
    QLinearGradient background(area.topLeft(), area.bottomLeft());
    background.setColorAt(0, QColor(0xf6, 0xf8, 0xfc));
    background.setColorAt(1, QColor(0xe3, 0xea, 0xf6));
    painter.setPen(Qt::NoPen);
    painter.setBrush(background);
    painter.drawRoundedRect(area, 16, 16);

    // The icon, square, on the left; the drawing is scalable, so it is sharp at this size.
    const qreal side = area.height() * 0.78;
    const QRectF iconBox(area.left() + (area.height() - side) / 2,
                         area.top() + (area.height() - side) / 2, side, side);
    QSvgRenderer icon(desktop::ProgramIcons::resourcePath(false));
    icon.render(&painter, iconBox);

    // The name to its right: "Lexorra" in grey and "2" in the icon's blue, as on the start page.
    QFont font(QStringList{QStringLiteral("Noto Sans CJK JP"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(qRound(area.height() * 0.36));
    font.setBold(true);
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    const QString name = QStringLiteral("Lexorra");
    const QString two = QStringLiteral("2");
    const qreal textLeft = iconBox.right() + area.height() * 0.18;
    const qreal baseline = area.center().y() + (metrics.ascent() - metrics.descent()) / 2;
    painter.setPen(QColor(0x64, 0x64, 0x64));
    painter.drawText(QPointF(textLeft, baseline), name);
    painter.setPen(QColor(0x2f, 0x6d, 0xb5));
    painter.drawText(QPointF(textLeft + metrics.horizontalAdvance(name), baseline), two);
}

} // namespace app
