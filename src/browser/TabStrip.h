#pragma once

#include <QPoint>
#include <QRect>
#include <QStringList>
#include <QWidget>
#include <vector>

namespace browser {

// The tabs of the tab control, drawn by the program and laid out in as many rows as they
// need (Qt's own tab bar scrolls instead of wrapping).
//
// A left press selects the tab under the mouse, then reports the press; the owner may start
// a drag, which follows the mouse once it has moved far enough and reports where it passes
// and where it is dropped. The strip draws the marker line the owner asks for.
class TabStrip : public QWidget {
    Q_OBJECT
public:
    explicit TabStrip(QWidget* parent = nullptr);

    void setCaptions(const QStringList& captions);
    QStringList captions() const { return captions_; }
    void setCurrentIndex(int index);
    int currentIndex() const { return current_; }

    int count() const { return static_cast<int>(captions_.size()); }
    // In the strip's coordinates; empty for an index out of range.
    QRect tabRect(int index) const;
    // The first tab whose rectangle holds pos, or -1.
    int tabAt(QPoint pos) const;

    // A drag of the strip that begins once the mouse, still pressed, has moved threshold
    // pixels away from start along either axis.
    void beginDrag(QPoint start, int threshold);
    bool isDragging() const { return dragState_ == DragState::Dragging; }

    void setMarker(const QRect& marker);
    void clearMarker() { setMarker(QRect()); }
    QRect marker() const { return marker_; }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    static constexpr int kTabHeight = 20;

Q_SIGNALS:
    // A left press on a tab that is not the current one.
    void tabSelected(int index);
    void mouseDown(Qt::MouseButton button, QPoint pos);
    void dragOver(QPoint pos);
    void dragDrop(QPoint pos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    std::vector<QRect> layoutFor(int width) const;
    void relayout();
    void drawTab(QPainter& painter, int index, const QRect& rect, bool active) const;
    void endDrag();

    enum class DragState { None, Pending, Dragging };

    QStringList captions_;
    int current_ = -1;
    std::vector<QRect> rects_;
    QRect marker_;
    DragState dragState_ = DragState::None;
    QPoint dragStart_;
    int dragThreshold_ = 0;
};

} // namespace browser
