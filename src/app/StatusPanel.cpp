#include "app/StatusPanel.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace app {

namespace {
constexpr int kMargin = 2;
}

StatusPanel::StatusPanel(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

void StatusPanel::setText(const QString& text) {
    if (text == text_)
        return;
    text_ = text;
    update();
}

QSize StatusPanel::sizeHint() const {
    return {fontMetrics().averageCharWidth() * 40, fontMetrics().height() + 2 * kMargin};
}

QSize StatusPanel::minimumSizeHint() const {
    return {0, fontMetrics().height()};
}

void StatusPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect area = rect().adjusted(kMargin, 0, -kMargin, 0);
    const QString shown = fontMetrics().elidedText(text_, Qt::ElideRight, area.width());
    QStyleOption option;
    option.initFrom(this);
    style()->drawItemText(&painter, area, Qt::AlignLeft | Qt::AlignVCenter, option.palette,
                          isEnabled(), shown, foregroundRole());
}

} // namespace app
