#pragma once

#include <QLayout>
#include <QList>

namespace app {

// Lays its items out left to right and starts a new row when the next item does not fit.
// Items that are hidden take no room.
class FlowLayout : public QLayout {
public:
    explicit FlowLayout(QWidget* parent = nullptr);
    ~FlowLayout() override;

    void addItem(QLayoutItem* item) override;
    void insertWidgetAt(int index, QWidget* widget);
    int count() const override { return static_cast<int>(items_.size()); }
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;

    Qt::Orientations expandingDirections() const override { return {}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize minimumSize() const override;
    QSize sizeHint() const override;
    void setGeometry(const QRect& rect) override;

private:
    int doLayout(const QRect& rect, bool apply) const;

    QList<QLayoutItem*> items_;
};

} // namespace app
