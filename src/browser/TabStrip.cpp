#include "browser/TabStrip.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cstdlib>

namespace browser {

namespace {

constexpr int kTextPadding = 14; // room for the text offset of the active tab and a margin
constexpr int kMinTabWidth = 28;
constexpr int kGap = 1; // lets the window show between neighbouring tabs

QFont tabFont() {
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    return font;
}

} // namespace

TabStrip::TabStrip(QWidget* parent) : QWidget(parent) {
    setFont(tabFont());
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void TabStrip::setCaptions(const QStringList& captions) {
    captions_ = captions;
    if (current_ >= count())
        current_ = count() - 1;
    relayout();
}

void TabStrip::setCurrentIndex(int index) {
    current_ = (index >= 0 && index < count()) ? index : -1;
    update();
}

QRect TabStrip::tabRect(int index) const {
    if (index < 0 || index >= static_cast<int>(rects_.size()))
        return {};
    return rects_[static_cast<size_t>(index)];
}

int TabStrip::tabAt(QPoint pos) const {
    for (size_t i = 0; i < rects_.size(); ++i)
        if (rects_[i].contains(pos))
            return static_cast<int>(i);
    return -1;
}

// Tabs are as wide as their captions; a tab that does not fit in the rest of a row starts a
// new row. A tab wider than the whole strip gets a row of its own and is cut to the width.
std::vector<QRect> TabStrip::layoutFor(int width) const {
    std::vector<QRect> rects;
    rects.reserve(captions_.size());
    const QFontMetrics metrics(font());
    width = std::max(width, kMinTabWidth);
    int x = 0;
    int y = 0;
    for (const QString& caption : captions_) {
        int w = std::max(metrics.horizontalAdvance(caption) + kTextPadding, kMinTabWidth);
        w = std::min(w, width);
        if (x > 0 && x + w > width) {
            x = 0;
            y += kTabHeight + kGap;
        }
        rects.emplace_back(x, y, w, kTabHeight);
        x += w + kGap;
    }
    return rects;
}

int TabStrip::heightForWidth(int width) const {
    const auto rects = layoutFor(width);
    return rects.empty() ? 0 : rects.back().bottom() + 1;
}

QSize TabStrip::sizeHint() const {
    return {200, heightForWidth(width() > 0 ? width() : 200)};
}

QSize TabStrip::minimumSizeHint() const {
    return {kMinTabWidth, heightForWidth(width() > 0 ? width() : kMinTabWidth)};
}

void TabStrip::relayout() {
    rects_ = layoutFor(width());
    const int h = rects_.empty() ? 0 : rects_.back().bottom() + 1;
    if (h != height())
        updateGeometry();
    update();
}

void TabStrip::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    relayout();
}

void TabStrip::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        relayout();
}

void TabStrip::setMarker(const QRect& marker) {
    if (marker == marker_)
        return;
    marker_ = marker;
    update();
}

void TabStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    for (int i = 0; i < count(); ++i)
        drawTab(painter, i, tabRect(i), i == current_);
    if (!marker_.isEmpty())
        painter.fillRect(marker_, Qt::black);
}

// A vertical gradient from the button face down to a light violet grey, the caption in black
// on it. The active tab's text sits further in and lower, as on a raised tab.
void TabStrip::drawTab(QPainter& painter, int index, const QRect& rect, bool active) const {
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0, palette().color(QPalette::Active, QPalette::Button));
    gradient.setColorAt(1, QColor(198, 196, 202));
    painter.fillRect(rect, gradient);

    const QPoint origin =
        active ? QPoint(rect.left() + 7, rect.top() + 5) : QPoint(rect.left() + 4, rect.top());
    painter.save();
    painter.setClipRect(rect);
    painter.setPen(Qt::black);
    painter.setFont(font());
    painter.drawText(QRect(origin, rect.bottomRight()), Qt::AlignLeft | Qt::AlignTop,
                     captions_.at(index));
    painter.restore();
}

void TabStrip::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        const int index = tabAt(pos);
        if (index >= 0 && index != current_)
            Q_EMIT tabSelected(index);
    }
    Q_EMIT mouseDown(event->button(), pos);
    event->accept();
}

void TabStrip::beginDrag(QPoint start, int threshold) {
    dragState_ = DragState::Pending;
    dragStart_ = start;
    dragThreshold_ = threshold;
}

void TabStrip::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (dragState_ == DragState::Pending) {
        if (std::abs(pos.x() - dragStart_.x()) < dragThreshold_ &&
            std::abs(pos.y() - dragStart_.y()) < dragThreshold_)
            return;
        dragState_ = DragState::Dragging;
        setCursor(Qt::DragMoveCursor);
    }
    if (dragState_ == DragState::Dragging)
        Q_EMIT dragOver(pos);
}

void TabStrip::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const bool dropped = dragState_ == DragState::Dragging;
    endDrag();
    if (dropped)
        Q_EMIT dragDrop(event->position().toPoint());
}

void TabStrip::endDrag() {
    dragState_ = DragState::None;
    unsetCursor();
    clearMarker();
}

} // namespace browser
