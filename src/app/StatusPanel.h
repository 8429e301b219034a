#pragma once

#include <QWidget>

namespace app {

// The status bar's text panel. The browser reports a new status with every load and every
// hovered link; a label would ask the whole window to lay itself out again each time, in the
// middle of the navigation that the message is about. The panel keeps its size and repaints.
class StatusPanel : public QWidget {
    Q_OBJECT
public:
    explicit StatusPanel(QWidget* parent = nullptr);

    QString text() const { return text_; }
    void setText(const QString& text);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
};

} // namespace app
